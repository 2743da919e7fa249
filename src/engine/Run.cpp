#include "engine/Run.h"

#include <algorithm>

#include "engine/Doc.h"
#include "engine/RunErrors.h"
#include "text/MessageIds.h"
#include "web/Forms.h"

namespace qn {

QNRun::QNRun(CQNDoc& document, int kind, bool isPreview, QNRunEnvironment environment,
             QNTexts lookup)
    : doc(document),
      downloadKind(kind),
      preview(isPreview),
      env(std::move(environment)),
      texts(std::move(lookup)) {}

void QNRun::ReserveSlots(int count) {
  for (int i = 0; i < count && i < kMaxWorkers; ++i) {
    slots[i].held = true;
    slots[i].idle = false;
  }
}

bool QNRun::LaunchWorker(int index, bool primary, std::string startAddress) {
  Slot& slot = slots[index];
  std::lock_guard lock(slotsMutex_);
  // A worker that left the slot has nothing left to do but return.
  if (slot.thread.joinable()) slot.thread.join();
  slot.held = true;
  slot.idle = false;
  slot.abortFile = false;
  try {
    slot.thread =
        std::thread(RunWorker, shared_from_this(), index, primary, std::move(startAddress));
  } catch (const std::system_error&) {
    slot.held = false;
    return false;
  }
  return true;
}

void QNRun::JoinWorker(int index) {
  std::thread worker;
  {
    std::lock_guard lock(slotsMutex_);
    worker = std::move(slots[index].thread);
  }
  if (worker.joinable()) worker.join();
}

void QNRun::LeaveSlot(int index) {
  slots[index].idle = false;
  slots[index].held = false;
  // The controller may be waiting for the primary's head start, and the primary for
  // the others to finish.
  if (index == 0) {
    std::lock_guard lock(wakeMutex_);
    primarySignal_.notify_all();
  } else {
    WakePrimary();
  }
}

void QNRun::StartCrawl() {
  crawl = std::make_shared<QNCrawlShared>(PacingRulesFor(settings));
  const std::string& cookies = settings.QN_COOKIES;
  if (cookies.empty()) return;
  if (const auto count = crawl->cookies.Load(cookies))
    doc.Log().WriteLine(LogKind::Text, texts.Format(kMsgCookiesRead, *count, cookies));
  else
    doc.Log().WriteLine(LogKind::Text, texts.Format(kMsgCookiesUnreadable, cookies));
}

void QNRun::LogInternalError(int code) {
  doc.Log().WriteLine(LogKind::Text, texts.Format(kMsgInternalError, code));
}

QNRun::WakeMark QNRun::Mark() {
  std::lock_guard lock(wakeMutex_);
  return {wakeups_, primaryWakeups_, offers_};
}

void QNRun::Doze(std::chrono::milliseconds limit, const WakeMark& since) {
  std::unique_lock lock(wakeMutex_);
  ++dozing_;
  wakeSignal_.wait_for(lock, limit, [&] {
    if (offered_ > 0) {
      --offered_;
      return true;
    }
    return wakeups_ != since.all || offers_ != since.offers;
  });
  --dozing_;
  offered_ = std::min(offered_, dozing_);
}

void QNRun::Wake() {
  std::lock_guard lock(wakeMutex_);
  ++wakeups_;
  wakeSignal_.notify_all();
  primarySignal_.notify_all();
}

void QNRun::OfferWork(int addresses) {
  if (addresses <= 0) return;
  std::lock_guard lock(wakeMutex_);
  ++offers_;
  const int wake = std::min(addresses, dozing_ - offered_);
  for (int i = 0; i < wake; ++i) {
    ++offered_;
    wakeSignal_.notify_one();
  }
}

int QNRun::DozingWorkers() {
  std::lock_guard lock(wakeMutex_);
  return dozing_;
}

void QNRun::DozePrimary(std::chrono::milliseconds limit, const WakeMark& since) {
  std::unique_lock lock(wakeMutex_);
  primarySignal_.wait_for(
      lock, limit, [&] { return wakeups_ != since.all || primaryWakeups_ != since.primary; });
}

void QNRun::WakePrimary() {
  std::lock_guard lock(wakeMutex_);
  ++primaryWakeups_;
  primarySignal_.notify_all();
}

void QNRun::BeginHeadStart() {
  headStartOver_ = false;
}

void QNRun::EndHeadStart() {
  if (headStartOver_) return;
  std::lock_guard lock(wakeMutex_);
  headStartOver_ = true;
  primarySignal_.notify_all();
}

void QNRun::AwaitHeadStart(std::chrono::milliseconds limit) {
  std::unique_lock lock(wakeMutex_);
  primarySignal_.wait_for(lock, limit, [this] { return headStartOver_ || !slots[0].held; });
}

void QNRun::MarkDone() {
  std::lock_guard lock(doneMutex_);
  done_ = true;
  doneSignal_.notify_all();
}

bool QNRun::IsDone() {
  std::lock_guard lock(doneMutex_);
  return done_;
}

bool QNRun::WaitDone(std::chrono::milliseconds timeout) {
  std::unique_lock lock(doneMutex_);
  return doneSignal_.wait_for(lock, timeout, [this] { return done_; });
}

void QNRun::RecordEnd(const QNRunEnd& end) {
  std::lock_guard lock(doneMutex_);
  if (!end_) end_ = end;
}

std::optional<QNRunEnd> QNRun::End() {
  std::lock_guard lock(doneMutex_);
  return end_;
}

bool QNRun::StopRequested() const {
  if (abandoned) return true;
  QNRunPass pass(gate);
  return !pass || doc.run.stopRequest || (doc.run.running && doc.TimeLimitReached());
}

void QNRun::RequestStop() {
  QNRunPass pass(gate);
  if (pass) doc.run.stopRequest = true;
  Wake();
}

bool QNRun::TakeAbortFile(int worker) {
  return worker >= 0 && worker < kMaxWorkers && slots[worker].abortFile.exchange(false);
}

int QNRun::SpeedLevel() const {
  QNRunPass pass(gate);
  return pass ? doc.speedLevel.load() : 10;
}

std::uint64_t QNRun::ByteTotal() const {
  QNRunPass pass(gate);
  if (!pass) return 0;
  return static_cast<std::uint64_t>(std::max<std::int64_t>(doc.Counters().bytes, 0));
}

// The lines and rows name the addresses being fetched; a login address carries the
// project's password, which is for the server only.
void QNRun::GatedLog::WriteLine(LogKind kind, const std::string& line) {
  QNRunPass pass(run_.gate);
  if (pass) run_.doc.Log().WriteLine(kind, MaskLoginPassword(line, run_.settings.QN_PASSWORD));
}

void QNRun::GatedObserver::OnStatus(const QNStatus& status) {
  QNRunPass pass(run_.gate);
  if (!pass) return;
  QNStatus masked = status;
  masked.text1 = MaskLoginPassword(status.text1, run_.settings.QN_PASSWORD);
  masked.text3 = MaskLoginPassword(status.text3, run_.settings.QN_PASSWORD);
  run_.doc.Observer().OnStatus(masked);
}

}  // namespace qn
