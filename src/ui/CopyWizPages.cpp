#include "ui/CopyWizPages.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "text/MessageIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"

namespace qn {
namespace {

bool IsAscii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 127) return false;
  return true;
}

}  // namespace

QNCopyWizTargetPage::QNCopyWizTargetPage(const QNTexts& texts) {
  setTitle(tr("Where to"));
  TagDialog(this, kDlgCopyWizTarget);
  auto* layout = new QVBoxLayout(this);
  auto* folder = new QRadioButton(tr("&Different Directory or Drive (Zip, CD)"), this);
  auto* handheld = new QRadioButton(tr("&Handheld (Pocket PC)"), this);
  TagControl(folder, kIdcCopyFolderTarget);
  TagControl(handheld, kIdcCopyHandheld);
  folder->setChecked(true);
  handheld->setEnabled(false);
  handheld->setToolTip(DialogText(texts, kTxtCopyNoHandheld));
  layout->addWidget(folder);
  layout->addWidget(handheld);
  layout->addStretch(1);
}

QNCopyWizFilesPage::QNCopyWizFilesPage(QNCopyRequest& request, QNWarn warn)
    : request_(request), warn_(std::move(warn)) {
  setTitle(tr("Files"));
  TagDialog(this, kDlgCopyWizFiles);
  auto* layout = new QVBoxLayout(this);
  projectFiles_ = new QCheckBox(tr("&Project files (*.qnp, *.log)"), this);
  downloadedFiles_ = new QCheckBox(tr("&All Downloaded files"), this);
  zip_ = new QCheckBox(tr("Put the files in a &Zip archive"), this);
  password_ = new QLineEdit(this);
  confirm_ = new QLineEdit(this);
  TagControl(projectFiles_, kIdcCopyProjectFiles);
  TagControl(downloadedFiles_, kIdcCopyDownloaded);
  TagControl(zip_, kIdcCopyZip);
  TagControl(password_, kIdcCopyPassword);
  TagControl(confirm_, kIdcCopyConfirm);
  projectFiles_->setChecked(request.projectFiles);
  downloadedFiles_->setChecked(request.downloadedFiles);
  zip_->setChecked(request.asZip);
  for (QLineEdit* edit : {password_, confirm_}) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setEnabled(request.asZip);
  }
  layout->addWidget(projectFiles_);
  layout->addWidget(downloadedFiles_);
  layout->addWidget(zip_);
  auto* form = new QFormLayout;
  form->addRow(LabelFor(tr("Pass&word:"), password_, kIdcCopyPassword), password_);
  form->addRow(LabelFor(tr("&Confirm:"), confirm_, kIdcCopyConfirm), confirm_);
  layout->addLayout(form);
  layout->addStretch(1);

  connect(projectFiles_, &QCheckBox::toggled, this, [this](bool on) {
    request_.projectFiles = on;
    Q_EMIT completeChanged();
  });
  connect(downloadedFiles_, &QCheckBox::toggled, this, [this](bool on) {
    request_.downloadedFiles = on;
    Q_EMIT completeChanged();
  });
  connect(zip_, &QCheckBox::toggled, this, [this](bool on) {
    request_.asZip = on;
    password_->setEnabled(on);
    confirm_->setEnabled(on);
  });
}

bool QNCopyWizFilesPage::isComplete() const {
  return request_.projectFiles || request_.downloadedFiles;
}

bool QNCopyWizFilesPage::validatePage() {
  request_.password.clear();
  if (!request_.asZip) return true;
  const QString password = password_->text();
  int refusal = 0;
  if (!IsAscii(password))
    refusal = kMsgPasswordNotAscii;
  else if (!password.isEmpty() && confirm_->text().isEmpty())
    refusal = kMsgNeedConfirmation;
  else if (password != confirm_->text())
    refusal = kMsgConfirmFailed;
  if (refusal) {
    warn_(refusal);
    (refusal == kMsgPasswordNotAscii ? password_ : confirm_)->setFocus();
    return false;
  }
  request_.password = password.toStdString();
  return true;
}

QNCopyWizFolderPage::QNCopyWizFolderPage(QNCopyRequest& request, const std::string& lastCopyDir,
                                         const QNTexts& texts)
    : request_(request),
      texts_(texts),
      folder_(new QLineEdit(QString::fromStdString(lastCopyDir), this)) {
  setTitle(tr("Destination"));
  TagDialog(this, kDlgCopyWizFolder);
  request_.destination = lastCopyDir;
  TagControl(folder_, kIdcCopyDestination);
  auto* browse = new QToolButton(this);
  browse->setText(tr("..."));
  browse->setAccessibleName(tr("Browse for a folder"));
  TagControl(browse, kIdcCopyBrowse);
  auto* row = new QHBoxLayout;
  row->addWidget(folder_, 1);
  row->addWidget(browse);
  auto* form = new QFormLayout(this);
  form->addRow(LabelFor(tr("Copy to &Directory:"), folder_, kIdcCopyDestination), row);
  connect(folder_, &QLineEdit::textChanged, this, [this](const QString& text) {
    request_.destination = text.trimmed().toStdString();
    Q_EMIT completeChanged();
  });
  connect(browse, &QToolButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(
        this, DialogText(texts_, kTxtCopyFolderCaption), folder_->text());
    if (!folder.isEmpty()) folder_->setText(folder);
  });
}

bool QNCopyWizFolderPage::isComplete() const {
  return !request_.destination.empty();
}

QNCopyWizReadyPage::QNCopyWizReadyPage(const QNCopyRequest& request, const std::string& projectFile,
                                       const QNTexts& texts)
    : request_(request), projectFile_(projectFile), texts_(texts), summary_(new QLabel(this)) {
  setTitle(tr("Ready to Copy."));
  TagDialog(this, kDlgCopyWizReady);
  summary_->setWordWrap(true);
  summary_->setTextFormat(Qt::PlainText);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addStretch(1);
}

void QNCopyWizReadyPage::initializePage() {
  QStringList what;
  if (request_.projectFiles) what << DialogText(texts_, kTxtCopyWhatProject);
  if (request_.downloadedFiles) what << DialogText(texts_, kTxtCopyWhatDownloaded);
  const QString folder = QString::fromStdString(request_.destination);
  QString text =
      DialogText(texts_, kTxtCopySummary).arg(what.join(DialogText(texts_, kTxtCopyAnd)), folder);
  if (request_.asZip) {
    const QString zip = QFileInfo(QString::fromStdString(projectFile_)).completeBaseName() + ".zip";
    text += DialogText(texts_, request_.password.empty() ? kTxtCopyZipSummary : kTxtCopyZipPassword)
                .arg(zip);
  } else {
    text += ".";
  }
  summary_->setText(text + "\n\n" + DialogText(texts_, kTxtCopyPressFinish));
}

}  // namespace qn
