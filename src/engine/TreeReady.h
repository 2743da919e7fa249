#pragma once

// The tree-ready event: reset before the tree display is cleared and set when the
// display has rebuilt itself, so that the tree is not discarded under a display
// still reading it and a download asked for on the command line or by the
// scheduler starts on a display that shows the tree. Any thread.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace qn {

class QNTreeReady {
 public:
  void Reset();
  void Set();
  bool IsSet() const;
  // Waits until it is set or `giveUp` answers true, asking it every `step`; true
  // when it is set.
  bool Wait(const std::function<bool()>& giveUp, std::chrono::milliseconds step) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_ = true;  // a tree nobody has shown yet is ready
};

}  // namespace qn
