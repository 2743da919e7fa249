#include "engine/RunGate.h"

namespace qn {

bool QNRunGate::Enter() {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  ++inside_;
  return true;
}

void QNRunGate::Leave() {
  std::lock_guard lock(mutex_);
  if (--inside_ == 0) left_.notify_all();
}

void QNRunGate::Close() {
  std::unique_lock lock(mutex_);
  closed_ = true;
  left_.wait(lock, [this] { return inside_ == 0; });
}

bool QNRunGate::IsClosed() {
  std::lock_guard lock(mutex_);
  return closed_;
}

void QNRunPass::Release() {
  if (held_) gate_.Leave();
  held_ = false;
}

bool QNRunPass::Reacquire() {
  if (!held_) held_ = gate_.Enter();
  return held_;
}

}  // namespace qn
