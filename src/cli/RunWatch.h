#pragma once

// The main loop's part while a download runs: Ctrl+C, the progress line and the
// periodic save.

#include <chrono>
#include <functional>

#include "cli/CliOutput.h"
#include "cli/SignalWatch.h"
#include "engine/Doc.h"

namespace qn {

class QNRunWatch {
 public:
  QNRunWatch(QNCliOutput& output, QNSignalWatch& signalWatch, int autosaveSeconds);

  // Waits up to a tenth of a second for Ctrl+C: during a countdown it cancels the
  // countdown, the first one stops the run, the next stops it by force. Then redraws
  // the progress line and saves through `save` when the period has passed. False
  // once the run has ended or was stopped by force.
  bool Step(CQNDoc& doc, const std::function<void()>& save);
  // Ctrl+C stopped the run.
  bool Stopping() const { return stopping_; }

 private:
  QNCliOutput& output_;
  QNSignalWatch& signals_;
  const std::chrono::seconds autosave_;
  std::chrono::steady_clock::time_point lastSave_;
  bool stopping_ = false;
};

}  // namespace qn
