#pragma once

// "Copy Project" at work: the copy runs on a pool thread over a project that no
// run changes meanwhile, tells how far it got, and stops when asked. Its messages
// go through the project's messenger, which the desktop program shows on the GUI
// thread.

#include <QFutureWatcher>
#include <QObject>
#include <atomic>

#include "seams/Messenger.h"
#include "storage/ProjectOperations.h"

namespace qn {

class CQNDocTree;

class QNCopyJob : public QObject {
  Q_OBJECT

 public:
  QNCopyJob();
  // Waits for a copy still running.
  ~QNCopyJob() override;

  // Starts the copy; `tree` must outlive it. False while a copy is still running.
  bool Start(QNProjectFiles files, const CQNDocTree& tree, QNCopyRequest request,
             QNMessenger messenger);
  // "Stop": the walk over the saved files ends after the file in hand.
  void Stop() { stop_ = true; }
  bool Running() const { return watcher_.isRunning(); }

 Q_SIGNALS:
  // On the GUI thread: the share done, and the end with its result.
  void Progress(int percent);
  void Finished(bool copied);

 private:
  QFutureWatcher<bool> watcher_;
  std::atomic<bool> stop_{false};
};

}  // namespace qn
