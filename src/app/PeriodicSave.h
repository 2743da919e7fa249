#pragma once

#include <QTimer>
#include <functional>

namespace qn {

// The timer period of a save every `minutes` minutes: at least one minute, and at
// most what the timer can hold, however large the stored value.
int PeriodicSaveMs(int minutes);

// Saves the open project every few minutes while a project file is open (the timer
// runs on the thread that made it, the GUI thread).
class QNPeriodicSave {
 public:
  explicit QNPeriodicSave(std::function<void()> save);

  void Start(int minutes);
  void Stop() { timer_.stop(); }
  bool Active() const { return timer_.isActive(); }
  int IntervalMs() const { return timer_.interval(); }

 private:
  QTimer timer_;
};

}  // namespace qn
