#include "ui/ProgressMeter.h"

#include <cstdio>

namespace qn {

std::string FormatSpeed(double speed, const std::string& unit) {
  char text[64];
  std::snprintf(text, sizeof text, " %.1f ", speed);
  return text + unit;
}

std::string FormatElapsed(std::chrono::seconds elapsed) {
  const long long total = elapsed.count() < 0 ? 0 : elapsed.count();
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(total / 3600 % 24),
                static_cast<int>(total / 60 % 60), static_cast<int>(total % 60));
  return text;
}

void QNProgressMeter::OnProgress(std::int64_t value, Clock::time_point now) {
  if (value == -1) {
    running_ = true;
    start_ = now;
    bytesThisSecond_ = 0;
  } else if (value == -2) {
    running_ = false;
    speed_ = 0;
    bytesThisSecond_ = 0;
  } else if (value > 0) {
    bytesThisSecond_ += value;
  }
}

void QNProgressMeter::Tick() {
  speed_ = bytesThisSecond_ != 0 ? static_cast<double>(bytesThisSecond_) * 0.001 : speed_ * 0.5;
  bytesThisSecond_ = 0;
}

std::chrono::seconds QNProgressMeter::Elapsed(Clock::time_point now) const {
  return std::chrono::duration_cast<std::chrono::seconds>(now - start_);
}

}  // namespace qn
