#pragma once

// "Go To": asks for the address the page view shows next.

#include <QDialog>

class QComboBox;

namespace qn {

class QNTexts;

class QNGoToDialog : public QDialog {
  Q_OBJECT

 public:
  // `history`: addresses offered in the list, most recent first.
  QNGoToDialog(const QStringList& history, const QNTexts& texts, QWidget* parent = nullptr);
  QString Address() const;

 private:
  QComboBox* address_ = nullptr;
};

}  // namespace qn
