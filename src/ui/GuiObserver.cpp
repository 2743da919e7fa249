#include "ui/GuiObserver.h"

#include <QApplication>
#include <QThread>
#include <memory>

#include "ui/CountdownDialog.h"
#include "ui/DownloadKindDialog.h"
#include "ui/MainFrame.h"
#include "ui/PasswordDialog.h"

namespace qn {
namespace {

bool OnGuiThread() {
  return QThread::currentThread() == qApp->thread();
}

}  // namespace

void QNGuiObserver::SetFrame(CQNMainFrame* frame) {
  frame_ = frame;
  if (frame) texts_ = frame->Texts();
  treeEvents_ = frame ? &frame->TreeEvents() : nullptr;
  logEvents_ = frame ? &frame->LogEvents() : nullptr;
}

void QNGuiObserver::PushTree(const QNTreeEvent& event) {
  if (treeEvents_) treeEvents_->Push(event);
}

void QNGuiObserver::OnTreeCleared() {
  PushTree({QNTreeEvent::kCleared, {}, false});
}

void QNGuiObserver::OnTreeUsable(bool usable) {
  PushTree({usable ? QNTreeEvent::kUsable : QNTreeEvent::kDiscarded, {}, false});
}

void QNGuiObserver::OnTreeRebuilt() {
  PushTree({QNTreeEvent::kRebuild, {}, false});
}

void QNGuiObserver::OnNodeChanged(const QNNodeId& node, bool subtree) {
  PushTree({QNTreeEvent::kNode, node, subtree});
}

void QNGuiObserver::OnNodeAdded(const QNNodeId& node) {
  PushTree({QNTreeEvent::kNode, node, false});
}

void QNGuiObserver::OnLogText(const std::string& text) {
  if (logEvents_) logEvents_->Push(text);
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
  Deliver([status](CQNMainFrame& frame) { frame.ShowRunStatus(status); });
}

void QNGuiObserver::OnRunStarted() {
  Deliver([](CQNMainFrame& frame) { frame.OnRunStarted(); });
}

void QNGuiObserver::OnRunEnded() {
  Deliver([](CQNMainFrame& frame) { frame.OnRunEnded(); });
}

void QNGuiObserver::ShowMessage(int /*id*/, const std::string& text) {
  Deliver([text](CQNMainFrame& frame) { frame.ShowMessage(text); });
}

std::optional<std::string> QNGuiObserver::DoAskPassword() {
  // Asked while a project is opened or closed, which happens on the GUI thread; a
  // question from anywhere else is answered with Cancel.
  if (!OnGuiThread()) return std::nullopt;
  QNPasswordDialog dialog(frame_ ? frame_->Texts() : QNTexts(), frame_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Password();
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
    return std::make_unique<CQNCountdownDialog>(format, seconds, texts_, frame_.data());
  });
}

int QNGuiObserver::DoAskDownloadKind(const QNDownloadKindOffer& offer) {
  // Written on the GUI thread before the answer is handed over, read after it.
  auto kind = std::make_shared<int>(0);
  const bool accepted = questions_.Ask([this, offer, kind] {
    auto dialog = std::make_unique<QNDownloadKindDialog>(offer, texts_, frame_.data());
    QNDownloadKindDialog* shown = dialog.get();
    QObject::connect(shown, &QDialog::accepted, shown, [shown, kind] { *kind = shown->Kind(); });
    return dialog;
  });
  return accepted ? *kind : 0;
}

}  // namespace qn
