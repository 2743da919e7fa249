#pragma once

// The run flags and counters of a download. The flags are polled by the controller,
// the workers and the user interface without a lock; the counters are guarded by
// the document's file-count, attempt-count and byte-total locks.

#include <atomic>
#include <cstdint>

namespace qn {

// Why the last run ended early.
enum QNStopReason : int { kStopNone = 0, kStopFiles = 1, kStopTime = 2, kStopDiskSpace = 3 };

// How the last run ended; `DownloadState` keeps the same values in the project.
enum QNDownloadState : int {
  kNeverRun = 0,
  kInterrupted = 1,
  kDownloadCompleted = 2,
  kPreviewCompleted = 3,
  kRunning = 4,
};

// How a run ended, for the program to decide what follows it.
struct QNRunEnd {
  bool started = false;  // the start procedure succeeded
  bool preview = false;
  bool stoppedByUser = false;     // Stop (or a failure of the run) ended it
  bool aborted = false;           // a forced stop ended it
  int stopReason = kStopNone;     // the limit that ended it
  int downloadState = kNeverRun;  // DownloadState as the run left it
};

struct CQNRunFlags {
  std::atomic<bool> stopRequest{false};
  std::atomic<bool> stoppedByUser{false};  // the stop request as the run ended
  std::atomic<bool> paused{false};
  std::atomic<bool> aborted{false};  // a forced stop is under way
  std::atomic<bool> work{false};     // cleared by the primary worker when no work is left
  std::atomic<bool> running{false};
  std::atomic<bool> preview{false};
  std::atomic<bool> closingForShutdown{false};
  std::atomic<int> stopReason{kStopNone};
  std::atomic<std::int64_t> startTime{0};  // seconds since 1970
};

// The limits that end a run, as the settings hold them when they are checked.
struct QNRunLimits {
  bool files = false;
  std::int64_t maxFiles = 0;
  bool time = false;
  std::int64_t seconds = 0;
  bool diskSpace = false;
  double maxBytes = 0;
};

struct CQNRunCounters {
  int files = 0;           // files downloaded
  int attempts = 0;        // fetches started and not failed
  std::int64_t bytes = 0;  // bytes downloaded
};

}  // namespace qn
