#include "engine/RunGate.h"

#include "seams/RunPasses.h"

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

QNRunPass::QNRunPass(QNRunGate& gate) : gate_(gate), held_(gate.Enter()) {
  if (held_) ++RunPassesHeld();
}

void QNRunPass::Release() {
  if (!held_) return;
  gate_.Leave();
  held_ = false;
  --RunPassesHeld();
}

bool QNRunPass::Reacquire() {
  if (!held_) {
    held_ = gate_.Enter();
    if (held_) ++RunPassesHeld();
  }
  return held_;
}

}  // namespace qn
