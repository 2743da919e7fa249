#include "ui/CopyJob.h"

#include <QtConcurrent/QtConcurrentRun>

namespace qn {

QNCopyJob::QNCopyJob() {
  connect(&watcher_, &QFutureWatcher<bool>::finished, this,
          [this] { Q_EMIT Finished(watcher_.result()); });
}

QNCopyJob::~QNCopyJob() {
  stop_ = true;
  watcher_.waitForFinished();
}

bool QNCopyJob::Start(QNProjectFiles files, const CQNDocTree& tree, QNCopyRequest request,
                      QNMessenger messenger) {
  if (Running()) return false;
  stop_ = false;
  // Reported through a queued call, which is dropped once this job is gone.
  const QNCopyProgress progress = [this](int percent) {
    QMetaObject::invokeMethod(
        this, [this, percent] { Q_EMIT Progress(percent); }, Qt::QueuedConnection);
    return !stop_;
  };
  watcher_.setFuture(QtConcurrent::run(
      [files = std::move(files), &tree, request = std::move(request), messenger, progress] {
        try {
          return CopyProject(files, tree, request, messenger, progress);
        } catch (...) {
          // The copy reports its own failures; nothing may leave a pool thread.
          return false;
        }
      }));
  return true;
}

}  // namespace qn
