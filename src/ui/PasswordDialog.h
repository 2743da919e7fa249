#pragma once

// "Enter Password": the password of an encrypted project or of its downloaded files.
// The entry is masked and OK stays disabled while it is empty. The archives take
// ASCII passwords only, so one with a character above code 127 is refused (65164)
// and the dialog stays open for another try.

#include <QDialog>
#include <string>

#include "text/Texts.h"

class QLineEdit;
class QPushButton;

namespace qn {

class QNPasswordDialog : public QDialog {
  Q_OBJECT

 public:
  explicit QNPasswordDialog(QNTexts texts, QWidget* parent = nullptr);

  std::string Password() const;
  void accept() override;

 private:
  QNTexts texts_;
  QLineEdit* entry_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace qn
