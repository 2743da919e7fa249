#pragma once

// The end action that closes the program or powers the computer off. Runs on the
// thread that owns the program's windows (the main loop of quillorne-cli), which
// also saves.

#include <functional>
#include <string>
#include <vector>

#include "text/Texts.h"

namespace qn {

// What powers the computer off; tests give a command of their own, since CI runs as
// root and the real one would be obeyed.
inline const std::vector<std::string> kPowerOffCommand{"systemctl", "--no-ask-password",
                                                       "poweroff"};

// The program's side of the end action.
struct QNShutdownSteps {
  // Marks the open project as closing for shutdown, so that it is saved without a
  // question (false: the mark is cleared again).
  std::function<void(bool closing)> markClosing;
  // The 10-second countdown; false when it was cancelled.
  std::function<bool(const std::string& format, int seconds)> countdown;
  std::function<void()> saveOptions;
  // Saves the open project when it is modified.
  std::function<void()> saveProject;
  // Asks the main window to close (the program exits).
  std::function<void()> closeProgram;
  QNTexts texts;
};

enum class QNShutdownResult {
  kClosing,    // only the program closes
  kCancelled,  // the countdown was cancelled: nothing was saved, the program stays
  kPoweringOff,
  kPowerOffFailed,  // the computer keeps running; the program closes
};

// Shuts the computer down (`shutdown`) or only closes the program.
QNShutdownResult ShutDownOrExit(bool shutdown, const QNShutdownSteps& steps,
                                const std::vector<std::string>& powerOff = kPowerOffCommand);

}  // namespace qn
