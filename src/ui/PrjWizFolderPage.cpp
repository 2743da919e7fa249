#include "ui/PrjWizFolderPage.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"

namespace qn {

QNPrjWizFolderPage::QNPrjWizFolderPage(QNPrjWizState& state, const QNPrjWizContext& context,
                                       const QNTexts& texts)
    : QNPrjWizPage(kPrjWizFolder, tr("Create a New Project - Project Directory"), state),
      context_(context),
      texts_(texts),
      folder_(new QLineEdit(this)) {
  setTitle(tr("Project Directory"));
  AddIntro(tr("The downloaded files are saved in this folder."));
  TagControl(folder_, kIdcWizFolder);
  auto* browse = new QToolButton(this);
  browse->setText(tr("..."));
  browse->setAccessibleName(tr("Browse for a folder"));
  TagControl(browse, kIdcWizBrowse);
  auto* row = new QHBoxLayout;
  row->addWidget(folder_, 1);
  row->addWidget(browse);
  auto* form = new QFormLayout;
  form->addRow(LabelFor(tr("&Save in Directory:"), folder_, kIdcWizFolder), row);
  layout_->addLayout(form);
  layout_->addStretch(1);
  connect(folder_, &QLineEdit::textChanged, this,
          [this](const QString& text) { state_.settings.QN_PROJECT_DIR = text.toStdString(); });
  connect(browse, &QToolButton::clicked, this, &QNPrjWizFolderPage::Browse);
}

const std::string& QNPrjWizFolderPage::FilesDir() const {
  return state_.chosenFilesDir ? *state_.chosenFilesDir : context_.lastFilesDir;
}

void QNPrjWizFolderPage::initializePage() {
  folder_->setText(QString::fromStdString(
      ProposeProjectFolder(state_.settings.QN_TITLE, FilesDir(), context_.programDir)));
}

void QNPrjWizFolderPage::Browse() {
  const QString folder = QFileDialog::getExistingDirectory(this, DialogText(texts_, kTxtWizSaveIn),
                                                           QString::fromStdString(FilesDir()));
  if (folder.isEmpty()) return;
  state_.chosenFilesDir = folder.toStdString();
  folder_->setText(folder);
}

}  // namespace qn
