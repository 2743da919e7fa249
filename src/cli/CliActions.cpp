#include "cli/CliActions.h"

#include "app/Shutdown.h"
#include "text/MessageIds.h"

namespace qn {

QNCliActions::QNCliActions(QNCliOutput& output, QNSignalWatch& signalWatch)
    : output_(output), signals_(signalWatch), options_(LoadCliProgramOptions()) {}

void QNCliActions::Install(QNRunEnvironment& environment, CQNDoc& doc, QNEndPolicy policy) {
  policy.autoDisconnect = options_.autoDisconnect;
  policy.autoShutdown = options_.autoShutdown;
  policy_ = policy;
  const QNMessenger messenger{output_, doc.Texts()};
  environment.hooks.dial = [this, messenger](std::string& error) {
    return dialUp_.DialIfNeeded(options_.dialUp, messenger, error);
  };
  environment.hooks.runEnded = [this, messenger, policy](const QNRunEnd& end) {
    if (!DecideEndActions(end, policy).hangUp) return;
    // The hang-up message replaces the run's last status, which comes back after it
    // unless the user stopped the run.
    std::string finalStatus;
    if (!end.stoppedByUser)
      finalStatus = messenger.texts.Text(end.stopReason != kStopNone ? kMsgStopped : kMsgCompleted);
    dialUp_.HangUpIfDialed(options_.dialUp, messenger, finalStatus);
  };
}

bool QNCliActions::CarryOutEndAction(CQNDoc& doc, const std::function<void()>& save) {
  const std::optional<QNRunEnd> end = doc.LastRunEnd();
  return end && CarryOut(DecideEndActions(*end, policy_).action, doc, save);
}

bool QNCliActions::CarryOut(QNEndAction action, CQNDoc& doc, const std::function<void()>& save) {
  // The program ends after its run in any case: only a shutdown is left to do.
  if (action != QNEndAction::kShutdown) return false;
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
