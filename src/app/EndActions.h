#pragma once

// What follows a download run or a link conversion: the one place where the program
// decides it. The engine only reports how a run ended (QNRunEnd); the desktop
// program, quillorne-cli and the scheduler carry out what this decides.

#include "engine/RunState.h"

namespace qn {

// What the program was started with and its options, as far as the end of a run
// goes.
struct QNEndPolicy {
  bool commandLineDownload = false;  // a project and "-D" on the command line
  bool commandLineConvert = false;   // a project and "-CONV" on the command line
  bool exitAfter = false;            // "-E"
  bool shutdownAfter = false;        // "-SHUT"
  bool disconnectAfter = false;      // "-DISC"
  bool scheduled = false;            // the scheduler started the run
  bool entryHangsUp = false;         // the schedule entry's "Auto Disconnect"
  bool entryShutsDown = false;       // the schedule entry's "Auto Shutdown"
  bool autoDisconnect = false;       // program option "AutoDisconn"
  bool autoShutdown = false;         // program option "AutoShutdown"
  bool useTray = false;              // program option "UseTray"
};

enum class QNEndAction { kNone, kExit, kShutdown };

// The steps after a run, in the order they are carried out.
struct QNEndActions {
  bool trayIdle = false;  // the notification-area icon goes back to its idle picture
  bool hangUp = false;    // hang up the connection the run dialed (after its countdown)
  QNEndAction action = QNEndAction::kNone;  // exit, or shut down after its countdown
  // The scheduler started the run: save the project without asking, then tell the
  // scheduler the run has finished.
  bool handBack = false;

  bool operator==(const QNEndActions&) const = default;
};

// After a download run. The icon goes back after every run that started. Hanging up
// follows "-DISC" with a command-line download, else the schedule entry for a
// scheduled run, else "AutoDisconn", however the run ended. An exit or a shutdown
// follows only a run that started and ended by itself or by a limit (not by Stop,
// not by force): with a command-line download "-SHUT" shuts down and "-E" exits;
// else a scheduled run shuts down when its entry asks for it; else "AutoShutdown"
// shuts down. A scheduled run is handed back however it ended, also when it could
// not start, so that its entry never stays "running".
QNEndActions DecideEndActions(const QNRunEnd& end, const QNEndPolicy& policy);

// After a link conversion that the command line asked for ("-CONV" with a project):
// "-SHUT" shuts down, "-E" exits, or nothing; a conversion that was stopped does
// neither.
QNEndAction DecideConversionEndAction(bool stopped, const QNEndPolicy& policy);

}  // namespace qn
