#pragma once

// How a part of the program talks to the user: the observer that shows messages
// and asks questions, with the texts in the user's language.

#include <string>

#include "seams/Observer.h"
#include "text/Texts.h"

namespace qn {

struct QNMessenger {
  IQNObserver& observer;
  QNTexts texts;

  // The message box of `id`, its placeholders filled with `values`.
  template <typename... Values>
  void Show(int id, const Values&... values) const {
    observer.ShowMessage(id, texts.Format(id, values...));
  }
  // The Yes/No question of `id`.
  bool AskYesNo(int id, bool preselectYes) const {
    return observer.AskYesNo(id, texts.Text(id), preselectYes);
  }
};

// The small window with the text of `id`, shown for the lifetime of the object.
class QNWaitNote {
 public:
  QNWaitNote(const QNMessenger& messenger, int id)
      : observer_(messenger.observer), text_(messenger.texts.Text(id)) {
    observer_.ShowWait(text_, true);
  }
  ~QNWaitNote() { observer_.ShowWait(text_, false); }
  QNWaitNote(const QNWaitNote&) = delete;
  QNWaitNote& operator=(const QNWaitNote&) = delete;

 private:
  IQNObserver& observer_;
  std::string text_;
};

}  // namespace qn
