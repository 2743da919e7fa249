#pragma once

// "Add Extension" of the file types page: the name of a new extension.

#include <QDialog>

class QLineEdit;

namespace qn {

class QNTexts;

class QNExtensionDialog : public QDialog {
  Q_OBJECT

 public:
  QNExtensionDialog(const QNTexts& texts, QWidget* parent = nullptr);

  QString Name() const;

 private:
  QLineEdit* name_;
};

}  // namespace qn
