#pragma once

// The progress window's clock and speed, without the window: bytes reported during
// a second are added up, and each tick of the one-second timer turns them into the
// speed shown. A second without bytes halves the speed instead of showing 0 at once,
// so that a short stall does not make the figure jump.

#include <chrono>
#include <cstdint>
#include <string>

namespace qn {

// " 12.3 KB/sec": the speed in thousands of bytes per second with its unit.
std::string FormatSpeed(double speed, const std::string& unit);
// "h:mm:ss", hours counted modulo 24.
std::string FormatElapsed(std::chrono::seconds elapsed);

class QNProgressMeter {
 public:
  using Clock = std::chrono::steady_clock;

  // A status record's progress value: -1 the run starts (the clock starts), -2 all
  // start addresses are done (the clock stops, the speed is cleared), anything else
  // bytes received.
  void OnProgress(std::int64_t value, Clock::time_point now);
  // One tick of the timer: the speed of the second that ended.
  void Tick();

  bool Running() const { return running_; }
  double Speed() const { return speed_; }
  std::chrono::seconds Elapsed(Clock::time_point now) const;

 private:
  bool running_ = false;
  Clock::time_point start_{};
  std::int64_t bytesThisSecond_ = 0;
  double speed_ = 0;
};

}  // namespace qn
