#include "web/Fetcher.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "seams/RunControl.h"
#include "settings/ProjectSettings.h"
#include "text/MessageIds.h"
#include "text/SizeText.h"
#include "web/Address.h"
#include "web/CrawlShared.h"
#include "web/Forms.h"
#include "web/InternetErrors.h"
#include "web/InternetOptions.h"
#include "web/InternetRequest.h"
#include "web/LocalFile.h"
#include "web/SizeTests.h"

namespace qn {
namespace {

constexpr const char* kOpening = "Opening...";

constexpr int kErrLocalFile = -1;
constexpr int kErrNoFileAddress = -2;
constexpr int kErrSizeMismatch = -3;

constexpr int kHttpOk = 200;
constexpr int kHttpNotModified = 304;
constexpr int kHttpNotFound = 404;
constexpr int kHttpTooManyRequests = 429;
constexpr int kHttpUnavailable = 503;
constexpr int kMaxRedirects = 30;
// The shortest and the longest time-out a project may set, in seconds.
constexpr int kMinTimeout = 10;
constexpr int kMaxTimeout = 600;
constexpr int kUpdateWhenChanged = 0;
constexpr int kUpdateAlways = 1;
constexpr int kUpdateNever = 2;
// How often one file waits for a server that asks for a pause, and how long at most.
constexpr int kMaxServerPauses = 5;
constexpr long kMaxRetryAfterSeconds = 120;
constexpr std::size_t kCopyBlock = 10240;
constexpr std::size_t kChunkUnit = 1024;
constexpr const char* kFallbackAgent = "Mozilla/4.0";

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The server an address is on, as the pace and robots.txt of a run know it.
std::string ServerKey(const QNCrackedUrl& url) {
  const char* scheme = url.service == QNService::Https ? "https://"
                       : url.service == QNService::Ftp ? "ftp://"
                                                       : "http://";
  return scheme + ToLower(url.server) + ":" + std::to_string(url.port);
}

// The path and query of a request address, as robots.txt rules name them.
std::string_view RequestPath(std::string_view requestUrl) {
  const std::size_t authority = requestUrl.find("://");
  const std::size_t path =
      requestUrl.find('/', authority == std::string_view::npos ? 0 : authority + 3);
  return path == std::string_view::npos ? std::string_view("/") : requestUrl.substr(path);
}

// Whether a local file name says the file itself is compressed: its bytes are kept
// as sent rather than decoded, so that "x.tar.gz" stays a gzip file.
bool NamesCompressedFile(std::string_view localPath) {
  const std::size_t dot = localPath.rfind('.');
  if (dot == std::string_view::npos ||
      FindLastSeparator(localPath.substr(dot)) != std::string_view::npos)
    return false;
  const std::string_view extension = localPath.substr(dot + 1);
  for (std::string_view compressed : {"gz", "tgz", "svgz", "z", "br", "zst"})
    if (EqualNoCase(extension, compressed)) return true;
  return false;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

struct CQNFetcher::Announced {
  std::uint64_t size = 0;  // 0: not announced
  // Bytes on the wire when the body comes compressed (its decoded size is not
  // announced): what the progress shows.
  std::uint64_t wireSize = 0;
  bool encoded = false;  // the body comes compressed
  std::optional<std::time_t> modified;
  bool text = false;        // the server calls it text
  bool html = false;        // the local name makes it an HTML page
  bool parsedText = false;  // an HTML text: zero bytes become blanks
  bool checked = false;     // the size limits apply to this file
  bool judged = false;      // its announced size has been judged already
};

struct CQNFetcher::Transfer {
  std::uint64_t received = 0;
  bool stopped = false;
  bool aborted = false;
  bool readFailed = false;
  bool writeFailed = false;
  bool overLimit = false;
};

QNSessionConfig SessionConfigFor(const QNFetchContext& context) {
  const QNInternetOptions& o = context.options;
  QNSessionConfig cfg;
  cfg.agent = CutToBuffer(context.settings.GetAgentId());
  if (cfg.agent.empty()) cfg.agent = kFallbackAgent;
  if (o.UseProxy && !o.ProxyAddress.empty()) {
    cfg.proxy = o.ProxyAddress + ":" + std::to_string(o.ProxyPort);
    if (!o.FtpProxyAddress.empty())
      cfg.ftpProxy = o.FtpProxyAddress + ":" + std::to_string(o.FtpProxyPort);
    if (!o.ProxyUserID.empty() && !o.ProxyPassword.empty()) {
      cfg.proxyUser = o.ProxyUserID;
      cfg.proxyPassword = o.ProxyPassword;
    }
  }
  // A time-out of 0 would let a server that stops sending hold a worker for ever.
  cfg.timeoutSeconds = std::clamp(context.settings.QN_TIMEOUT, kMinTimeout, kMaxTimeout);
  cfg.caFile = o.caFile;
  if (context.crawl)
    cfg.cookies = std::shared_ptr<CQNCookieJar>(context.crawl, &context.crawl->cookies);
  return cfg;
}

CQNFetcher::CQNFetcher(QNFetchContext context) : ctx_(std::move(context)) {}

bool CQNFetcher::OpenInternet(bool raiseLimits) {
  if (raiseLimits) RaiseConnectionLimits(savedLimits_);
  return session_.Open(SessionConfigFor(ctx_));
}

void CQNFetcher::CloseInternet(bool restoreLimits) {
  session_.Close();
  if (restoreLimits) RestoreConnectionLimits(savedLimits_);
}

void CQNFetcher::LogText(int id, int number, std::string_view text) {
  ctx_.log.WriteLine(LogKind::Text, ctx_.texts.Format(id, number, text));
}

void CQNFetcher::LogSizeRefusal(SizeVerdict verdict, std::string_view address, std::uint64_t size) {
  const int id = verdict == SizeVerdict::TooLarge ? kMsgTooLarge : kMsgTooSmall;
  ctx_.log.WriteLine(LogKind::Text,
                     ctx_.texts.Format(id, address, FormatSizeText(ctx_.texts, size)));
}

void CQNFetcher::PostRow(int worker, std::string_view address, std::uint64_t size,
                         std::string status) {
  QNStatus st;
  st.mask = QNStatus::kText1 | QNStatus::kText2 | QNStatus::kText3;
  st.text1 = std::string(address);
  st.text2 = FormatSizeText(ctx_.texts, size, true);
  st.text3 = std::move(status);
  st.worker = worker;
  st.address = st.text1;
  st.category = rowCategory_;
  st.size = size != 0 ? size : -1;
  ctx_.observer.OnStatus(st);
}

void CQNFetcher::PostProgress(int worker, std::string text, std::size_t bytes,
                              const Transfer& transfer, double seconds) {
  QNStatus st;
  st.mask = QNStatus::kText3 | QNStatus::kProgress;
  st.text3 = std::move(text);
  st.progress = static_cast<int>(bytes);
  st.worker = worker;
  st.received = static_cast<std::int64_t>(transfer.received);
  if (seconds > 0) st.bytesPerSecond = static_cast<double>(transfer.received) / seconds;
  ctx_.observer.OnStatus(st);
}

bool CQNFetcher::Interrupted(int worker) {
  if (!aborted_ && ctx_.run.TakeAbortFile(worker)) aborted_ = true;
  return aborted_ || ctx_.run.StopRequested();
}

bool CQNFetcher::SendFollowing(CQNInternetRequest& request, QNRequestSpec& spec,
                               std::string_view address, bool reportErrors, QNFetchResult& r) {
  // The library never follows a redirection itself: each target is checked first.
  spec.followRedirects = false;
  for (int hops = 0;; ++hops) {
    if (const int error = request.Send(spec)) {
      r.lastError = error;
      if (aborted_) return false;
      if (ctx_.run.StopRequested()) {
        r.stopped = true;
        return false;
      }
      r.retryAdvised = true;
      if (reportErrors) LogText(kMsgError, error, address);
      return false;
    }
    const int status = request.Status();
    const std::string target = request.RedirectUrl();
    if (!ctx_.options.Redirect || !IsRedirect(status) || target.empty() || hops >= kMaxRedirects)
      return true;
    const QNService service = CrackUrl(target).service;
    const bool web = service == QNService::Http || service == QNService::Https;
    if (!web || (ctx_.redirectAllowed && !ctx_.redirectAllowed(target))) {
      // Not the address's fault in a way another try could mend.
      r.lastError = status;
      ctx_.log.WriteLine(LogKind::Text, ctx_.texts.Format(kMsgRedirectRefused, target, address));
      return false;
    }
    spec.url = target;
    // A form sent again after 301, 302 or 303 becomes a plain request, as browsers do.
    if (status != 307 && status != 308) {
      spec.post = false;
      spec.body.clear();
    }
  }
}

QNFetchResult CQNFetcher::FetchToFile(std::string_view address, const std::string& localPath,
                                      int worker, bool reportErrors, std::string_view referrer,
                                      std::uint64_t recordedSize, int category,
                                      std::string_view etag) {
  aborted_ = false;
  rowCategory_ = category != 0
                     ? category
                     : ClassifyAddress(address, ctx_.settings.QN_FILE_EXT, false).category;
  const QNCrackedUrl url = CrackUrl(address);
  switch (url.service) {
    case QNService::None:
      return {};
    case QNService::File:
      return CopyLocalFile(address, localPath, worker);
    default:
      return FetchRemote(url, address, localPath, worker, reportErrors, referrer, recordedSize,
                         etag);
  }
}

CQNServerPacing::Ticket CQNFetcher::EnterServer(const QNCrackedUrl& url, int worker) {
  if (!ctx_.crawl) return {};
  return ctx_.crawl->pacing.Enter(ServerKey(url), [this, worker] { return Interrupted(worker); });
}

QNFetchResult CQNFetcher::FetchRemote(const QNCrackedUrl& url, std::string_view address,
                                      const std::string& localPath, int worker, bool reportErrors,
                                      std::string_view referrer, std::uint64_t recordedSize,
                                      std::string_view etag) {
  const CQNSettings& s = ctx_.settings;
  QNFetchResult r;
  if (s.QN_UMETHOD == kUpdateNever) {
    if (const auto size = LocalFileSize(localPath)) {
      r.ok = true;
      r.outcome = kKept;
      r.size = *size;
      r.etag = std::string(etag);
      return r;
    }
  }
  auto fail = [&](int error, bool retry, bool log) {
    r.lastError = error;
    r.retryAdvised = retry;
    if (log) LogText(kMsgError, error, address);
    return r;
  };
  if (!session_.IsOpen() && !session_.Open(SessionConfigFor(ctx_)))
    return fail(kInetInternalError, false, reportErrors);

  const bool ftp = url.service == QNService::Ftp;
  QNRequestSpec spec;
  spec.service = url.service;
  if (!s.QN_USER_ID.empty() && !s.QN_PASSWORD.empty()) {
    spec.user = s.QN_USER_ID;
    spec.password = s.QN_PASSWORD;
  }
  spec.followRedirects = ctx_.options.Redirect;
  std::string object = url.object;
  // An FTP path that names the user's own folder is taken from the login folder on.
  if (ftp && !spec.user.empty()) {
    if (const std::size_t at = object.find(spec.user); at != std::string::npos) {
      object.erase(0, at + spec.user.size());
      if (object.empty() || object.front() != '/') object.insert(0, 1, '/');
    }
  }

  spec.cancelled = [this, worker] { return Interrupted(worker); };

  PostRow(worker, address, 0, kOpening);
  CQNInternetRequest request(session_);
  CQNServerPacing::Ticket ticket;
  Announced announced;
  if (ftp) {
    spec.url = RequestUrl(url, object);
    spec.infoOnly = true;
    ticket = EnterServer(url, worker);
    if (ctx_.crawl && !ticket) {
      r.stopped = !aborted_;
      return r;
    }
    const int error = request.Send(spec);
    if (error != kInetNoError && Interrupted(worker)) {
      r.stopped = !aborted_;
      return r;
    }
    if (IsConnectionError(error)) return fail(error, false, reportErrors);
    // A refused listing leaves size and date unknown; opening the file tells the rest.
    if (error == kInetNoError) {
      announced.size =
          static_cast<std::uint64_t>(std::max<std::int64_t>(request.ContentLength(), 0));
      announced.modified = request.LastModified();
    }
  } else {
    const QNSubmission submission = SplitSubmission(object);
    spec.post = submission.post;
    spec.body = std::string(submission.body);
    spec.url = RequestUrl(url, submission.object);
    spec.referrer = std::string(referrer);
    spec.keepEncoding = NamesCompressedFile(localPath);
    if (s.QN_ROBOTS != 0 && ctx_.crawl) {
      const auto allowed = RobotsAllow(url, spec.url, worker);
      if (!allowed) {
        r.stopped = !aborted_;
        return r;
      }
      if (!*allowed) {
        r.outcome = kRefused;
        ctx_.log.WriteLine(LogKind::Text, ctx_.texts.Format(kMsgRobotsExcluded, address));
        return r;
      }
    }
    // "When Changed" asks the server to answer 304 while its file is the one saved.
    const auto localTime =
        s.QN_UMETHOD == kUpdateWhenChanged && !spec.post ? LocalFileTime(localPath) : std::nullopt;
    if (localTime) {
      spec.ifModifiedSince = localTime;
      spec.ifNoneMatch = std::string(etag);
    }
    int status = 0;
    for (int pauses = 0;; ++pauses) {
      ticket = EnterServer(url, worker);
      if (ctx_.crawl && !ticket) {
        r.stopped = !aborted_;
        return r;
      }
      if (!SendFollowing(request, spec, address, reportErrors, r)) return r;
      status = request.Status();
      const auto wait = request.RetryAfterSeconds();
      if ((status != kHttpTooManyRequests && status != kHttpUnavailable) || !wait ||
          pauses == kMaxServerPauses)
        break;
      // The server that answered asked for a pause: nobody of this run asks it again
      // before then.
      const std::string server = ServerKey(CrackUrl(spec.url));
      const long seconds = std::clamp<long>(*wait, 1, kMaxRetryAfterSeconds);
      ctx_.log.WriteLine(LogKind::Text,
                         ctx_.texts.Format(kMsgServerPause, server, seconds, status));
      ticket = CQNServerPacing::Ticket();
      const auto until = CQNServerPacing::Clock::now() + std::chrono::seconds(seconds);
      if (ctx_.crawl) ctx_.crawl->pacing.PauseUntil(server, until);
      if (!WaitUnlessStopped(until, [this, worker] { return Interrupted(worker); })) {
        r.stopped = !aborted_;
        return r;
      }
    }
    if (status == kHttpNotModified && localTime) {
      r.ok = true;
      r.outcome = kKept;
      r.size = LocalFileSize(localPath).value_or(recordedSize);
      r.etag = request.ETag().empty() ? std::string(etag) : request.ETag();
      PostRow(worker, address, r.size, ctx_.texts.Text(kMsgUnchanged));
      return r;
    }
    if (status != kHttpOk) {
      r.lastError = status;
      r.retryAdvised = status != kHttpNotFound;
      if (status == kHttpNotFound || reportErrors)
        ctx_.log.WriteLine(LogKind::Text, ctx_.texts.Format(kMsgHttpError, status, address));
      return r;
    }
    announced.size = static_cast<std::uint64_t>(std::max<std::int64_t>(request.ContentLength(), 0));
    announced.wireSize =
        static_cast<std::uint64_t>(std::max<std::int64_t>(request.WireLength(), 0));
    announced.encoded = request.Encoded();
    announced.modified = request.LastModified();
    announced.text = request.ContentType().find("text/") != std::string::npos;
    r.etag = request.ETag();
  }
  r.size = announced.size;
  r.modified = announced.modified;

  r.outcome = Decide(announced, address, localPath, worker, recordedSize);
  if (r.outcome == kRefused) return r;
  if (r.outcome == kKept) {
    r.ok = true;
    return r;
  }

  if (ftp) {
    spec.infoOnly = false;
    // A folder is no file to open; the listing the library would send is not wanted.
    const int error = object.back() == '/' ? kInetExtendedError : request.Send(spec);
    if (error != kInetNoError && Interrupted(worker)) {
      r.stopped = !aborted_;
      return r;
    }
    if (error != kInetNoError) return fail(error, true, reportErrors);
  }

  return Store(request, announced, address, localPath, worker, reportErrors, r);
}

std::optional<bool> CQNFetcher::RobotsAllow(const QNCrackedUrl& url, std::string_view requestUrl,
                                            int worker) {
  const auto rules = ctx_.crawl->robots.RulesFor(
      ServerKey(url), [&] { return FetchRobots(url); },
      [this, worker] { return Interrupted(worker); });
  // Rules read while the run stopped are no verdict on the file.
  if (!rules || ctx_.run.StopRequested()) return std::nullopt;
  return rules->Allows(RequestPath(requestUrl));
}

CQNRobotsRules CQNFetcher::FetchRobots(const QNCrackedUrl& url) {
  // The rules serve the whole run: only its stop, not one file's abort, cuts them short.
  const auto stop = [this] { return ctx_.run.StopRequested(); };
  const std::string where = ServerKey(url);
  auto unreadable = [&](int error) {
    // A server that cannot say what it allows is taken to allow nothing.
    if (!stop())
      ctx_.log.WriteLine(LogKind::Text, ctx_.texts.Format(kMsgRobotsUnreadable, where, error));
    return CQNRobotsRules::RefuseAll();
  };
  QNRequestSpec spec;
  spec.service = url.service;
  spec.url = RequestUrl(url, "/robots.txt");
  if (!ctx_.settings.QN_USER_ID.empty() && !ctx_.settings.QN_PASSWORD.empty()) {
    spec.user = ctx_.settings.QN_USER_ID;
    spec.password = ctx_.settings.QN_PASSWORD;
  }
  spec.cancelled = stop;
  const CQNServerPacing::Ticket ticket = ctx_.crawl->pacing.Enter(where, stop);
  if (!ticket) return CQNRobotsRules::RefuseAll();
  CQNInternetRequest request(session_);
  if (const int error = request.Send(spec)) return unreadable(error);
  const int status = request.Status();
  // No robots.txt (or none for this agent to read) leaves every file allowed.
  if (status >= 400 && status < 500 && status != kHttpTooManyRequests) return CQNRobotsRules();
  if (status != kHttpOk) return unreadable(status);
  std::string text;
  std::vector<char> chunk(16 * kChunkUnit);
  while (text.size() < kMaxRobotsSize) {
    const long long got = request.Read(chunk.data(), chunk.size());
    if (got < 0) return unreadable(request.Error());
    if (got == 0) break;
    text.append(chunk.data(), static_cast<std::size_t>(got));
  }
  return CQNRobotsRules::Parse(text, RobotsProductToken(session_.Config().agent));
}

// Transfers the body into the local file and judges what arrived. The file takes its
// name only when it is complete; on every other way out it is removed and an older
// copy under that name stays as it was.
QNFetchResult CQNFetcher::Store(CQNInternetRequest& request, const Announced& announced,
                                std::string_view address, const std::string& localPath, int worker,
                                bool reportErrors, QNFetchResult r) {
  const CQNSettings& s = ctx_.settings;
  CQNOutputFile file;
  if (!file.Create(localPath)) {
    r.lastError = kErrLocalFile;
    LogText(kMsgError, kErrLocalFile, localPath);
    return r;
  }
  Transfer t = Receive(request, file, announced, address, worker);
  if (!file.Close()) t.writeFailed = true;

  if (t.writeFailed) {
    ctx_.log.WriteLine(LogKind::Text, file.DiskFull()
                                          ? ctx_.texts.Text(kMsgDiskFull)
                                          : ctx_.texts.Format(kMsgWriteError, localPath));
    ctx_.run.RequestStop();
  }
  if (t.stopped || t.writeFailed) {
    r.stopped = true;
    return r;
  }
  if (t.aborted) return r;

  // A page cut at the size limit is kept for the links in it (the size check after
  // the scan rejects it, by the same test), and the log tells that it was cut; any
  // other file over the limit is refused. A file whose size was not announced is
  // judged by the bytes that arrived.
  SizeVerdict verdict = SizeVerdict::Ok;
  if (t.overLimit) {
    if (announced.html)
      LogSizeRefusal(SizeVerdict::TooLarge, address, t.received);
    else
      verdict = SizeVerdict::TooLarge;
  } else {
    const bool mismatch = announced.size != 0 && t.received != announced.size;
    if (mismatch || t.readFailed) {
      r.retryAdvised = true;
      r.lastError = mismatch ? kErrSizeMismatch : request.Error();
      if (reportErrors) LogText(kMsgError, r.lastError, address);
      return r;
    }
    if (announced.checked && !announced.judged)
      verdict = PreDownloadSizeDecision(s, static_cast<std::int64_t>(t.received), localPath, 0);
  }
  if (verdict == SizeVerdict::TooLarge || verdict == SizeVerdict::TooSmall) {
    r.outcome = kRefused;
    r.size = t.received;
    LogSizeRefusal(verdict, address, r.size);
    return r;
  }

  if (!file.Commit(announced.modified)) {
    r.lastError = kErrLocalFile;
    LogText(kMsgError, kErrLocalFile, localPath);
    return r;
  }
  r.size = LocalFileSize(localPath).value_or(t.received);
  r.ok = true;
  return r;
}

int CQNFetcher::Decide(Announced& announced, std::string_view address, const std::string& localPath,
                       int worker, std::uint64_t recordedSize) {
  const CQNSettings& s = ctx_.settings;
  const bool html = ClassifyAddress(localPath, s.QN_FILE_EXT, false).category == kCatHtml;
  announced.html = html;
  announced.parsedText = announced.text && html;
  if (ctx_.run.DownloadKind() == kKindSelected || (announced.parsedText && s.QN_DIRSTR == 2))
    return kTransferred;

  const bool preview = ctx_.run.IsPreview();
  if (preview && !html) return kKept;
  // Pages are judged by their size after they have been scanned, and a preview keeps
  // the pages it fetches; any other file is judged now if its size is known.
  announced.checked = !preview;
  announced.judged = preview || html;
  if (!announced.judged && announced.size != 0) {
    announced.judged = true;
    const SizeVerdict v =
        PreDownloadSizeDecision(s, static_cast<std::int64_t>(announced.size), localPath, 0);
    if (v == SizeVerdict::TooLarge || v == SizeVerdict::TooSmall) {
      LogSizeRefusal(v, address, announced.size);
      return kRefused;
    }
  }
  if (!PassesDiskSpace(s, ctx_.run.ByteTotal())) return kRefused;

  if (s.QN_UMETHOD != kUpdateAlways) {
    if (const auto localSize = LocalFileSize(localPath)) {
      bool unchanged = s.QN_UMETHOD == kUpdateNever;
      if (!unchanged) {
        const std::uint64_t size = recordedSize != 0 ? recordedSize : *localSize;
        const auto localTime = LocalFileTime(localPath);
        const bool sameDate =
            announced.modified && localTime &&
            std::llabs(static_cast<long long>(*localTime - *announced.modified)) <= 1;
        // A compressed answer does not tell the size of the file: its date must.
        unchanged = announced.encoded ? sameDate
                                      : size == announced.size && (!announced.modified || sameDate);
      }
      if (unchanged) {
        PostRow(worker, address, announced.size, ctx_.texts.Text(kMsgUnchanged));
        return kKept;
      }
    }
  }
  PostRow(worker, address, announced.size != 0 ? announced.size : announced.wireSize,
          ctx_.texts.Text(kMsgDownloading));
  return kTransferred;
}

CQNFetcher::Transfer CQNFetcher::Receive(CQNInternetRequest& request, CQNOutputFile& file,
                                         const Announced& announced, std::string_view address,
                                         int worker) {
  Transfer t;
  // Whatever a server sends, a file grows no further than the size limit; only a run
  // that takes selected files as they are trusts the size a server announced.
  const bool capped = announced.checked || announced.size == 0;
  auto overLimit = [&](std::uint64_t n) {
    return ExceedsMaxSize(ctx_.settings, static_cast<std::int64_t>(n), address);
  };
  std::vector<char> chunk(10 * kChunkUnit);
  const auto started = std::chrono::steady_clock::now();
  for (;;) {
    const int speed = std::clamp(ctx_.run.SpeedLevel(), 1, 10);
    const long long got =
        Interrupted(worker)
            ? -1
            : request.Read(chunk.data(), static_cast<std::size_t>(speed) * kChunkUnit);
    if (got < 0) {
      if (aborted_)
        t.aborted = true;
      else if (ctx_.run.StopRequested())
        t.stopped = true;
      else
        t.readFailed = true;
      break;
    }
    if (got == 0) break;
    if (speed < 10) std::this_thread::sleep_for(std::chrono::milliseconds((10 - speed) * 20));
    if (announced.parsedText) std::replace(chunk.begin(), chunk.begin() + got, '\0', ' ');
    if (!file.Write(chunk.data(), static_cast<std::size_t>(got))) {
      t.writeFailed = true;
      break;
    }
    t.received += static_cast<std::uint64_t>(got);
    const std::uint64_t whole = announced.size != 0 ? announced.size : announced.wireSize;
    const std::uint64_t done =
        announced.size != 0 ? t.received : static_cast<std::uint64_t>(request.WireReceived());
    std::string percent;
    if (whole != 0)
      percent = std::to_string(std::min<std::uint64_t>(done * 100 / whole, 100)) + " %";
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
    PostProgress(worker, std::move(percent), static_cast<std::size_t>(got), t, seconds.count());
    // More bytes than announced fail the length check; no need to wait for the rest.
    if (announced.size != 0 && t.received > announced.size) break;
    if (capped && overLimit(t.received)) {
      t.overLimit = true;
      break;
    }
  }
  return t;
}

QNFetchResult CQNFetcher::CopyLocalFile(std::string_view address, const std::string& localPath,
                                        int worker) {
  QNFetchResult r;
  auto fail = [&](int error, std::string_view text) {
    r.lastError = error;
    LogText(kMsgError, error, text);
    return r;
  };
  const std::optional<std::string> source = FileAddressToPath(address);
  if (!source) return fail(kErrNoFileAddress, address);

  std::error_code ec;
  if (*source == localPath || std::filesystem::equivalent(*source, localPath, ec)) {
    // The address is the local file itself: nothing to copy, and nothing to destroy.
    const auto size = LocalFileSize(localPath);
    if (!size) return fail(kErrLocalFile, *source);
    r.ok = true;
    r.size = *size;
    r.modified = LocalFileTime(localPath);
    return r;
  }

  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> in(std::fopen(source->c_str(), "rb"));
  if (!in) return fail(kErrLocalFile, *source);
  CQNOutputFile out;
  if (!out.Create(localPath)) return fail(kErrLocalFile, localPath);

  std::vector<char> block(kCopyBlock);
  for (;;) {
    if (Interrupted(worker)) {
      r.stopped = !aborted_;
      return r;
    }
    const std::size_t n = std::fread(block.data(), 1, block.size(), in.get());
    if (n == 0) break;
    if (!out.Write(block.data(), n)) break;
  }
  const bool readError = std::ferror(in.get()) != 0;
  if (!out.Close() || out.Error() != 0) {
    ctx_.log.WriteLine(LogKind::Text, out.DiskFull()
                                          ? ctx_.texts.Text(kMsgDiskFull)
                                          : ctx_.texts.Format(kMsgWriteError, localPath));
    ctx_.run.RequestStop();
    r.stopped = true;
    return r;
  }
  if (readError) return fail(kErrLocalFile, *source);
  r.modified = LocalFileTime(*source);
  if (!out.Commit(r.modified)) return fail(kErrLocalFile, localPath);
  r.size = LocalFileSize(localPath).value_or(0);
  r.ok = true;
  return r;
}

int ContentTypeCategory(std::string_view contentType) {
  const std::size_t slash = contentType.find('/');
  const std::string_view type = TrimBlanks(contentType.substr(0, slash));
  std::string_view subtype =
      slash == std::string_view::npos ? std::string_view() : contentType.substr(slash + 1);
  subtype = TrimBlanks(subtype.substr(0, subtype.find(';')));
  if (EqualNoCase(type, "text")) return EqualNoCase(subtype, "plain") ? kCatDocument : kCatHtml;
  if (EqualNoCase(type, "image")) return kCatImage;
  if (EqualNoCase(type, "audio")) return kCatAudio;
  if (EqualNoCase(type, "video")) return kCatVideo;
  if (EqualNoCase(type, "application"))
    return EqualNoCase(subtype, "zip") ? kCatArchive : kCatOther;
  return kCatNone;
}

int ProbeContentType(std::string_view address, const QNFetchContext& context) {
  const QNCrackedUrl url = CrackUrl(address);
  if (url.service != QNService::Http && url.service != QNService::Https) return kCatNone;
  CQNInternetSession session;
  if (!session.Open(SessionConfigFor(context))) return kCatNone;
  QNRequestSpec spec;
  spec.service = url.service;
  spec.url = RequestUrl(url, url.object);
  spec.followRedirects = context.options.Redirect;
  const CQNSettings& s = context.settings;
  if (!s.QN_USER_ID.empty() && !s.QN_PASSWORD.empty()) {
    spec.user = s.QN_USER_ID;
    spec.password = s.QN_PASSWORD;
  }
  spec.cancelled = [&context] { return context.run.StopRequested(); };
  // The request is closed as soon as the headers are in: no body is read.
  CQNInternetRequest request(session);
  if (request.Send(spec) != kInetNoError) return kCatNone;
  return ContentTypeCategory(request.ContentType());
}

}  // namespace qn
