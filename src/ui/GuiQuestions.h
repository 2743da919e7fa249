#pragma once

// Dialogs that a run's threads ask of the person, shown on the GUI thread. A thread
// other than the GUI thread waits for the answer. Cancelling answers every question
// asked, shown or still queued, with its cancel answer and closes its dialog, so
// that a run waiting on one can be stopped in time.

#include <QDialog>
#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace qn {

class QNGuiQuestions {
 public:
  // Made on the GUI thread. The runs that ask must have ended before it goes.
  QNGuiQuestions() = default;
  ~QNGuiQuestions() { CancelAll(); }
  QNGuiQuestions(const QNGuiQuestions&) = delete;
  QNGuiQuestions& operator=(const QNGuiQuestions&) = delete;

  // Shows the dialog that `make` builds, modally, on the GUI thread; true when it
  // was accepted, false when it was rejected or cancelled. Any thread.
  bool Ask(std::function<std::unique_ptr<QDialog>()> make);
  // Answers every question asked so far with false. Any thread.
  void CancelAll();

 private:
  struct Question;
  void RunOnGuiThread(std::function<void()> work);

  QObject context_;
  std::mutex mutex_;
  std::vector<std::shared_ptr<Question>> asked_;
};

}  // namespace qn
