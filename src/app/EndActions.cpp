#include "app/EndActions.h"

namespace qn {
namespace {

QNEndAction CommandLineAction(const QNEndPolicy& policy) {
  if (policy.shutdownAfter) return QNEndAction::kShutdown;
  return policy.exitAfter ? QNEndAction::kExit : QNEndAction::kNone;
}

}  // namespace

QNEndActions DecideEndActions(const QNRunEnd& end, const QNEndPolicy& policy) {
  QNEndActions actions;
  actions.trayIdle = end.started && policy.useTray;
  if (policy.commandLineDownload)
    actions.hangUp = policy.disconnectAfter;
  else if (policy.scheduled)
    actions.hangUp = policy.entryHangsUp;
  else
    actions.hangUp = policy.autoDisconnect;
  if (end.started && !end.stoppedByUser && !end.aborted) {
    if (policy.commandLineDownload)
      actions.action = CommandLineAction(policy);
    else if (policy.scheduled)
      actions.action = policy.entryShutsDown ? QNEndAction::kShutdown : QNEndAction::kNone;
    else if (policy.autoShutdown)
      actions.action = QNEndAction::kShutdown;
  }
  actions.handBack = policy.scheduled;
  return actions;
}

QNEndAction DecideConversionEndAction(bool stopped, const QNEndPolicy& policy) {
  if (stopped || !policy.commandLineConvert) return QNEndAction::kNone;
  return CommandLineAction(policy);
}

}  // namespace qn
