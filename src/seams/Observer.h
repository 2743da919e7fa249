#pragma once

// The one channel from the engine to whoever shows it: the desktop program queues
// each call onto its GUI thread, the headless front end draws a progress line, and
// tests record the calls. Calls come from the controller and worker threads unless
// a comment says otherwise, often with locks of the document held: an
// implementation returns soon, never calls back into the engine from the call, and
// keeps nothing that points into the tree (a node is named by its QNNodeId, which
// the GUI thread resolves later under the tree lock and may find stale).

#include <cassert>
#include <cstdint>
#include <optional>
#include <string>

#include "seams/NodeId.h"
#include "seams/RunPasses.h"

namespace qn {

// What the dialog "Choose the Download Type" offers; "Start new download" is always
// offered.
struct QNDownloadKindOffer {
  bool ask = false;  // false: start a new download without a dialog
  bool offerContinue = false;
  bool offerSelected = false;
  bool offerFailed = false;
  int preselected = 1;  // the kind preselected in the dialog
};

// What the engine tells the progress window about a worker row and the counters.
struct QNStatus {
  enum Mask : int {
    kText1 = 1,
    kText2 = 2,
    kText3 = 4,
    kFileCount = 8,
    kTotalSize = 16,
    kStatusText = 32,
    kProgress = 64,
    kLinkCount = 128,
  };
  int mask = 0;
  std::string text1, text2, text3;
  std::string fileCountText;
  std::string totalSizeText;
  std::string linkCountText;
  // -1 while starting, -2 when all start addresses are done; on a worker row the
  // bytes received since the row's last record, which a front end adds up per
  // second for the speed
  int progress = 0;
  int worker = -1;  // the row, or -1 for none
  int reserved = 0;
  int clearRows = 0;  // 1: remove all worker rows

  // The same as numbers, for a front end that draws them itself, valid with the
  // mask bits named:
  std::string address;        // kText1: the full address of the row's file
  int category = 0;           // kText1: its file-type category bit (0: not known)
  std::int64_t size = -1;     // kText2: the row file's size in bytes (-1: unknown)
  std::int64_t received = 0;  // kProgress on a row: bytes of its file so far
  double bytesPerSecond = 0;  // kProgress on a row: its transfer's speed so far;
                              // kTotalSize: the run's since it started
  std::int64_t files = 0;     // kFileCount
  std::int64_t bytes = 0;     // kTotalSize
  std::int64_t links = 0;     // kLinkCount
};

class IQNObserver {
 public:
  virtual ~IQNObserver() = default;

  // The tree display. OnTreeUsable, OnTreeCleared and OnTreeRebuilt come in the
  // order the document makes them, from the thread that opens, makes or reinitialises
  // the tree or applies settings (the GUI thread, a run's controller), with the
  // document's view lock held: a front end queues them in that order.

  // Clear the display; it rebuilds itself from the nodes when it takes this (once the
  // tree is usable). A front end that shows the tree (ShowsTree) then calls
  // CQNDoc::TreeDisplayReady.
  virtual void OnTreeCleared() {}
  // The tree is being discarded (false: read no node until it is usable again) or is
  // usable again (true).
  virtual void OnTreeUsable(bool /*usable*/) {}
  // Rebuild the display from the nodes as they are (before a reinitialisation).
  virtual void OnTreeRebuilt() {}
  // Whether this front end keeps a display of the tree that rebuilds itself after
  // OnTreeCleared. The document waits for such a display before it discards the
  // tree; without one the tree is ready as soon as it is usable.
  virtual bool ShowsTree() const { return false; }
  // The tree-ready moment: the tree is usable and its display has been rebuilt after
  // a project was opened or made, the tree reinitialised or the display reset. A
  // download asked for on the command line ("-D") or by the scheduler starts now.
  // Called on the thread that calls CQNDoc::TreeDisplayReady (the desktop program's
  // GUI thread) or, without a display, on the thread that made the tree usable,
  // with no lock of the document held.
  virtual void OnTreeReady() {}

  // Nodes, named by identity. From workers, the controller and the thread that adds
  // nodes for the user, with the document's node-notify lock held. `subtree`: the
  // node and everything below it changed (the states set at the start of a run).
  virtual void OnNodeChanged(const QNNodeId& /*node*/, bool /*subtree*/) {}
  virtual void OnNodeAdded(const QNNodeId& /*node*/) {}

  // The progress window's record; from every thread of a run, often with the
  // document's status lock held.
  virtual void OnStatus(const QNStatus& /*status*/) {}
  // A log entry for the log view, or an empty text when the log was reset (clear the
  // view); from whichever thread writes the log, with the log's lock held.
  virtual void OnLogText(const std::string& /*text*/) {}
  // From the controller thread (a forced stop that gives up: from the stopping
  // thread) when a run has started and when it has ended.
  virtual void OnRunStarted() {}
  virtual void OnRunEnded() {}

  // A message box of the program (id of its text, text already formatted). The
  // desktop program shows it; the headless front end prints it.
  virtual void ShowMessage(int /*id*/, const std::string& /*text*/) {}
  // A small window without buttons shown while the program waits (shown false: it
  // goes away again).
  virtual void ShowWait(const std::string& /*text*/, bool /*shown*/) {}

  // Questions wait for a person, so they are never asked by a thread that holds a
  // pass through a run's gate: a forced stop would wait for that pass as long as the
  // person does (a debug build asserts it). A front end implements the Do... methods;
  // their defaults are the preselected answers, which is what an unattended program
  // gives.

  // The Yes/No message box of `id`.
  bool AskYesNo(int id, const std::string& text, bool preselectYes) {
    assert(RunPassesHeld() == 0);
    return DoAskYesNo(id, text, preselectYes);
  }
  // The dialog "Choose the Download Type": the kind chosen, or 0 for Cancel.
  int AskDownloadKind(const QNDownloadKindOffer& offer) {
    assert(RunPassesHeld() == 0);
    return DoAskDownloadKind(offer);
  }
  // A countdown that confirms itself when its seconds run out; false when cancelled.
  // `format` is the language table's text with one "%d" for the seconds left, so the
  // count can be redrawn each second.
  bool Countdown(const std::string& format, int seconds) {
    assert(RunPassesHeld() == 0);
    return DoCountdown(format, seconds);
  }
  // The "Enter Password" dialog: the password typed, or nothing for "Cancel". Asked
  // on the thread that opens or closes the project.
  std::optional<std::string> AskPassword() {
    assert(RunPassesHeld() == 0);
    return DoAskPassword();
  }
  // A forced stop is under way: a question that a run's thread is waiting on returns
  // its cancel answer now (false, 0, nothing), whether or not anyone has answered it.
  // Called on the thread that stops the run, which may be the thread that shows the
  // question.
  virtual void CancelQuestions() {}

 protected:
  virtual bool DoAskYesNo(int /*id*/, const std::string& /*text*/, bool preselectYes) {
    return preselectYes;
  }
  virtual int DoAskDownloadKind(const QNDownloadKindOffer& offer) { return offer.preselected; }
  virtual bool DoCountdown(const std::string& /*format*/, int /*seconds*/) { return true; }
  virtual std::optional<std::string> DoAskPassword() { return std::nullopt; }
};

}  // namespace qn
