#pragma once

// What a download run needs from the program around it: the command-line flags and
// program options it reads, and the actions other parts of the program carry out
// (log and report files, saving, dial-up, link conversion). An action left empty is
// skipped where the run would call it. What follows a run (hang-up, exit, shutdown,
// the scheduler) is the program's to decide from how the run ended (QNRunEnd).

#include <chrono>
#include <functional>
#include <string>

#include "engine/RunState.h"
#include "storage/ReportEntry.h"
#include "web/InternetOptions.h"

namespace qn {

struct QNRunHooks {
  // Determines the log's path and empties it; the run goes on when it fails.
  std::function<void()> resetLog;
  // Determines the report's name and creates it (called only with QN_REPORT on).
  std::function<void()> createReport;
  std::function<void()> reportHeader;
  std::function<void(const QNReportEntry&)> reportRow;  // only with QN_REPORT on
  std::function<void()> reportFooter;
  // Dials when the project needs it; false with the dialer's error text.
  std::function<bool(std::string& error)> dial;
  // Writes the project file, holding the tree lock and then the queue lock.
  std::function<void()> saveProject;
  // Converts the links of every start address's subtree; runs on the controller.
  std::function<void()> convertLinks;
  // The run is over: its log, report and end procedure are done. Called on the
  // controller thread, outside the run's gate, before the run counts as ended, so it
  // may take its time and ask questions; not called for a run whose threads a forced
  // stop gave up on.
  std::function<void(const QNRunEnd&)> runEnded;
};

// Copied when a run starts: the program may change its own copy (options, the
// scheduler's flags) while the run goes on.
struct QNRunEnvironment {
  bool unattended = false;    // "-D" or the scheduler: no questions are asked
  bool convertAfter = false;  // "-CONV"
  QNInternetOptions internet;
  std::string programDir;  // ends with a separator
  // How long a forced stop waits for the run's threads before it gives up on them.
  std::chrono::milliseconds forcedStopWait{10000};
  QNRunHooks hooks;
};

}  // namespace qn
