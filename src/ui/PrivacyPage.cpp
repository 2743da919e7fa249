#include "ui/PrivacyPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "storage/Passwords.h"
#include "text/MessageIds.h"
#include "text/Texts.h"
#include "ui/SettingsIds.h"

namespace qn {

QNPrivacyPage::QNPrivacyPage(const QNTexts& texts, QWidget* parent)
    : QNSettingsPage(kDlgPagePrivacy, tr("Privacy"), parent), texts_(texts) {
  auto* layout = new QVBoxLayout(this);
  encryptProject_ = Tagged(new QCheckBox(tr("Encrypt &Project files"), this), kIdcEncryptProject);
  encryptDownloads_ =
      Tagged(new QCheckBox(tr("Encrypt all &Downloaded files"), this), kIdcEncryptDownloads);
  layout->addWidget(encryptProject_);
  layout->addWidget(encryptDownloads_);
  auto* note = new QLabel(tr("While the project is closed its files are kept in ZIP archives "
                             "locked with this password. The password is not saved with the "
                             "project: keep it safe, the files cannot be opened without it."),
                          this);
  note->setWordWrap(true);
  TagControl(note, kIdcEncryptionNote);
  layout->addWidget(note);

  auto* form = new QFormLayout;
  password_ = Tagged(new QLineEdit(this), kIdcEncryptionPassword);
  confirm_ = Tagged(new QLineEdit(this), kIdcConfirmPassword);
  for (QLineEdit* edit : {password_, confirm_}) edit->setEchoMode(QLineEdit::Password);
  form->addRow(LabelFor(tr("Pass&word:"), password_, kIdcEncryptionPassword), password_);
  form->addRow(LabelFor(tr("&Confirm:"), confirm_, kIdcConfirmPassword), confirm_);
  layout->addLayout(form);
  layout->addStretch(1);
}

void QNPrivacyPage::Load(const CQNSettings& settings) {
  LoadFlag(encryptProject_, settings.EncryptProjectFiles);
  LoadFlag(encryptDownloads_, settings.EncryptDownloadedFiles);
  password_->setText(QString::fromStdString(settings.EncryptionPassword));
  confirm_->clear();
}

void QNPrivacyPage::Store(CQNSettings& settings) const {
  StoreFlag(encryptProject_, settings.EncryptProjectFiles);
  StoreFlag(encryptDownloads_, settings.EncryptDownloadedFiles);
  settings.EncryptionPassword = password_->text().toStdString();
}

std::optional<QNPageProblem> QNPrivacyPage::Check(const CQNSettings& settings) const {
  const bool on = encryptProject_->isChecked() || encryptDownloads_->isChecked();
  const std::string password = password_->text().toStdString();
  const int id = CheckPrivacyPassword(on, password, confirm_->text().toStdString(),
                                      password == settings.EncryptionPassword);
  if (id != 0) {
    QLineEdit* field = id == kMsgNeedPassword ? password_ : confirm_;
    return QNPageProblem{QString::fromStdString(texts_.Text(id)), field};
  }
  // The password prompt that opens the archives refuses such characters, so files
  // locked with one could never be opened again.
  if (on && !IsAsciiPassword(password))
    return QNPageProblem{QString::fromStdString(texts_.Text(kMsgPasswordNotAscii)), password_};
  return std::nullopt;
}

}  // namespace qn
