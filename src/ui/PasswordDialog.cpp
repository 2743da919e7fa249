#include "ui/PasswordDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "storage/Passwords.h"
#include "text/MessageIds.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/MessageBox.h"
#include "ui/PromptIds.h"

namespace qn {

QNPasswordDialog::QNPasswordDialog(QNTexts texts, QWidget* parent)
    : QDialog(parent), texts_(std::move(texts)) {
  setWindowTitle(tr("Enter Password"));
  TagDialog(this, kDlgPassword);
  entry_ = new QLineEdit(this);
  entry_->setEchoMode(QLineEdit::Password);
  TagControl(entry_, kIdcPasswordEntry);
  // At least wide enough for a long passphrase to show its length.
  entry_->setMinimumWidth(entry_->fontMetrics().averageCharWidth() * 30);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setDefault(true);
  ok_->setEnabled(false);
  connect(entry_, &QLineEdit::textChanged, this,
          [this](const QString& text) { ok_->setEnabled(!text.isEmpty()); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(LabelFor(tr("&Password:"), entry_, kIdcPasswordEntry), entry_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  TranslateDialog(this, texts_);
}

std::string QNPasswordDialog::Password() const {
  return entry_->text().toStdString();
}

void QNPasswordDialog::accept() {
  if (entry_->text().isEmpty()) return;
  if (!IsAsciiPassword(Password())) {
    AskUser(this, QMessageBox::Warning, windowTitle(),
            QString::fromStdString(texts_.Text(kMsgPasswordNotAscii)), QMessageBox::Ok,
            QMessageBox::Ok, texts_);
    entry_->selectAll();
    entry_->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace qn
