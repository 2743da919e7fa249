#include "ui/GoToDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"

namespace qn {

QNGoToDialog::QNGoToDialog(const QStringList& history, const QNTexts& texts, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Go To"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(tr("Type the Web Page Address (URL):"), this);
  address_ = new QComboBox(this);
  address_->setEditable(true);
  address_->setInsertPolicy(QComboBox::NoInsert);
  address_->addItems(history);
  address_->setCurrentText(QString());
  address_->setMinimumContentsLength(48);
  address_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  label->setBuddy(address_);
  TagControl(label, kIdcGoToAddress);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(label);
  layout->addWidget(address_);
  layout->addStretch();
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  TagDialog(this, kDlgGoTo);
  TranslateDialog(this, texts);
  // Nothing to go to until an address is typed.
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  connect(address_, &QComboBox::currentTextChanged, this,
          [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
}

QString QNGoToDialog::Address() const {
  return address_->currentText().trimmed();
}

}  // namespace qn
