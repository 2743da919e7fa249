#include "cli/CliActions.h"

#include "app/Shutdown.h"
#include "text/MessageIds.h"

namespace qn {

QNCliActions::QNCliActions(QNCliOutput& output, QNSignalWatch& signalWatch)
    : output_(output), signals_(signalWatch), options_(LoadCliProgramOptions()) {}

void QNCliActions::Install(QNRunEnvironment& environment, CQNDoc& doc, bool hangUpWanted,
                           bool entryShutsDown) {
  environment.autoShutdown = options_.autoShutdown;
  const QNMessenger messenger{output_, doc.Texts()};
  environment.hooks.dial = [this, messenger](std::string& error) {
    return dialUp_.DialIfNeeded(options_.dialUp, messenger, error);
  };
  environment.hooks.hangUp = [this, messenger, &doc, hangUpWanted] {
    // The hang-up message replaces the run's last status, which comes back after it
    // unless the user stopped the run.
    std::string finalStatus;
    if (!doc.run.stoppedByUser)
      finalStatus =
          messenger.texts.Text(doc.run.stopReason != kStopNone ? kMsgStopped : kMsgCompleted);
    dialUp_.HangUpIfAsked(options_.dialUp, hangUpWanted, messenger, finalStatus);
  };
  environment.hooks.endAction = [this, entryShutsDown](QNEndAction action) {
    if (action == QNEndAction::Shutdown || (action == QNEndAction::ScheduleEntry && entryShutsDown))
      shutdownAsked_ = true;
  };
}

bool QNCliActions::CarryOutEndAction(CQNDoc& doc, const std::function<void()>& save) {
  if (!shutdownAsked_.exchange(false)) return false;
  QNShutdownSteps steps;
  steps.markClosing = [&doc](bool closing) { doc.run.closingForShutdown = closing; };
  steps.countdown = [this](const std::string& format, int seconds) {
    return output_.CountdownWatching(format, seconds, [this] { return signals_.Wait(1000) > 0; });
  };
  // quillorne-cli changes no program option, so it has none to save.
  steps.saveOptions = [] {};
  steps.saveProject = save;
  steps.closeProgram = [] {};
  steps.texts = doc.Texts();
  switch (ShutDownOrExit(true, steps)) {
    case QNShutdownResult::kPoweringOff:
      output_.Error("the computer is being shut down");
      return true;
    case QNShutdownResult::kPowerOffFailed:
      output_.Error(
          "the computer could not be shut down: systemctl --no-ask-password poweroff failed");
      return false;
    default:
      return false;
  }
}

}  // namespace qn
