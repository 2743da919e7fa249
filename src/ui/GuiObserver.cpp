#include "ui/GuiObserver.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QThread>

#include "ui/CountdownDialog.h"
#include "ui/MainFrame.h"

namespace qn {
namespace {

bool OnGuiThread() {
  return QThread::currentThread() == qApp->thread();
}

}  // namespace

void QNGuiObserver::SetFrame(CQNMainFrame* frame) {
  frame_ = frame;
}

void QNGuiObserver::Deliver(std::function<void(CQNMainFrame&)> work) {
  // The frame is set before any run starts and outlives the runs, so the pointer
  // may be read on any thread; the frame itself is used on its own thread only.
  QPointer<CQNMainFrame> frame = frame_;
  if (!frame) return;
  if (OnGuiThread()) {
    work(*frame);
    return;
  }
  QMetaObject::invokeMethod(
      frame.data(),
      [frame, work = std::move(work)] {
        if (frame) work(*frame);
      },
      Qt::QueuedConnection);
}

void QNGuiObserver::OnStatus(const QNStatus& status) {
  if (!(status.mask & QNStatus::kStatusText)) return;
  Deliver([text = status.text1](CQNMainFrame& frame) { frame.ShowStatusText(text); });
}

void QNGuiObserver::OnRunStarted() {
  Deliver([](CQNMainFrame& frame) { frame.UpdateCommands(); });
}

void QNGuiObserver::OnRunEnded() {
  Deliver([](CQNMainFrame& frame) { frame.UpdateCommands(); });
}

void QNGuiObserver::ShowMessage(int /*id*/, const std::string& text) {
  Deliver([text](CQNMainFrame& frame) { frame.ShowMessage(text); });
}

std::optional<std::string> QNGuiObserver::DoAskPassword() {
  // Asked while a project is opened or closed, which happens on the GUI thread; a
  // question from anywhere else is answered with Cancel.
  if (!OnGuiThread()) return std::nullopt;
  bool ok = false;
  const QString password =
      QInputDialog::getText(frame_, QObject::tr("Enter Password"), QObject::tr("&Password:"),
                            QLineEdit::Password, QString(), &ok);
  if (!ok) return std::nullopt;
  return password.toStdString();
}

void QNGuiObserver::ShowWait(const std::string& text, bool shown) {
  Deliver([text, shown](CQNMainFrame& frame) {
    frame.ShowStatusText(shown ? text : std::string());
    // Opening a large project keeps the GUI thread busy: the text must show now.
    frame.RepaintStatus();
  });
}

void QNGuiObserver::OnTreeReady() {
  if (!treeReady_) return;
  QPointer<CQNMainFrame> frame = frame_;
  if (!frame) return;
  QMetaObject::invokeMethod(frame.data(), treeReady_, Qt::QueuedConnection);
}

bool QNGuiObserver::DoCountdown(const std::string& format, int seconds) {
  return questions_.Ask([this, format, seconds] {
    return std::make_unique<CQNCountdownDialog>(format, seconds, frame_.data());
  });
}

}  // namespace qn
