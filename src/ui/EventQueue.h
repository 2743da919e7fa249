#pragma once

// Values on their way from a run's threads to the GUI thread. Any thread pushes; the
// GUI thread takes all of them at once and handles them in order. The queue's own
// lock hands each value over, so nothing a run's thread made is read on the GUI
// thread without it.

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace qn {

template <typename Event>
class QNEventQueue {
 public:
  // `wake` is called on the pushing thread when the queue was empty: the GUI thread
  // must then be asked to take the values. It must not touch a widget.
  explicit QNEventQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

  void Push(Event event) {
    bool wasEmpty = false;
    {
      std::lock_guard lock(mutex_);
      wasEmpty = events_.empty();
      events_.push_back(std::move(event));
    }
    if (wasEmpty) wake_();
  }

  std::vector<Event> TakeAll() {
    std::lock_guard lock(mutex_);
    return std::exchange(events_, {});
  }

 private:
  const std::function<void()> wake_;
  std::mutex mutex_;
  std::vector<Event> events_;
};

}  // namespace qn
