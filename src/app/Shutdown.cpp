#include "app/Shutdown.h"

#include <chrono>

#include "app/SystemCommand.h"
#include "text/MessageIds.h"

namespace qn {
namespace {

constexpr int kShutdownSeconds = 10;
constexpr std::chrono::seconds kPowerOffLimit{30};

}  // namespace

QNShutdownResult ShutDownOrExit(bool shutdown, const QNShutdownSteps& steps,
                                const std::vector<std::string>& powerOff) {
  steps.markClosing(true);
  if (!shutdown) {
    steps.closeProgram();
    return QNShutdownResult::kClosing;
  }
  if (!steps.countdown(steps.texts.Text(kMsgShutdownCountdown), kShutdownSeconds)) {
    // The project goes back to asking before it is closed unsaved.
    steps.markClosing(false);
    return QNShutdownResult::kCancelled;
  }
  steps.saveOptions();
  steps.saveProject();
  if (!powerOff.empty()) {
    const std::vector<std::string> args(powerOff.begin() + 1, powerOff.end());
    if (RunCommand(powerOff.front(), args, kPowerOffLimit).Succeeded())
      return QNShutdownResult::kPoweringOff;
  }
  steps.closeProgram();
  return QNShutdownResult::kPowerOffFailed;
}

}  // namespace qn
