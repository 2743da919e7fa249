#pragma once

// A confirmation that gives itself after its seconds: before shutting down, hanging
// up and converting links after a download.

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <string>

class QLabel;
class QProgressBar;

namespace qn {

class QNTexts;

class CQNCountdownDialog : public QDialog {
  Q_OBJECT

 public:
  // `format`: the message with "%d" for the seconds left (a text whose placeholders
  // do not fit is shown as written); the dialog confirms itself when `seconds` steps
  // of `step` have passed.
  CQNCountdownDialog(std::string format, int seconds, const QNTexts& texts,
                     QWidget* parent = nullptr,
                     std::chrono::milliseconds step = std::chrono::seconds(1));

 private:
  void Step();
  void ShowLeft();

  std::string format_;
  int seconds_;
  QLabel* text_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QTimer timer_;
};

}  // namespace qn
