#pragma once

// The log pane below the page view: the download log as it is written. It holds at
// most as many characters as the log file's loader gives it (kLogPaneLimit): an
// entry that would go beyond is not shown, so the pane stops growing there while
// the log file itself keeps every line.

#include <QPlainTextEdit>
#include <cstddef>
#include <string>

namespace qn {

class QNLogPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit QNLogPane(QWidget* parent = nullptr);

  // An entry of the log as the download writes it; an empty text clears the pane
  // (a new download has reset the log).
  void OnLogText(const std::string& text);
  // Replaces the pane's text (the log of a project just opened, already cut to fit).
  void ShowText(const std::string& text);
  // The characters shown, counted as the log file counts them.
  std::size_t Shown() const { return shown_; }
  // A few lines high: the page view above takes the room there is.
  QSize sizeHint() const override;

 private:
  std::size_t shown_ = 0;
};

}  // namespace qn
