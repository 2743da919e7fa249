#include "cli/CliActions.h"

#include "app/ConnectionHooks.h"
#include "app/RunOptions.h"
#include "app/Shutdown.h"

namespace qn {

QNCliActions::QNCliActions(QNCliOutput& output, QNSignalWatch& signalWatch)
    : output_(output), signals_(signalWatch), options_(LoadCliProgramOptions()) {}

void QNCliActions::Install(QNRunEnvironment& environment, CQNDoc& doc, QNEndPolicy policy) {
  policy.autoDisconnect = options_.shared.AutoDisconn;
  policy.autoShutdown = options_.shared.AutoShutdown;
  policy_ = policy;
  environment.internet = InternetOptionsFrom(options_.shared);
  const QNMessenger messenger{output_, doc.Texts()};
  InstallDialHook(environment, dialUp_, options_.dialUp, messenger);
  environment.hooks.runEnded = [this, messenger, policy](const QNRunEnd& end) {
    if (DecideEndActions(end, policy).hangUp)
      HangUpAfterRun(dialUp_, options_.dialUp, messenger, end);
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
