#pragma once

// What a download run needs from the program around it: the command-line flags and
// program options it reads, and the actions other parts of the program carry out
// (log and report files, saving, dial-up, link conversion, end actions). An action
// left empty is skipped where the run would call it.

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "web/InternetOptions.h"

namespace qn {

class CQNDocNode;

// One row of the download report.
struct QNReportRow {
  const CQNDocNode* node = nullptr;  // null when the address has no node
  std::string address;
  bool error = false;
  int lastError = 0;  // HTTP status or error number of the fetch
  int outcome = 0;    // 0 transferred, 1 refused before the transfer, 2 kept unchanged
  std::optional<std::time_t> modified;
  std::uint32_t size = 0;
};

enum class QNEndAction { Exit, Shutdown, ScheduleEntry };

struct QNRunHooks {
  // Determines the log's path and empties it; the run goes on when it fails.
  std::function<void()> resetLog;
  // Determines the report's name and creates it (called only with QN_REPORT on).
  std::function<void()> createReport;
  std::function<void()> reportHeader;
  std::function<void(const QNReportRow&)> reportRow;  // only with QN_REPORT on
  std::function<void()> reportFooter;
  // Dials when the project needs it; false with the dialer's error text.
  std::function<bool(std::string& error)> dial;
  // Hangs up when the command line, the schedule entry or the options ask for it.
  std::function<void()> hangUp;
  // Writes the project file, holding the tree lock and then the queue lock.
  std::function<void()> saveProject;
  // Converts the links of every start address's subtree; runs on the controller.
  std::function<void()> convertLinks;
  // Sets the notification-area icon back to its idle picture.
  std::function<void()> trayIdle;
  std::function<void(QNEndAction)> endAction;
  // A run the scheduler started has finished (after the project was saved).
  std::function<void()> scheduledRunFinished;
};

struct QNRunEnvironment {
  bool unattended = false;           // "-D" or the scheduler: no questions are asked
  bool commandLineDownload = false;  // a project and "-D" on the command line
  bool convertAfter = false;         // "-CONV"
  bool exitAfter = false;            // "-E"
  bool shutdownAfter = false;        // "-SHUT"
  bool scheduled = false;            // the scheduler started the run
  bool autoShutdown = false;         // program option "AutoShutdown"
  bool useTray = false;              // program option "UseTray"
  QNInternetOptions internet;
  std::string programDir;  // ends with a separator
  // How long a forced stop waits for the run's threads before it gives up on them.
  std::chrono::milliseconds forcedStopWait{10000};
  QNRunHooks hooks;
};

}  // namespace qn
