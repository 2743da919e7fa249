// The controller thread of a download run: the start procedure, the start addresses
// one after another with their workers, and the end of the run with its log lines,
// conversion and end actions.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "engine/Doc.h"
#include "engine/Run.h"
#include "engine/RunErrors.h"
#include "records/DownloadLog.h"
#include "storage/DownloadFolder.h"
#include "storage/TempFile.h"
#include "text/MessageIds.h"
#include "text/SizeText.h"
#include "text/TimeText.h"
#include "web/Address.h"
#include "web/OfflineState.h"

namespace qn {

namespace {

constexpr int kConvertSeconds = 5;
constexpr auto kPrimaryHeadStart = std::chrono::milliseconds(500);

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

class QNController {
 public:
  QNController(QNRun& run, QNRunPass& pass, std::vector<std::string> addresses)
      : run_(run),
        doc_(run.doc),
        env_(run.env),
        pass_(pass),
        table_(std::move(addresses)),
        branch_(run.doc.Branch()) {}

  void Run();
  // After an exception: the workers are stopped and waited for, and the run ends
  // so that the next one can start.
  void Recover();
  // How the run ended, once Run or Recover has returned.
  QNRunEnd Outcome();

 private:
  bool StartProcedure(const std::string& firstAddress);
  void EndProcedure();
  bool WorkOnStartAddress(int j);
  void ConvertLinks();
  std::string StartAddressFor(int j);
  void Status(int mask, int id, int progress = 0, bool clearRows = false);
  // Asks the observer without the pass: a person may take their time, and a forced
  // stop must not wait for them. False when the gate closed meanwhile.
  template <typename Question>
  bool AskOutside(Question&& question);

  QNRun& run_;
  CQNDoc& doc_;
  const QNRunEnvironment& env_;
  QNRunPass& pass_;
  std::vector<std::string> table_;
  CQNDocNode* branch_;
};

std::string QNController::StartAddressFor(int j) {
  if (!branch_) return table_[static_cast<std::size_t>(j)];
  std::string address = doc_.SettingsCopy().QN_START_URL[static_cast<std::size_t>(j)];
  BackslashesToSlashes(address);
  return address;
}

void QNController::Status(int mask, int id, int progress, bool clearRows) {
  QNStatus status;
  status.mask = mask;
  if (id) status.text3 = run_.texts.Text(id);
  status.progress = progress;
  status.clearRows = clearRows ? 1 : 0;
  doc_.FillCounts(status);
  auto lock = doc_.Locks().Hold(DocLock::Status);
  doc_.Observer().OnStatus(status);
}

template <typename Question>
bool QNController::AskOutside(Question&& question) {
  // Once a forced stop is under way every question has its cancel answer, which the
  // caller's answer holds until the question is asked.
  if (doc_.run.aborted) return true;
  IQNObserver& observer = doc_.Observer();
  return OutsideGate(pass_, [&] { question(observer); });
}

void QNController::Run() {
  CQNRunFlags& flags = doc_.run;
  for (std::string& address : table_) BackslashesToSlashes(address);

  Status(QNStatus::kStatusText | QNStatus::kProgress, kMsgStarting, -1);
  const int startIndex = doc_.CurrentStartIndex();
  const std::string first = branch_ ? StartAddressFor(startIndex) : table_.front();
  if (!StartProcedure(first)) {
    if (!pass_) return;  // the gate closed while the start waited outside it
    EndProcedure();
    Status(QNStatus::kStatusText | QNStatus::kProgress, kMsgStopped, -2);
    return;
  }
  doc_.lastRunStarted_ = true;
  const bool preview = run_.preview;
  doc_.Log().WriteLine(LogKind::Started,
                       MakeStartedText(run_.texts, preview, CurrentTimeText(run_.texts)));
  if (env_.hooks.reportHeader) env_.hooks.reportHeader();

  for (int j = 0; j < static_cast<int>(table_.size()); ++j)
    if (!WorkOnStartAddress(j)) return;
  doc_.SetStartIndex(0);

  Status(QNStatus::kProgress, 0, -2, true);

  // Taken before the conversion: a stop while links are converted ends the
  // conversion, not a download that had completed.
  const bool interrupted = flags.stopRequest || flags.stopReason != kStopNone;
  ConvertLinks();
  if (!pass_) return;

  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    doc_.settings_.DownloadState =
        interrupted ? kInterrupted : (preview ? kPreviewCompleted : kDownloadCompleted);
  }
  if (!flags.aborted) {
    Status(
        QNStatus::kFileCount | QNStatus::kTotalSize | QNStatus::kStatusText | QNStatus::kProgress,
        interrupted ? kMsgStopped : kMsgCompleted, -2, true);
    const std::string now = CurrentTimeText(run_.texts);
    if (interrupted)
      doc_.Log().WriteLine(LogKind::Stopped,
                           MakeStoppedText(run_.texts, preview, now, flags.stopReason));
    else
      doc_.Log().WriteLine(LogKind::Completed, MakeCompletedText(run_.texts, preview, now));
  }

  EndProcedure();

  const CQNRunCounters counters = doc_.Counters();
  doc_.Log().WriteLine(
      LogKind::Summary,
      MakeSummaryText(run_.texts, counters.files, static_cast<std::uint64_t>(counters.bytes)));
  if (env_.hooks.reportFooter) env_.hooks.reportFooter();
}

bool QNController::WorkOnStartAddress(int j) {
  const std::string address = StartAddressFor(j);
  doc_.SetCurrentStart(j, address);
  auto naming = std::make_shared<const QNNamingContext>(
      QNNamingContext::From(run_.settings, GetBaseDirectory(address), env_.programDir));
  run_.naming = naming;
  doc_.SetLocalNamer([naming](const std::string& link, bool page) {
    std::string copy = link;
    return LocalPathForAddress(copy, false, page, *naming);
  });

  // The primary of the last start address cleared the work flag; without it set
  // again, secondary workers would quit as soon as they found nothing, and the
  // primary would start new ones without end.
  doc_.run.work = true;
  const int count = ThreadsInRange(run_.threads.load());
  run_.ReserveSlots(count);
  run_.BeginHeadStart();
  for (int k = 0; k < count; ++k) {
    const bool primary = k == 0;
    if (!run_.LaunchWorker(k, primary, primary ? table_[static_cast<std::size_t>(j)] : "")) {
      for (int rest = k; rest < count; ++rest) run_.LeaveSlot(rest);
      break;
    }
    // The primary worker fetches or reserves the start page before the others ask;
    // they start as soon as there is work for them.
    if (primary && !OutsideGate(pass_, [this] { run_.AwaitHeadStart(kPrimaryHeadStart); }))
      return false;
  }

  return OutsideGate(pass_, [this] {
    run_.JoinWorker(0);
    for (int k = 1; k < kMaxWorkers; ++k) run_.JoinWorker(k);
  });
}

bool QNController::StartProcedure(const std::string& firstAddress) {
  CQNRunFlags& flags = doc_.run;
  const CQNSettings settings = doc_.SettingsCopy();
  switch (run_.downloadKind) {
    case kKindNew: {
      // A branch run works on a part of the tree and never discards the rest of it.
      const bool mayReinitialise = settings.QN_TR_INIT && !branch_;
      bool reinitialise = mayReinitialise && (run_.preview || env_.unattended ||
                                              settings.DownloadState != kPreviewCompleted);
      if (mayReinitialise && !reinitialise && !AskOutside([&](IQNObserver& observer) {
            reinitialise = observer.AskYesNo(kMsgInitTree, run_.texts.Text(kMsgInitTree), false);
          }))
        return false;
      if (reinitialise) {
        // A display still rebuilding reads the tree: it is waited for, without the
        // pass, since the display may be the thread that stops this run by force.
        bool ready = false;
        if (!OutsideGate(
                pass_,
                [&] { ready = doc_.WaitTreeReady([this] { return doc_.run.aborted.load(); }); }) ||
            !ready)
          return false;
        doc_.ReinitialiseTree();
      } else {
        doc_.SetStates(kStatePending, kStateAny);
        doc_.NodeChanged(doc_.Tree().root, true);
      }
      break;
    }
    case kKindContinue:
      doc_.SetStates(kStatePending, kStateTaken);
      break;
    case kKindFailed:
      doc_.SetMarks(kStateFailed, kMarkSelected);
      break;
    default:
      break;
  }
  doc_.ResetCounters();

  const std::string folder = ExpandDownloadDir(settings.QN_PROJECT_DIR, LocalNow());
  if (folder.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  // A folder nothing can be saved in would let the run "complete" with no file
  // saved and no log written: the run does not start, and says why.
  const int refusal = !std::filesystem::is_directory(folder, ec) ? kMsgFolderNotCreated
                      : !QNTempFile::Create(folder)              ? kMsgFolderNotWritable
                                                                 : 0;
  if (refusal) {
    doc_.Observer().ShowMessage(refusal, run_.texts.Format(refusal, folder));
    return false;
  }
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    doc_.settings_.DownloadDir = folder;
  }

  doc_.SetCurrentStart(doc_.CurrentStartIndex(), firstAddress);

  // The stop request was cleared when the run was asked for: a Stop given while the
  // run starts up is kept.
  flags.running = true;
  flags.stoppedByUser = false;
  flags.work = true;
  flags.stopReason = kStopNone;
  flags.startTime = static_cast<std::int64_t>(std::time(nullptr));
  for (QNRun::Slot& slot : run_.slots) {
    slot.held = false;
    slot.idle = false;
    slot.abortFile = false;
  }

  if (env_.hooks.resetLog) env_.hooks.resetLog();
  if (settings.QN_REPORT && env_.hooks.createReport) env_.hooks.createReport();
  SetOffline(false);
  // Dialing waits on the line for a minute or more, so it runs without the pass.
  std::string dialError;
  bool dialed = true;
  if (env_.hooks.dial && !OutsideGate(pass_, [&] { dialed = env_.hooks.dial(dialError); }))
    return false;
  if (!dialed) doc_.Log().WriteLine(LogKind::Text, run_.texts.Format(kMsgDialerError, dialError));
  doc_.Observer().OnRunStarted();

  doc_.speedLevel = 10;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    doc_.settings_.DownloadState = kRunning;
  }
  if (env_.hooks.saveProject) env_.hooks.saveProject();
  doc_.modified = true;
  if (settings.QN_FASTPARSE) doc_.BuildUrlMap();

  // Fetchers and scanners work from the settings as they now stand.
  run_.settings = doc_.SettingsCopy();
  run_.threads = run_.settings.QN_THREADS;
  run_.StartCrawl();
  return true;
}

void QNController::EndProcedure() {
  CQNRunFlags& flags = doc_.run;
  flags.stoppedByUser = flags.stopRequest.load();
  flags.running = false;
  flags.preview = false;
  doc_.SetPreview(false);
  flags.stopRequest = false;
  flags.work = false;
  // A display that was not kept up to date during the run is built anew.
  if (doc_.SettingsCopy().QN_TR_UPDATE == 0) doc_.ResetDisplay();
  doc_.Observer().OnRunEnded();
  doc_.speedLevel = 10;
  doc_.DropUrlMap();
  doc_.modified = true;
}

void QNController::ConvertLinks() {
  if (!env_.hooks.convertLinks) return;
  // "-CONV" converts even after a preview: with "Keep HTML files" its pages stay.
  if (!env_.convertAfter && (run_.preview || run_.settings.QN_UPDLINKS == 0)) return;
  bool convert = false;
  if (!AskOutside([&](IQNObserver& observer) {
        convert = observer.Countdown(run_.texts.Text(kMsgConvertCountdown), kConvertSeconds);
      }) ||
      !convert)
    return;
  Status(QNStatus::kStatusText, kMsgConverting);
  env_.hooks.convertLinks();
}

void QNController::Recover() {
  if (!doc_.run.running) return;
  doc_.run.stopRequest = true;
  const bool inside = OutsideGate(pass_, [this] {
    for (int k = 0; k < kMaxWorkers; ++k) run_.JoinWorker(k);
  });
  if (!inside) return;
  {
    auto lock = doc_.Locks().Hold(DocLock::Tree);
    doc_.settings_.DownloadState = kInterrupted;
  }
  EndProcedure();
}

QNRunEnd QNController::Outcome() {
  const CQNRunFlags& flags = doc_.run;
  QNRunEnd end;
  end.started = doc_.lastRunStarted_;
  end.preview = run_.preview;
  end.stoppedByUser = flags.stoppedByUser;
  end.aborted = flags.aborted;
  end.stopReason = flags.stopReason;
  auto lock = doc_.Locks().Hold(DocLock::Tree);
  end.downloadState = doc_.settings_.DownloadState;
  return end;
}

void RunController(std::shared_ptr<QNRun> run, std::vector<std::string> addresses) {
  std::optional<QNRunEnd> end;
  {
    QNRunPass pass(run->gate);
    if (pass) {
      QNController controller(*run, pass, std::move(addresses));
      bool failed = false;
      try {
        controller.Run();
      } catch (const std::exception& e) {
        failed = true;
        if (pass) run->LogInternalError(ExceptionCode(e));
      } catch (...) {
        failed = true;
        if (pass) run->LogInternalError(0);
      }
      if (failed && pass) {
        try {
          controller.Recover();
        } catch (...) {
          // Nothing is left to report to: the log itself failed.
        }
      }
      try {
        if (pass) end = controller.Outcome();
      } catch (...) {
        // The end stays unknown; the program treats the run as interrupted.
      }
    }
  }
  // However the controller left, no worker of the run outlives it. The primary has
  // ended first, so no new worker starts while the others are waited for.
  for (int k = 0; k < kMaxWorkers; ++k) run->JoinWorker(k);
  if (end && !run->abandoned) {
    run->RecordEnd(*end);
    // What follows the run may wait for a person (a countdown), so it runs without a
    // pass: a forced stop in the meantime is not held up by it.
    if (run->env.hooks.runEnded) {
      try {
        run->env.hooks.runEnded(*end);
      } catch (...) {
        // The program's end actions failed; the run itself has ended all the same.
      }
    }
  }
  run->MarkDone();
}

}  // namespace qn
