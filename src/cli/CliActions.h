#pragma once

// What quillorne-cli does around a download, as the desktop program does: dialing
// before it, hanging up after it, and shutting the computer down at its end.

#include <atomic>
#include <functional>

#include "app/DialUp.h"
#include "cli/CliOutput.h"
#include "cli/CliProgramOptions.h"
#include "cli/SignalWatch.h"
#include "engine/Doc.h"

namespace qn {

class QNCliActions {
 public:
  QNCliActions(QNCliOutput& output, QNSignalWatch& signalWatch);

  const QNCliProgramOptions& Options() const { return options_; }

  // Fills the run's dial-up, hang-up and end-action hooks. `hangUpWanted` is what
  // decides the hang-up for this run ("-DISC", the schedule entry or "AutoDisconn");
  // `entryShutsDown` the schedule entry's "Auto Shutdown".
  void Install(QNRunEnvironment& environment, CQNDoc& doc, bool hangUpWanted, bool entryShutsDown);

  // After the run has ended, on the main loop's thread: the shutdown the run asked
  // for, after a countdown that Ctrl+C cancels; `save` saves the open project. True
  // when the computer is being powered off.
  bool CarryOutEndAction(CQNDoc& doc, const std::function<void()>& save);

 private:
  QNCliOutput& output_;
  QNSignalWatch& signals_;
  QNCliProgramOptions options_;
  CQNDialUp dialUp_;
  std::atomic<bool> shutdownAsked_{false};
};

}  // namespace qn
