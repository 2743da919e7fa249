#pragma once

// The small window that stands while the program waits for work it cannot break off
// (a forced stop waiting for a run's threads). It has no close button and Escape does
// nothing: closing it could leave the work half done.

#include <QDialog>
#include <functional>

#include "text/Texts.h"

namespace qn {

class QNWaitWindow : public QDialog {
  Q_OBJECT

 public:
  QNWaitWindow(const QString& text, const QNTexts& texts, QWidget* parent = nullptr);

  // Closes the window; only the waiting side calls it.
  void Finish();
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool finished_ = false;
};

// Runs `work` on a thread of its own and returns once it has ended. Meanwhile the
// wait window shows `text` modally over `parent`, and this (the GUI) thread goes on
// handling its events: the windows are drawn, timers fire and queued notifications
// are handled, while nothing but the wait window takes the user's input.
void RunBehindWaitWindow(const QString& text, const QNTexts& texts, QWidget* parent,
                         const std::function<void()>& work);

}  // namespace qn
