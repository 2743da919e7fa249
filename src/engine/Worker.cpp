#include "engine/Worker.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/Doc.h"
#include "engine/RunErrors.h"
#include "engine/SitePosition.h"
#include "storage/ReportEntry.h"
#include "text/MessageIds.h"
#include "text/SizeText.h"
#include "web/Address.h"
#include "web/LocalFile.h"

namespace qn {
namespace {

constexpr int kPausePollMs = 500;
constexpr int kIdlePollMs = 1000;
// The primary does not sleep while others are busy; this short pause keeps it from
// asking the queue without a break. Every pause ends early when the run wakes its
// workers, and the primary's when another worker finds nothing to do.
constexpr int kPrimaryPauseMs = 20;
// The error number of a local file that cannot be made, as the fetcher reports it.
constexpr int kErrNoLocalFile = -1;

}  // namespace

// Runs during the fetch, outside the gate: it reads only what HandleAddress copied.
bool QNWorker::RedirectAllowed(const std::string& target) const {
  // The start page is the user's own choice, wherever its server sends it.
  if (first_ || !node_) return true;
  CQNDocNode probe;
  probe.url = target;
  std::string named = target;
  const Classification found = ClassifyAddress(
      LocalPathForAddress(named, false, true, *run_.naming), settings_.QN_FILE_EXT, true);
  probe.type = found.category != kCatNone ? found.category : fetchedType_;
  probe.wanted = found.category != kCatNone && !found.enabled ? 0 : 1;
  probe.sitePos = SitePosition(target, redirectScope_.startDirectory);
  probe.level = fetchedLevel_;
  return PassesEligibility(probe, settings_, redirectScope_.filters) &&
         PassesLevel(probe, settings_, redirectScope_.filters);
}

QNWorker::QNWorker(QNRun& run, QNRunPass& pass, int index, bool primary, std::string startAddress)
    : run_(run),
      doc_(run.doc),
      pass_(pass),
      index_(index),
      primary_(primary),
      start_(std::move(startAddress)),
      settingsSeen_(run.doc.SettingsChanges()),
      settings_(run.doc.SettingsCopy()),
      fetcher_(FetchContext()),
      first_(primary) {}

QNFetchContext QNWorker::FetchContext() {
  return QNFetchContext{settings_,
                        run_.env.internet,
                        run_,
                        run_.Log(),
                        run_.Observer(),
                        run_.texts,
                        run_.crawl,
                        [this](const std::string& target) { return RedirectAllowed(target); }};
}

void QNWorker::RefreshSettings() {
  const unsigned changes = doc_.SettingsChanges();
  if (changes == settingsSeen_) return;
  settingsSeen_ = changes;
  settings_ = doc_.SettingsCopy();
}

bool QNWorker::ChooseFetchPath() {
  previewCopy_.reset();
  fetched_ = localPath_;
  std::error_code ec;
  fileInPlace_ = run_.preview && std::filesystem::exists(localPath_, ec);
  // A preview saves a page in its place only to keep it and only where no file is:
  // the files of an earlier download stay as they are, and a page it does not keep
  // never enters the download folder. Elsewhere it works on a temporary copy whose
  // name ends in the page's extension, so that the copy is judged as the page.
  if (!run_.preview || (settings_.QN_KEEPHTML && !fileInPlace_)) {
    fileInPlace_ = run_.preview;
    return true;
  }
  const std::string name = localPath_.substr(FindLastSeparator(localPath_) + 1);
  const std::size_t dot = name.rfind('.');
  std::optional<QNTempFile> copy =
      QNTempFile::Create({}, dot == std::string::npos ? "" : name.c_str() + dot);
  if (!copy) return false;
  previewCopy_.emplace(std::move(*copy));
  fetched_ = previewCopy_->Path().string();
  // The fetcher makes the file itself: an empty file already there would pass for
  // an unchanged copy under the update modes.
  std::filesystem::remove(fetched_, ec);
  return true;
}

int QNWorker::ThreadCount() const {
  return std::clamp(run_.threads.load(), 1, kMaxWorkers);
}

bool QNWorker::Sleep(int milliseconds, const QNRun::WakeMark& since) {
  return OutsideGate(pass_, [&] {
    const auto limit = std::chrono::milliseconds(milliseconds);
    if (primary_) {
      run_.DozePrimary(limit, since);
    } else {
      run_.Doze(limit, since);
    }
  });
}

void QNWorker::StatusText(int id) {
  QNStatus status;
  status.mask = QNStatus::kStatusText;
  status.text3 = run_.texts.Text(id);
  auto lock = doc_.Locks().Hold(DocLock::Status);
  doc_.Observer().OnStatus(status);
}

void QNWorker::ClearRow() {
  QNStatus status;
  status.mask = QNStatus::kText1 | QNStatus::kText2 | QNStatus::kText3;
  status.worker = index_;
  doc_.Observer().OnStatus(status);
}

void QNWorker::CountsStatus() {
  QNStatus status;
  status.mask = QNStatus::kFileCount | QNStatus::kTotalSize | QNStatus::kLinkCount;
  doc_.FillCounts(status);
  doc_.Observer().OnStatus(status);
}

std::string QNWorker::ParentUrl(const CQNDocNode* node) {
  auto lock = doc_.Locks().Hold(DocLock::Tree);
  return node && node->parent && node->parent->kind != kNodeRoot ? node->parent->url
                                                                 : std::string();
}

void QNWorker::Run() {
  if (!fetcher_.OpenInternet(primary_)) return;
  opened_ = true;
  if (primary_) {
    PrepareStartPage();
    // With the start page reserved, the others may take whatever else is waiting.
    if (doc_.QueueMayHaveWork()) run_.EndHeadStart();
  }

  CQNRunFlags& flags = doc_.run;
  while (!flags.stopRequest) {
    // Taken before anything below is looked at: see QNRun::Mark.
    const QNRun::WakeMark mark = run_.Mark();
    if (flags.paused) {
      if (!Sleep(kPausePollMs, mark)) return;
    } else {
      if (!address_.empty() && HandleAddress() == Step::End) return;
      // The primary's first address is handled (or there was none): its links are in
      // the queue, so the others need wait no longer.
      if (primary_) run_.EndHeadStart();
      // QN_THREADS was lowered while the run goes on.
      if (!primary_ && index_ >= ThreadCount()) {
        ClearRow();
        return;
      }
      if (flags.paused) {
        ClearRow();
        if (!Sleep(kPausePollMs, mark)) return;
      } else if (!TakeNext()) {
        run_.slots[index_].idle = true;
        ClearRow();
        if (primary_) {
          if (!OthersBusy()) {
            flags.work = false;
            run_.Wake();
            return;
          }
          if (!Sleep(kPrimaryPauseMs, mark)) return;
        } else {
          if (!flags.work) return;
          // The primary may be waiting for the last busy worker.
          run_.WakePrimary();
          if (!Sleep(kIdlePollMs, mark)) return;
        }
      }
      if (primary_) ReplaceWorkers();
    }
    if (!doc_.CheckLimits()) return;
  }
}

bool QNWorker::TakeNext() {
  node_ = doc_.TakeNextLink();
  address_ = node_ ? node_->url : std::string();
  return node_ != nullptr;
}

bool QNWorker::OthersBusy() const {
  const int count = ThreadCount();
  for (int k = 0; k < count; ++k)
    if (k != index_ && run_.slots[k].held && !run_.slots[k].idle) return true;
  return false;
}

void QNWorker::ReplaceWorkers() {
  const int count = ThreadCount();
  for (int k = 1; k < count; ++k)
    if (!run_.slots[k].held) run_.LaunchWorker(k, false, {});
}

void QNWorker::PrepareStartPage() {
  // A continued run starts from the start address too when the tree holds no node
  // for it: the run before may have ended (or been killed) before its start page
  // was recorded, and then nothing else in the tree leads to the site.
  if (run_.downloadKind != kKindNew && run_.downloadKind != kKindContinue) {
    TakeNext();
    if (run_.downloadKind == kKindSelected || run_.downloadKind == kKindFailed)
      StatusText(run_.preview ? kMsgScanning : kMsgDownloading);
    ExpandStartPattern();
    return;
  }
  address_ = start_;
  if (!address_.empty() && !IsAbsoluteAddress(address_)) address_ = AddDefaultScheme(address_);
  ExpandStartPattern();
  CQNDocNode* branch = doc_.Branch();
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    node_ = branch ? branch : doc_.Tree().ChildByPosition(doc_.CurrentStartIndex() + 1);
  }
  // The start page's node is the root's child at the start address's position; when
  // the project's address has changed since that node was made, the node of the
  // address itself (if the tree knows it) stands in, so that no node receives the
  // file of another address.
  if (node_ && !branch && !SamePathOrDirectory(node_->url, address_))
    node_ = doc_.FindNodeByUrl(address_, true);
  if (node_ && !doc_.ReserveNode(node_)) TakeNext();
}

void QNWorker::ExpandStartPattern() {
  if (!HasRangePattern(address_)) return;
  std::vector<std::string> expanded;
  ExpandRangePattern(address_, expanded, true);
  std::vector<QNFoundLink> links;
  links.reserve(expanded.size());
  for (std::string& address : expanded) links.push_back(QNFoundLink{std::move(address), -1});
  CQNDocNode* root = nullptr;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    root = doc_.Tree().root;
  }
  doc_.AddFoundLinks(root, GetBaseDirectory(address_), links);
}

QNWorker::Step QNWorker::HandleAddress() {
  RefreshSettings();
  const CQNSettings& settings = settings_;
  const int retries = settings.QN_RETRIES;
  doc_.CountAttempt(1);
  run_.slots[index_].idle = false;

  const bool complete = node_ ? node_->tries < retries / 2 : true;
  const bool html = node_ ? node_->type == kCatHtml : true;
  std::string completed = address_;
  localPath_ = LocalPathForAddress(completed, complete, html, *run_.naming);
  if (completed != address_) {
    address_ = completed;
    if (node_) {
      auto tree = doc_.Locks().Hold(DocLock::Tree);
      auto map = doc_.Locks().Hold(DocLock::UrlMap);
      node_->SetUrl(address_);
    }
  }

  std::string referrer;
  bool logErrors = true;
  if (first_) {
    StatusText(run_.preview ? kMsgScanning : kMsgDownloading);
    logErrors = false;
  } else if (node_) {
    referrer = ParentUrl(node_);
    logErrors = node_->tries >= retries;
  }
  const std::uint64_t recorded = node_ ? static_cast<std::uint64_t>(node_->size.load()) : 0;
  recordedSize_ = recorded;
  std::string etag;
  if (node_) {
    fetchedType_ = node_->type;
    fetchedLevel_ = node_->level;
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    etag = node_->etag;
  }
  redirectScope_ = {doc_.FilterScope(), doc_.StartDirectory()};
  const int category = node_ ? node_->type : 0;

  QNFetchResult result;
  if (!ChooseFetchPath()) {
    result.lastError = kErrNoLocalFile;
  } else if (!OutsideGate(pass_, [&] {
               result = fetcher_.FetchToFile(address_, fetched_, index_, logErrors, referrer,
                                             recorded, category, etag);
             })) {
    return Step::End;
  }
  const Step step = result.ok ? Succeeded(result) : Failed(result);
  previewCopy_.reset();
  // The address is handled: a pause before the next one must not fetch it again.
  address_.clear();
  node_ = nullptr;
  return step;
}

QNWorker::Step QNWorker::Succeeded(const QNFetchResult& r) {
  const CQNSettings& settings = settings_;
  if (first_) {
    if (!node_) node_ = doc_.AddStartNode(address_, localPath_);
    if (!node_) return Step::End;
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    node_->type = ClassifyAddress(localPath_, settings.QN_FILE_EXT, false).category;
    first_ = false;
  }
  if (node_) {
    {
      auto lock = doc_.Locks().Hold(DocLock::Tree);
      node_->localFile = localPath_;
      node_->etag = r.etag;
    }
    node_->size = static_cast<std::int64_t>(r.size);
  }

  // A page kept from before that was rewritten since (its links converted for
  // offline use) names local files, not the site's addresses: its links are those
  // the tree already holds below it.
  const bool rewritten = r.outcome == kKept && recordedSize_ != 0 &&
                         LocalFileSize(localPath_).value_or(recordedSize_) != recordedSize_;
  const Step scanned = rewritten ? Step::Go : Scan();
  if (scanned == Step::End) return Step::End;
  if (scanned == Step::Unfinished) {
    // The scan was broken off by Stop or a limit: the page stays to be taken again,
    // so that its remaining links are found by the next run. Its file is complete
    // and is kept unchanged then.
    doc_.CountAttempt(-1);
    node_->state = kStatePending;
    doc_.NodeChanged(node_);
    ClearRow();
    return Step::Go;
  }

  // The node counts as done only once its links are in the tree: a project saved
  // in between would otherwise hold a done page without the links found on it.
  if (node_) {
    const bool page = node_->type == kCatHtml;
    node_->state = run_.preview && !page ? kStateTaken : kStateDone;
    doc_.NodeChanged(node_);
  }
  ClearRow();

  if (run_.preview) {
    doc_.CountFile();
    doc_.CountBytes(r.size);
    CountsStatus();
    if (node_ && node_->type == kCatHtml && !fileInPlace_) {
      {
        auto lock = doc_.Locks().Hold(DocLock::Tree);
        node_->localFile.clear();
      }
      node_->state = kStateTaken;
      doc_.NodeChanged(node_);
    }
  } else {
    bool keep = true;
    if (node_) {
      auto lock = doc_.Locks().Hold(DocLock::Tree);
      keep = KeepHtmlAfterDownload(*node_, r.size, settings);
    }
    if (keep) {
      doc_.CountFile();
      if (r.outcome == kTransferred) doc_.CountBytes(r.size);
      CountsStatus();
    } else {
      doc_.CountAttempt(-1);
      node_->state = kStateTaken;
      doc_.NodeChanged(node_);
    }
  }
  ReportRow(r, false);
  return Step::Go;
}

QNWorker::Step QNWorker::Failed(const QNFetchResult& r) {
  const int retries = settings_.QN_RETRIES;
  doc_.CountAttempt(-1);
  if (!r.retryAdvised) {
    first_ = false;
    if (node_) {
      doc_.SetNodeState(node_, r.stopped ? kStatePending : kStateFailed);
      doc_.NodeChanged(node_);
    }
    if (!r.stopped) ReportRow(r, true);
    return Step::Go;
  }

  if (first_ && !node_) {
    node_ = doc_.AddStartNode(address_, localPath_);
    if (!node_) return Step::End;
  }
  first_ = false;
  if (!node_) return Step::Go;
  if (node_->tries >= retries) {
    doc_.SetNodeState(node_, kStateFailed);
    doc_.NodeChanged(node_);
    ReportRow(r, true);
    return Step::Go;
  }
  if (node_->tries >= retries / 2) {
    // Lookups through the URL map read node addresses under the map's lock only.
    auto tree = doc_.Locks().Hold(DocLock::Tree);
    auto map = doc_.Locks().Hold(DocLock::UrlMap);
    std::string& url = node_->url;
    if (!url.empty() && IsSeparator(url.back())) {
      url.pop_back();
      std::string address = url;
      node_->localFile = LocalPathForAddress(address, false, true, *run_.naming);
    }
  }
  ++node_->tries;
  if (run_.downloadKind == kKindSelected || run_.downloadKind == kKindFailed)
    node_->mark = kMarkSelected;
  // Pending last: from here on another worker may take the node.
  doc_.SetNodeState(node_, kStatePending);
  return Step::Go;
}

void QNWorker::ReportRow(const QNFetchResult& r, bool error) {
  const QNRunHooks& hooks = run_.env.hooks;
  if (!settings_.QN_REPORT || !hooks.reportRow) return;
  static_assert(kTransferred == kReportDownloaded && kRefused == kReportSkipped &&
                kKept == kReportUnchanged);
  QNReportEntry entry;
  entry.node = node_;
  entry.address = address_;
  entry.error = error;
  entry.errorCode = r.lastError;
  entry.status = r.outcome;
  entry.modified = r.modified;
  entry.size = r.size;
  hooks.reportRow(entry);
}

void QNWorker::AfterException(int code) {
  if (!pass_.Reacquire()) return;
  run_.LogInternalError(code);
  ClearRow();
  if (primary_) {
    doc_.run.work = false;
    run_.Wake();
  }
}

void QNWorker::CloseInternet() {
  if (opened_) fetcher_.CloseInternet(primary_);
}

void RunWorker(std::shared_ptr<QNRun> run, int index, bool primary, std::string startAddress) {
  {
    QNRunPass pass(run->gate);
    if (pass) {
      QNWorker worker(*run, pass, index, primary, std::move(startAddress));
      std::optional<int> failure;
      try {
        worker.Run();
      } catch (const std::exception& e) {
        failure = ExceptionCode(e);
      } catch (...) {
        failure = 0;
      }
      if (failure) {
        try {
          worker.AfterException(*failure);
        } catch (...) {
          // The log itself failed; the slot is given back all the same.
        }
      }
      pass.Release();
      run->LeaveSlot(index);
      worker.CloseInternet();
      return;
    }
  }
  run->LeaveSlot(index);
}

}  // namespace qn
