#pragma once

// "Welcome": shown once, on the program's first run, to set up the connection. It
// edits a copy of the options (prefilled with the system's proxy); the copy
// replaces the options when the user confirms.

#include <QDialog>

#include "app/ProgramOptions.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qn {

class QNFirstRunSheet : public QDialog {
  Q_OBJECT

 public:
  QNFirstRunSheet(const QNProgramOptions& options, const std::string& title, QWidget* parent);

  // The copy with what the user chose.
  QNProgramOptions Options() const;

 private:
  QNProgramOptions options_;
  QRadioButton* direct_ = nullptr;
  QRadioButton* proxy_ = nullptr;
  QGroupBox* proxyBox_ = nullptr;
  QLineEdit* httpAddress_ = nullptr;
  QSpinBox* httpPort_ = nullptr;
  QLineEdit* ftpAddress_ = nullptr;
  QSpinBox* ftpPort_ = nullptr;
  QCheckBox* showWelcome_ = nullptr;
};

}  // namespace qn
