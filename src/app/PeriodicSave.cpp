#include "app/PeriodicSave.h"

#include <algorithm>
#include <limits>

namespace qn {

int PeriodicSaveMs(int minutes) {
  const long long ms = std::max(minutes, 1) * 60000LL;
  return static_cast<int>(std::min<long long>(ms, std::numeric_limits<int>::max()));
}

QNPeriodicSave::QNPeriodicSave(std::function<void()> save) {
  timer_.callOnTimeout(std::move(save));
}

void QNPeriodicSave::Start(int minutes) {
  timer_.start(PeriodicSaveMs(minutes));
}

}  // namespace qn
