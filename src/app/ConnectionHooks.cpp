#include "app/ConnectionHooks.h"

namespace qn {
namespace {

constexpr int kMsgCompleted = 55480;  // "Completed..."
constexpr int kMsgStopped = 55481;    // "Stopped"

}  // namespace

void InstallConnectionHooks(QNRunEnvironment& environment, CQNDoc& doc, CQNDialUp& dialUp,
                            const QNDialUpSettings& settings, bool hangUpWanted) {
  const auto text = environment.text;
  environment.hooks.dial = [&dialUp, &doc, settings, text](std::string& error) {
    return dialUp.DialIfNeeded(settings, doc.Observer(), text, error);
  };
  environment.hooks.hangUp = [&dialUp, &doc, settings, text, hangUpWanted] {
    // The hang-up message replaces the run's last status, which comes back after it
    // unless the user stopped the run.
    std::string finalStatus;
    if (!doc.run.stoppedByUser)
      finalStatus = text(doc.run.stopReason != kStopNone ? kMsgStopped : kMsgCompleted);
    dialUp.HangUpIfAsked(settings, hangUpWanted, doc.Observer(), text, finalStatus);
  };
}

}  // namespace qn
