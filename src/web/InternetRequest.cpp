#include "web/InternetRequest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/NoCase.h"
#include "web/InternetErrors.h"

namespace qn {
namespace {

// Body bytes held ahead of the reader before the transfer is paused.
constexpr std::size_t kReadAhead = 1 << 20;
// How long the transfer library waits for the network before a stop is looked at.
constexpr int kPollSliceMs = 100;

using Clock = std::chrono::steady_clock;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// The value of header `name` in `line`, if the line is that header.
std::optional<std::string_view> HeaderValue(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || line[name.size()] != ':' ||
      !EqualNoCase(line.substr(0, name.size()), name))
    return std::nullopt;
  return Trim(line.substr(name.size() + 1));
}

// Seconds from a Retry-After value: a number of seconds, or a date.
std::optional<long> ParseRetryAfter(std::string_view value) {
  if (!value.empty() &&
      std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return value.size() > 9 ? 999999999L : std::atol(std::string(value).c_str());
  const std::time_t when = curl_getdate(std::string(value).c_str(), nullptr);
  if (when == -1) return std::nullopt;
  return std::max<long>(0, static_cast<long>(when - std::time(nullptr)));
}

// A calendar date is usable only from year 1 to 2037.
std::optional<std::time_t> ValidDate(std::time_t t) {
  constexpr std::time_t kYear2038 = 2145916800;
  if (t == -1 || t >= kYear2038) return std::nullopt;
  return t;
}

}  // namespace

CQNInternetRequest::CQNInternetRequest(CQNInternetSession& session) : session_(session) {}

CQNInternetRequest::~CQNInternetRequest() {
  Detach();
  // The handle outlives this request: it must keep no pointers into it.
  if (CURL* h = session_.Easy()) {
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, nullptr);
  }
}

void CQNInternetRequest::Detach() {
  if (attached_) curl_multi_remove_handle(session_.Multi(), session_.Easy());
  attached_ = false;
}

std::size_t CQNInternetRequest::OnHeader(char* data, std::size_t size, std::size_t count,
                                         void* self) {
  auto* r = static_cast<CQNInternetRequest*>(self);
  r->lastActivity_ = Clock::now();
  if (r->parseHeaders_) r->HeaderLine(std::string_view(data, size * count));
  return size * count;
}

std::size_t CQNInternetRequest::OnBody(char* data, std::size_t size, std::size_t count,
                                       void* self) {
  auto* r = static_cast<CQNInternetRequest*>(self);
  const std::size_t n = size * count;
  r->lastActivity_ = Clock::now();
  if (r->discardBody_) return n;
  if (r->buffer_.size() - r->readPos_ >= kReadAhead) {
    r->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  r->buffer_.insert(r->buffer_.end(), data, data + n);
  r->bodyStarted_ = true;
  return n;
}

void CQNInternetRequest::HeaderLine(std::string_view line) {
  if (line.starts_with("HTTP/")) {
    // A new answer (after an interim answer or a redirection) replaces the last one.
    const std::size_t space = line.find(' ');
    status_ = space == std::string_view::npos
                  ? 0
                  : std::atoi(std::string(line.substr(space + 1, 3)).c_str());
    ResetAnswer();
    return;
  }
  if (auto v = HeaderValue(line, "Content-Length")) {
    char* end = nullptr;
    const std::string text(*v);
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() && *end == '\0' && n >= 0 && !chunked_) contentLength_ = n;
  } else if (auto v = HeaderValue(line, "Transfer-Encoding")) {
    // A chunked body's length is not the announced one.
    if (FindNoCase(*v, "chunked") != std::string_view::npos) {
      chunked_ = true;
      contentLength_ = -1;
    }
  } else if (auto v = HeaderValue(line, "Last-Modified")) {
    lastModified_ = ValidDate(curl_getdate(std::string(*v).c_str(), nullptr));
  } else if (auto v = HeaderValue(line, "Content-Type")) {
    contentType_ = std::string(*v);
  } else if (auto v = HeaderValue(line, "ETag")) {
    etag_ = std::string(*v);
  } else if (auto v = HeaderValue(line, "Content-Encoding")) {
    encoded_ = decoding_ && !v->empty() && !EqualNoCase(*v, "identity");
  } else if (auto v = HeaderValue(line, "Retry-After")) {
    retryAfter_ = ParseRetryAfter(*v);
  }
}

void CQNInternetRequest::ResetAnswer() {
  contentLength_ = -1;
  chunked_ = false;
  lastModified_.reset();
  contentType_.clear();
  etag_.clear();
  retryAfter_.reset();
  encoded_ = false;
}

// Every option that differs between requests is set each time: resetting the handle
// instead would lose the cookie engine.
void CQNInternetRequest::SetOptions(const QNRequestSpec& spec) {
  CURL* h = session_.Easy();
  const QNSessionConfig& cfg = session_.Config();
  const bool http = spec.service != QNService::Ftp;
  curl_easy_setopt(h, CURLOPT_URL, spec.url.c_str());
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &CQNInternetRequest::OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &CQNInternetRequest::OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, this);

  // An empty proxy also keeps the proxy variables of the environment out.
  const std::string& proxy = !http && !cfg.ftpProxy.empty() ? cfg.ftpProxy : cfg.proxy;
  const bool proxyLogin = !proxy.empty() && !cfg.proxyUser.empty();
  curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, proxyLogin ? cfg.proxyUser.c_str() : nullptr);
  curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, proxyLogin ? cfg.proxyPassword.c_str() : nullptr);
  const bool login = !spec.user.empty();
  curl_easy_setopt(h, CURLOPT_USERNAME, login ? spec.user.c_str() : nullptr);
  curl_easy_setopt(h, CURLOPT_PASSWORD, login ? spec.password.c_str() : nullptr);

  parseHeaders_ = http;
  if (!http) {
    curl_easy_setopt(h, CURLOPT_NOBODY, spec.infoOnly ? 1L : 0L);
    return;
  }
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, spec.followRedirects ? 1L : 0L);
  curl_easy_setopt(h, CURLOPT_REFERER, spec.referrer.empty() ? nullptr : spec.referrer.c_str());
  // "" asks for every encoding the library decodes (gzip, deflate, br): saved files
  // hold the decoded bytes, also when a server compresses without being asked.
  decoding_ = !spec.keepEncoding;
  curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, decoding_ ? "" : nullptr);
  curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, decoding_ ? 1L : 0L);
  std::vector<std::string> lines = {"Accept: */*",
                                    // The library would announce larger bodies with
                                    // "Expect"; the program never did.
                                    "Expect:"};
  if (spec.post) lines.emplace_back("Content-Type: application/x-www-form-urlencoded");
  if (spec.ifModifiedSince)
    lines.push_back("If-Modified-Since: " + HttpDate(*spec.ifModifiedSince));
  if (!spec.ifNoneMatch.empty()) lines.push_back("If-None-Match: " + spec.ifNoneMatch);
  curl_slist* list = nullptr;
  for (const std::string& line : lines) {
    curl_slist* longer = curl_slist_append(list, line.c_str());
    if (longer == nullptr) break;
    list = longer;
  }
  headers_.reset(list);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers_.get());
  if (spec.post) {
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(spec.body.size()));
    curl_easy_setopt(h, CURLOPT_COPYPOSTFIELDS, spec.body.c_str());
  } else {
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  }
}

int CQNInternetRequest::Send(const QNRequestSpec& spec) {
  Detach();
  CURL* h = session_.Easy();
  if (h == nullptr) return kInetInternalError;
  done_ = paused_ = bodyStarted_ = parseHeaders_ = false;
  discardBody_ = spec.infoOnly;
  result_ = CURLE_OK;
  error_ = 0;
  buffer_.clear();
  readPos_ = 0;
  status_ = 0;
  ResetAnswer();
  cancelled_ = spec.cancelled;
  SetOptions(spec);

  if (curl_multi_add_handle(session_.Multi(), h) != CURLM_OK) return kInetInternalError;
  attached_ = true;
  lastActivity_ = Clock::now();
  WaitUntil([this] { return bodyStarted_; });
  if (!bodyStarted_ && result_ != CURLE_OK) return error_;

  if (spec.service == QNService::Ftp) {
    curl_off_t length = -1;
    curl_off_t filetime = -1;
    curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    curl_easy_getinfo(h, CURLINFO_FILETIME_T, &filetime);
    contentLength_ = length;
    lastModified_ = ValidDate(static_cast<std::time_t>(filetime));
  } else {
    long code = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
    status_ = static_cast<int>(code);
  }
  return 0;
}

std::string CQNInternetRequest::RedirectUrl() const {
  const char* target = nullptr;
  if (CURL* h = session_.Easy()) curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &target);
  return target != nullptr ? std::string(target) : std::string();
}

void CQNInternetRequest::CollectResult() {
  int queued = 0;
  while (CURLMsg* msg = curl_multi_info_read(session_.Multi(), &queued)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == session_.Easy()) {
      done_ = true;
      result_ = msg->data.result;
      error_ = InternetErrorFromCurl(result_);
    }
  }
}

void CQNInternetRequest::Fail(CURLcode code) {
  done_ = true;
  result_ = code;
  error_ = InternetErrorFromCurl(code);
  // Leaving the transfer half done closes its connection.
  Detach();
}

bool CQNInternetRequest::WaitUntil(const std::function<bool()>& ready) {
  const int timeoutSec = session_.Config().timeoutSeconds;
  const auto started = Clock::now();
  while (!done_) {
    int running = 0;
    if (curl_multi_perform(session_.Multi(), &running) != CURLM_OK) {
      Fail(CURLE_RECV_ERROR);
      return true;
    }
    CollectResult();
    if (done_ || ready()) return true;
    if (cancelled_ && cancelled_()) {
      Fail(CURLE_ABORTED_BY_CALLBACK);
      return false;
    }
    if (timeoutSec > 0) {
      const auto idleSince = std::max(started, lastActivity_);
      if (Clock::now() - idleSince > std::chrono::seconds(timeoutSec)) {
        Fail(CURLE_OPERATION_TIMEDOUT);
        return false;
      }
    }
    curl_multi_poll(session_.Multi(), nullptr, 0, kPollSliceMs, nullptr);
  }
  return true;
}

std::int64_t CQNInternetRequest::WireReceived() const {
  curl_off_t received = 0;
  if (CURL* h = session_.Easy()) curl_easy_getinfo(h, CURLINFO_SIZE_DOWNLOAD_T, &received);
  return received;
}

long long CQNInternetRequest::Read(char* buffer, std::size_t n) {
  std::size_t filled = 0;
  while (filled < n) {
    const std::size_t available = buffer_.size() - readPos_;
    if (available > 0) {
      const std::size_t take = std::min(available, n - filled);
      std::memcpy(buffer + filled, buffer_.data() + readPos_, take);
      readPos_ += take;
      filled += take;
      if (readPos_ == buffer_.size()) {
        buffer_.clear();
        readPos_ = 0;
      }
      continue;
    }
    if (paused_ && attached_) {
      paused_ = false;
      // Resuming may hand over the held bytes at once.
      curl_easy_pause(session_.Easy(), CURLPAUSE_CONT);
      continue;
    }
    if (done_) break;
    const std::size_t before = buffer_.size();
    WaitUntil([this, before] { return buffer_.size() != before || paused_; });
  }
  if (filled > 0) return static_cast<long long>(filled);
  return result_ == CURLE_OK ? 0 : -1;
}

std::string HttpDate(std::time_t t) {
  // Fixed English names: the header is read by servers, not people, and no locale
  // may change it.
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[tm.tm_wday % 7],
                tm.tm_mday, kMonths[tm.tm_mon % 12], tm.tm_year + 1900, tm.tm_hour, tm.tm_min,
                tm.tm_sec);
  return text;
}

}  // namespace qn
