#include "cli/RunWatch.h"

namespace qn {
namespace {
constexpr int kRedrawMs = 100;
}  // namespace

QNRunWatch::QNRunWatch(QNCliOutput& output, QNSignalWatch& signalWatch, int autosaveSeconds)
    : output_(output),
      signals_(signalWatch),
      autosave_(autosaveSeconds),
      lastSave_(std::chrono::steady_clock::now()) {}

bool QNRunWatch::Step(CQNDoc& doc, const std::function<void()>& save) {
  // The wait is for the run's end, so that a short run is over as soon as it ends;
  // signals are looked at between two waits.
  if (doc.WaitForRunEnd(std::chrono::milliseconds(kRedrawMs))) return false;
  const int interrupts = signals_.Wait(0);
  if (interrupts > 0 && output_.CountdownShown()) {
    // Ctrl+C during a countdown only cancels what it counts down to.
    output_.CancelCountdown();
  } else if (interrupts > 0 && !stopping_) {
    stopping_ = true;
    output_.Error("stopping; press Ctrl+C again to stop at once");
    doc.Stop();
  } else if (interrupts > 0) {
    doc.ForcedStop();
    return false;
  }
  const CQNRunCounters counters = doc.Counters();
  output_.Progress({counters.files, counters.bytes, doc.NodeCount()});
  const auto now = std::chrono::steady_clock::now();
  if (autosave_.count() > 0 && doc.run.running && now - lastSave_ >= autosave_) {
    save();
    lastSave_ = now;
  }
  return true;
}

}  // namespace qn
