#pragma once

// The one channel from the engine to whoever shows it: the desktop program queues
// each call onto its GUI thread, the headless front end draws a progress line, and
// tests record the calls. Calls come from the controller and worker threads unless
// a comment says otherwise; an implementation must not call back into the engine
// while it holds locks of its own.

#include <cassert>
#include <optional>
#include <string>

#include "seams/RunPasses.h"

namespace qn {

class CQNDocNode;

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
  int progress = 0;  // -1 while starting, -2 when all start addresses are done
  int worker = -1;   // the row, or -1 for none
  int reserved = 0;
  int clearRows = 0;  // 1: remove all worker rows
};

class IQNObserver {
 public:
  virtual ~IQNObserver() = default;

  virtual void OnTreeCleared() {}
  // The tree was discarded (false) or is usable again (true).
  virtual void OnTreeUsable(bool /*usable*/) {}
  virtual void OnTreeRebuilt() {}
  virtual void OnNodeChanged(const CQNDocNode* /*node*/) {}
  virtual void OnNodeAdded(const CQNDocNode* /*node*/) {}
  virtual void OnStatus(const QNStatus& /*status*/) {}
  virtual void OnLogText(const std::string& /*text*/) {}
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
