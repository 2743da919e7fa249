#pragma once

// The run flags and counters of a download. The flags are polled by the controller,
// the workers and the user interface without a lock; the counters are guarded by
// the document's file-count, attempt-count and byte-total locks.

#include <atomic>
#include <cstdint>

namespace qn {

struct CQNRunFlags {
  std::atomic<bool> stopRequest{false};
  std::atomic<bool> paused{false};
  std::atomic<bool> aborted{false};
  std::atomic<bool> work{false};
  std::atomic<bool> running{false};
};

struct CQNRunCounters {
  int files = 0;           // files downloaded
  int attempts = 0;        // fetches started and not failed
  std::int64_t bytes = 0;  // bytes downloaded
};

}  // namespace qn
