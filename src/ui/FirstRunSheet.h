#pragma once

// "Welcome": shown once, on the program's first run, to set up the connection:
// direct, through a proxy (prefilled with the system's proxy) or by dialing one of
// the dial-up layer's entries. It edits a copy of the options; the copy replaces
// the options when the user confirms.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramOptions.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qn {

class QNTexts;

class QNFirstRunSheet : public QDialog {
  Q_OBJECT

 public:
  // `dialUpEntries`: the connections the dial-up layer knows, nothing without one.
  // The caption is the string table's "Welcome".
  QNFirstRunSheet(const QNProgramOptions& options, const QNTexts& texts,
                  const std::optional<std::vector<std::string>>& dialUpEntries, QWidget* parent);

  // The copy with what the user chose.
  QNProgramOptions Options() const;

 private:
  QNProgramOptions options_;
  QRadioButton* direct_ = nullptr;
  QRadioButton* proxy_ = nullptr;
  QRadioButton* dialUp_ = nullptr;
  QGroupBox* proxyBox_ = nullptr;
  QLineEdit* httpAddress_ = nullptr;
  QSpinBox* httpPort_ = nullptr;
  QLineEdit* ftpAddress_ = nullptr;
  QSpinBox* ftpPort_ = nullptr;
  QGroupBox* dialBox_ = nullptr;
  QComboBox* rasEntry_ = nullptr;
  QLineEdit* rasUser_ = nullptr;
  QLineEdit* rasPassword_ = nullptr;
  QCheckBox* showWelcome_ = nullptr;
};

}  // namespace qn
