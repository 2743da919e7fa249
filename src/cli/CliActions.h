#pragma once

// What quillorne-cli does around a download, as the desktop program does: dialing
// before it, and after it what DecideEndActions calls for (hanging up, shutting the
// computer down).

#include <functional>

#include "app/DialUp.h"
#include "app/EndActions.h"
#include "cli/CliOutput.h"
#include "cli/CliProgramOptions.h"
#include "cli/SignalWatch.h"
#include "engine/Doc.h"

namespace qn {

class QNCliActions {
 public:
  QNCliActions(QNCliOutput& output, QNSignalWatch& signalWatch);

  const QNCliProgramOptions& Options() const { return options_; }
  // The policy of the last Install.
  const QNEndPolicy& Policy() const { return policy_; }

  // Fills the run's proxy and redirection options, its dial-up hook and the hang-up
  // that follows the run. `policy` holds the command line and the schedule entry;
  // "AutoDisconn" and "AutoShutdown" come from the program options.
  void Install(QNRunEnvironment& environment, CQNDoc& doc, QNEndPolicy policy);

  // After the run has ended, on the main loop's thread: the shutdown its end calls
  // for, after a countdown that Ctrl+C cancels; `save` saves the open project. True
  // when the computer is being powered off.
  bool CarryOutEndAction(CQNDoc& doc, const std::function<void()>& save);
  // The same for an action decided after a link conversion.
  bool CarryOut(QNEndAction action, CQNDoc& doc, const std::function<void()>& save);

 private:
  QNCliOutput& output_;
  QNSignalWatch& signals_;
  QNCliProgramOptions options_;
  QNEndPolicy policy_;
  CQNDialUp dialUp_;
};

}  // namespace qn
