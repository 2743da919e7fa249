#pragma once

// The busy pointer over every window of the program while it stands.

#include <QApplication>

namespace qn {

class QNWaitCursor {
 public:
  QNWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~QNWaitCursor() { QApplication::restoreOverrideCursor(); }
  QNWaitCursor(const QNWaitCursor&) = delete;
  QNWaitCursor& operator=(const QNWaitCursor&) = delete;
};

}  // namespace qn
