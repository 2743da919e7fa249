// The document's side of a download run: the user's commands, starting the
// controller, the limits, the forced stop and settings changed while a run goes on.
#include <algorithm>
#include <cctype>
#include <thread>

#include "engine/Doc.h"
#include "engine/DownloadKind.h"
#include "engine/Run.h"
#include "text/MessageIds.h"
#include "web/Address.h"

namespace qn {
namespace {

constexpr auto kForcedStopPoll = std::chrono::milliseconds(100);
constexpr auto kTreeDiscardPause = std::chrono::milliseconds(100);

std::string Trimmed(const std::string& s) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
  const auto first = std::find_if_not(s.begin(), s.end(), blank);
  const auto last = std::find_if_not(s.rbegin(), s.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

std::vector<std::string> ProjectStartAddresses(const CQNSettings& settings) {
  const int count =
      settings.QN_SINGLE_URL ? 1 : std::clamp(settings.StartUrlCount, 1, kMaxStartUrls);
  return {settings.QN_START_URL.begin(), settings.QN_START_URL.begin() + count};
}

}  // namespace

CQNDoc::~CQNDoc() {
  const std::shared_ptr<QNRun> current = CurrentRun();
  if (!current) return;
  if (!current->abandoned && !current->IsDone()) StopThreadsByForce();
  std::lock_guard lock(runMutex_);
  if (current->controller.joinable()) current->controller.join();
}

void CQNDoc::SetRunEnvironment(QNRunEnvironment environment) {
  std::lock_guard lock(envMutex_);
  env_ = std::move(environment);
}

QNRunEnvironment CQNDoc::RunEnvironment() const {
  std::lock_guard lock(envMutex_);
  return env_;
}

std::optional<QNRunEnd> CQNDoc::LastRunEnd() {
  const std::shared_ptr<QNRun> current = CurrentRun();
  return current ? current->End() : std::nullopt;
}

std::shared_ptr<QNRun> CQNDoc::CurrentRun() {
  std::lock_guard lock(runMutex_);
  return run_;
}

CQNSettings CQNDoc::SettingsCopy() {
  auto tree = locks_.Hold(DocLock::Tree);
  return settings_;
}

int CQNDoc::NodeCount() {
  auto tree = locks_.Hold(DocLock::Tree);
  return tree_.count;
}

int CQNDoc::DownloadKind() const {
  return FilterScope().downloadKind;
}

void CQNDoc::SetStartIndex(int index) {
  auto tree = locks_.Hold(DocLock::Tree);
  auto queue = locks_.Hold(DocLock::Queue);
  startIndex_ = index;
}

bool CQNDoc::ReserveNode(CQNDocNode* node) {
  auto queue = locks_.Hold(DocLock::Queue);
  int pending = kStatePending;
  return node->state.compare_exchange_strong(pending, kStateTaken);
}

void CQNDoc::ReinitialiseTree() {
  {
    auto view = locks_.Hold(DocLock::ViewReset);
    observer_.OnTreeRebuilt();
  }
  std::this_thread::sleep_for(kTreeDiscardPause);
  ClearTree();
  CreateRoot();
  TreeReplaced();
}

bool CQNDoc::StartRun(const std::vector<std::string>& addresses, CQNDocNode* branch, bool preview) {
  std::lock_guard lock(runMutex_);
  if (run_ && !run_->abandoned && !run_->IsDone()) return false;
  if (run_ && run_->controller.joinable()) run_->controller.join();

  std::vector<std::string> table;
  for (std::size_t i = 0; i < addresses.size() && i < static_cast<std::size_t>(kMaxStartUrls); ++i)
    table.push_back(Trimmed(addresses[i]));
  if (table.empty()) table.emplace_back();

  // A pause left over from the last run would hold the new one before it begins; a
  // Stop or a forced stop from now on is this run's.
  run.paused = false;
  run.stopRequest = false;
  run.aborted = false;
  run.preview = preview;
  SetPreview(preview);
  if (!preview) SetBranch(branch);
  lastRunStarted_ = false;

  auto next = std::make_shared<QNRun>(*this, DownloadKind(), preview, RunEnvironment(), texts_);
  try {
    next->controller = std::thread(RunController, next, std::move(table));
  } catch (const std::system_error&) {
    run.preview = false;
    SetPreview(false);
    return false;
  }
  next->controllerId = next->controller.get_id();
  run_ = std::move(next);
  return true;
}

bool CQNDoc::LeftBehindThreadsRunning() {
  std::lock_guard lock(runMutex_);
  return !leftBehind_.expired();
}

bool CQNDoc::WaitForRunEnd(std::chrono::milliseconds timeout) {
  const std::shared_ptr<QNRun> current = CurrentRun();
  return !current || current->abandoned || current->WaitDone(timeout);
}

bool CQNDoc::StartDownload() {
  if (run.paused && RunGoing()) {
    Resume();
    return true;
  }
  const CQNSettings settings = SettingsCopy();
  int kind = kKindNew;
  if (RunEnvironment().unattended) {
    kind = UnattendedDownloadKind(settings.DownloadState);
  } else {
    const QNDownloadKindOffer offer =
        OfferDownloadKinds(settings.DownloadState, StartModeStatistics());
    if (offer.ask) kind = observer_.AskDownloadKind(offer);
    if (kind == 0) return false;
  }
  SetDownloadKind(kind);
  return StartRun(ProjectStartAddresses(settings), nullptr, false);
}

bool CQNDoc::StartPreview() {
  return StartRun(ProjectStartAddresses(SettingsCopy()), nullptr, true);
}

bool CQNDoc::StartBranch(CQNDocNode* node) {
  std::string address;
  {
    auto tree = locks_.Hold(DocLock::Tree);
    if (node && node != tree_.root)
      address = node->url;
    else
      address = settings_.QN_START_URL[static_cast<std::size_t>(startIndex_)];
  }
  return StartRun({address}, node, false);
}

namespace {

void SendStatusText(CQNDoc& doc, int id) {
  QNStatus status;
  status.mask = QNStatus::kStatusText;
  status.text3 = doc.Texts().Text(id);
  auto lock = doc.Locks().Hold(DocLock::Status);
  doc.Observer().OnStatus(status);
}

}  // namespace

bool CQNDoc::RunGoing() {
  const std::shared_ptr<QNRun> current = CurrentRun();
  return current && !current->abandoned && !current->IsDone();
}

void CQNDoc::Pause() {
  if (!RunGoing()) return;
  run.paused = true;
  SendStatusText(*this, kMsgPaused);
}

void CQNDoc::Resume() {
  run.paused = false;
  if (!RunGoing()) return;
  CurrentRun()->Wake();
  SendStatusText(*this, kMsgDownloading);
}

void CQNDoc::Stop() {
  if (!RunGoing()) return;
  run.stopRequest = true;
  CurrentRun()->Wake();
  SendStatusText(*this, kMsgStopping);
}

void CQNDoc::AbortFile(int worker) {
  if (worker < 0 || worker >= kMaxWorkers) return;
  if (const std::shared_ptr<QNRun> current = CurrentRun()) current->slots[worker].abortFile = true;
}

QNRunLimits CQNDoc::LiveLimits() {
  auto tree = locks_.Hold(DocLock::Tree);
  QNRunLimits limits;
  limits.files = settings_.QN_LIM_FQ != 0;
  // The settings dialog takes any unsigned 32-bit number for the file count and the
  // minutes, so they are read as such, and the seconds in wide arithmetic.
  limits.maxFiles = static_cast<std::uint32_t>(settings_.QN_MAX_FQ);
  limits.time = settings_.QN_LIM_TIME != 0;
  limits.seconds = std::int64_t{static_cast<std::uint32_t>(settings_.QN_MAX_TIME)} * 60;
  limits.diskSpace = settings_.QN_LIM_DS != 0;
  limits.maxBytes = settings_.QN_MAX_DS;
  return limits;
}

bool CQNDoc::TimeLimitReached(const QNRunLimits& limits) const {
  return limits.time &&
         static_cast<std::int64_t>(std::time(nullptr)) - run.startTime > limits.seconds;
}

bool CQNDoc::TimeLimitReached() {
  return TimeLimitReached(LiveLimits());
}

bool CQNDoc::CheckLimits() {
  if (run.stopRequest) {
    run.stopReason = kStopNone;
    return false;
  }
  if (!CurrentRun()) return false;
  const QNRunLimits limits = LiveLimits();
  const CQNRunCounters counters = Counters();
  if (limits.files && (std::int64_t{counters.files} >= limits.maxFiles ||
                       std::int64_t{counters.attempts} >= limits.maxFiles)) {
    run.stopReason = kStopFiles;
    return false;
  }
  if (TimeLimitReached(limits)) {
    run.stopReason = kStopTime;
    return false;
  }
  if (limits.diskSpace && static_cast<double>(counters.bytes) > limits.maxBytes) {
    run.stopReason = kStopDiskSpace;
    return false;
  }
  return true;
}

bool CQNDoc::ForcedStop() {
  const std::shared_ptr<QNRun> current = CurrentRun();
  if (!current || current->abandoned || current->IsDone()) return true;
  const bool ended = StopThreadsByForce();
  {
    auto tree = locks_.Hold(DocLock::Tree);
    settings_.DownloadState = kInterrupted;
  }
  if (current->env.hooks.saveProject) current->env.hooks.saveProject();
  return ended;
}

bool CQNDoc::StopThreadsByForce() {
  const std::shared_ptr<QNRun> current = CurrentRun();
  if (!current || current->abandoned || current->IsDone()) return true;
  run.aborted = true;
  run.stopRequest = true;
  current->Wake();
  SendStatusText(*this, kMsgStopping);
  modified = false;
  // Called from the controller itself (from what follows the run): there is nothing
  // to wait for.
  if (std::this_thread::get_id() == current->controllerId) return true;
  // A question the run waits on gives way, so that the run can end in time.
  observer_.CancelQuestions();

  const std::string wait = texts_.Text(kMsgStoppingWait);
  observer_.ShowWait(wait, true);
  const auto deadline = std::chrono::steady_clock::now() + current->env.forcedStopWait;
  bool ended = true;
  while (!current->WaitDone(kForcedStopPoll)) {
    if (std::chrono::steady_clock::now() < deadline) continue;
    // The threads still running are left to end on their own. Closing the gate
    // waits for the steps they are in the middle of, so none holds a lock of the
    // document or touches it afterwards; nothing has to be made anew for the next
    // run.
    current->abandoned = true;
    current->gate.Close();
    QNRunEnd end;
    end.started = lastRunStarted_;
    end.preview = current->preview;
    end.stoppedByUser = true;
    end.aborted = true;
    end.stopReason = run.stopReason;
    end.downloadState = kInterrupted;
    current->RecordEnd(end);
    {
      std::lock_guard lock(runMutex_);
      current->controller.detach();
      leftBehind_ = current;
    }
    run.running = false;
    run.preview = false;
    SetPreview(false);
    DropUrlMap();
    observer_.OnRunEnded();
    ended = false;
    break;
  }
  if (ended) {
    std::lock_guard lock(runMutex_);
    if (current->controller.joinable()) current->controller.join();
  }
  observer_.ShowWait(wait, false);
  return ended;
}

std::optional<QNNodeId> CQNDoc::RetitleRoot() {
  auto tree = locks_.Hold(DocLock::Tree);
  if (!tree_.root) return std::nullopt;
  tree_.root->title = RootTitle(texts_, settings_.QN_TITLE);
  return NodeIdOf(*tree_.root);
}

void CQNDoc::ApplyChangedSettings(const CQNSettings& changed) {
  CQNSettings before;
  CQNSettings next = changed;
  next.QN_THREADS = ThreadsInRange(next.QN_THREADS);
  KeepCrawlingInRange(next);
  {
    auto tree = locks_.Hold(DocLock::Tree);
    auto queue = locks_.Hold(DocLock::Queue);
    // What the run fixed for itself stays.
    next.DownloadDir = settings_.DownloadDir;
    next.DownloadState = settings_.DownloadState;
    if (next == settings_) return;
    before = settings_;
    settings_ = next;
  }
  ++settingsChanges_;
  modified = true;

  std::optional<QNNodeId> retitled;
  if (next.QN_TITLE != before.QN_TITLE) retitled = RetitleRoot();
  // A rebuilt display shows the new title as well.
  if (next.QN_TR_HTML != before.QN_TR_HTML || next.QN_TR_LIMIT_F != before.QN_TR_LIMIT_F ||
      next.QN_TR_MAX_F != before.QN_TR_MAX_F) {
    ResetDisplay();
  } else if (retitled) {
    NotifyChanged(*retitled, false);
  }
  if (!run.running) return;
  if (next.QN_FASTPARSE && !before.QN_FASTPARSE) BuildUrlMap();
  if (!next.QN_FASTPARSE && before.QN_FASTPARSE) DropUrlMap();
  if (const std::shared_ptr<QNRun> current = CurrentRun()) current->threads = next.QN_THREADS;
}

}  // namespace qn
