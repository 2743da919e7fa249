#pragma once

// Ctrl+C (SIGINT) and SIGTERM as events the main loop polls for. The signals are
// blocked in every thread (create the watch before any thread starts, so that the
// threads inherit the mask) and read from a signal descriptor.

namespace qn {

class QNSignalWatch {
 public:
  QNSignalWatch();
  ~QNSignalWatch();
  QNSignalWatch(const QNSignalWatch&) = delete;
  QNSignalWatch& operator=(const QNSignalWatch&) = delete;

  // Waits up to `milliseconds` for a signal; the number of signals that came.
  int Wait(int milliseconds);

 private:
  int fd_ = -1;
};

}  // namespace qn
