#include "engine/TreeReady.h"

namespace qn {

void QNTreeReady::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

void QNTreeReady::Set() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  changed_.notify_all();
}

bool QNTreeReady::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool QNTreeReady::Wait(const std::function<bool()>& giveUp, std::chrono::milliseconds step) const {
  std::unique_lock lock(mutex_);
  while (!set_) {
    if (giveUp && giveUp()) return false;
    changed_.wait_for(lock, step);
  }
  return true;
}

}  // namespace qn
