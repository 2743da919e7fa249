#include "engine/DocLocks.h"

#include <cassert>

namespace qn {
namespace {

// The locks this thread holds, one bit per lock, to check the nesting order.
thread_local unsigned heldLocks = 0;

constexpr unsigned Bit(DocLock which) {
  return 1u << static_cast<int>(which);
}

[[maybe_unused]] bool MayTake(DocLock which) {
  if (heldLocks == 0) return true;
  if (which == DocLock::Queue || which == DocLock::UrlMap) return heldLocks == Bit(DocLock::Tree);
  if (which == DocLock::LogView) return heldLocks == Bit(DocLock::Log);
  return false;
}

}  // namespace

QNDocLockGuard::QNDocLockGuard(std::mutex& mutex, DocLock which)
    : lock_(mutex, std::defer_lock), which_(which) {
  assert(MayTake(which) && "document locks taken out of order");
  lock_.lock();
  heldLocks |= Bit(which);
}

QNDocLockGuard::~QNDocLockGuard() {
  heldLocks &= ~Bit(which_);
}

CQNDocLocks::CQNDocLocks() {
  sets_.push_back(std::make_unique<Set>());
  current_ = sets_.back().get();
}

QNDocLockGuard CQNDocLocks::Hold(DocLock which) {
  return QNDocLockGuard((*current_.load())[static_cast<int>(which)], which);
}

void CQNDocLocks::Renew() {
  sets_.push_back(std::make_unique<Set>());
  current_ = sets_.back().get();
}

}  // namespace qn
