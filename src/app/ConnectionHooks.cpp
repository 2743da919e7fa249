#include "app/ConnectionHooks.h"

#include "text/MessageIds.h"

namespace qn {

void InstallDialHook(QNRunEnvironment& environment, CQNDialUp& dialUp,
                     const QNDialUpSettings& settings, const QNMessenger& messenger) {
  environment.hooks.dial = [&dialUp, settings, messenger](std::string& error) {
    return dialUp.DialIfNeeded(settings, messenger, error);
  };
}

void HangUpAfterRun(CQNDialUp& dialUp, const QNDialUpSettings& settings,
                    const QNMessenger& messenger, const QNRunEnd& end) {
  std::string finalStatus;
  if (!end.stoppedByUser)
    finalStatus = messenger.texts.Text(end.stopReason != kStopNone ? kMsgStopped : kMsgCompleted);
  dialUp.HangUpIfDialed(settings, messenger, finalStatus);
}

}  // namespace qn
