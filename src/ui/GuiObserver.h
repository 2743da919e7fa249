#pragma once

// The engine's notifications for the desktop program: each is queued onto the GUI
// thread, where the main window handles it; nothing from a run's threads touches a
// widget.

#include <QObject>
#include <QPointer>
#include <functional>

#include "seams/Observer.h"
#include "text/Texts.h"
#include "ui/EventQueue.h"
#include "ui/GuiQuestions.h"
#include "ui/TreeEvents.h"

namespace qn {

class CQNMainFrame;

class QNGuiObserver : public IQNObserver {
 public:
  // Called on the GUI thread.
  void SetFrame(CQNMainFrame* frame);

  void OnTreeCleared() override;
  void OnTreeUsable(bool usable) override;
  void OnTreeRebuilt() override;
  // The contents pane rebuilds the display; without a frame nothing would.
  bool ShowsTree() const override { return treeEvents_ != nullptr; }
  void OnNodeChanged(const QNNodeId& node, bool subtree) override;
  void OnNodeAdded(const QNNodeId& node) override;
  void OnLogText(const std::string& text) override;
  void OnStatus(const QNStatus& status) override;
  void OnRunStarted() override;
  void OnRunEnded() override;
  void ShowMessage(int id, const std::string& text) override;
  void ShowWait(const std::string& text, bool shown) override;
  // Called on the GUI thread, before any project is opened.
  void SetTreeReadyHandler(std::function<void()> handler) { treeReady_ = std::move(handler); }
  // The handler runs on the GUI thread once the work that made the tree ready (an
  // open, a start-up step) has returned.
  void OnTreeReady() override;
  void CancelQuestions() override { questions_.CancelAll(); }

 protected:
  std::optional<std::string> DoAskPassword() override;
  // The countdown dialog over the main window; a run's thread waits for it.
  bool DoCountdown(const std::string& format, int seconds) override;
  // "Choose the Download Type" over the main window.
  int DoAskDownloadKind(const QNDownloadKindOffer& offer) override;

 private:
  // Runs `work` with the frame: at once on the GUI thread, otherwise queued onto it
  // (dropped when the frame is gone by then).
  void Deliver(std::function<void(CQNMainFrame&)> work);

  void PushTree(const QNTreeEvent& event);

  QPointer<CQNMainFrame> frame_;
  // The frame's texts (they follow a change of language), for the questions' dialogs.
  QNTexts texts_;
  std::function<void()> treeReady_;
  QNGuiQuestions questions_;
  // The frame's queues for the tree and the log; set with the frame, before any run.
  QNTreeEventQueue* treeEvents_ = nullptr;
  QNEventQueue<std::string>* logEvents_ = nullptr;
};

}  // namespace qn
