#include "ui/PrjWizTextPages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"

namespace qn {
namespace {

// A line edit that writes every change into `member`.
QLineEdit* BoundEdit(std::string& member, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  QObject::connect(edit, &QLineEdit::textChanged, parent,
                   [&member](const QString& text) { member = text.toStdString(); });
  return edit;
}

}  // namespace

QNPrjWizWelcomePage::QNPrjWizWelcomePage(QNPrjWizState& state)
    : QNPrjWizPage(kPrjWizWelcome, tr("Create a New Project"), state) {
  setTitle(tr("Create a New Project"));
  AddIntro(
      tr("This wizard sets up a project in a few steps: its title, the address of the web "
         "site, a login when the site asks for one, the folder for the downloaded files and "
         "what to download.<br><br>Press <b>Next</b> to begin."));
  layout_->addStretch(1);
}

QNPrjWizTitlePage::QNPrjWizTitlePage(QNPrjWizState& state)
    : QNPrjWizPage(kPrjWizTitle, tr("Create a New Project - Title"), state) {
  setTitle(tr("Title"));
  AddIntro(tr("The title names the project in the contents tree and in the window's caption."));
  auto* form = new QFormLayout;
  title_ = BoundEdit(state_.settings.QN_TITLE, this);
  TagControl(title_, kIdcWizTitle);
  form->addRow(LabelFor(tr("Project &Title:"), title_, kIdcWizTitle), title_);
  layout_->addLayout(form);
  layout_->addStretch(1);
}

void QNPrjWizTitlePage::initializePage() {
  title_->setText(QString::fromStdString(state_.settings.QN_TITLE));
}

QNPrjWizLoginPage::QNPrjWizLoginPage(QNPrjWizState& state)
    : QNPrjWizPage(kPrjWizLogin, tr("Create a New Project - User Authentication"), state) {
  setTitle(tr("User Authentication"));
  AddIntro(
      tr("When the site asks for a login, enter it here; otherwise leave both fields "
         "empty."));
  auto* form = new QFormLayout;
  user_ = BoundEdit(state_.settings.QN_USER_ID, this);
  password_ = BoundEdit(state_.settings.QN_PASSWORD, this);
  password_->setEchoMode(QLineEdit::Password);
  TagControl(user_, kIdcWizUserId);
  TagControl(password_, kIdcWizPassword);
  form->addRow(LabelFor(tr("&User ID:"), user_, kIdcWizUserId), user_);
  form->addRow(LabelFor(tr("&Password:"), password_, kIdcWizPassword), password_);
  layout_->addLayout(form);
  layout_->addStretch(1);
}

void QNPrjWizLoginPage::initializePage() {
  user_->setText(QString::fromStdString(state_.settings.QN_USER_ID));
  password_->setText(QString::fromStdString(state_.settings.QN_PASSWORD));
}

QNPrjWizFinishPage::QNPrjWizFinishPage(QNPrjWizState& state)
    : QNPrjWizPage(kPrjWizFinish, tr("Create a New Project - Finish"), state) {
  setTitle(tr("Finish"));
  AddIntro(tr("The project is set up. Press <b>Finish</b> to create it."));
  saveAndStart_ = new QCheckBox(tr("&Save the project and start the download now"), this);
  dontShow_ = new QCheckBox(tr("&Don't show this wizard again"), this);
  TagControl(saveAndStart_, kIdcWizSaveAndStart);
  TagControl(dontShow_, kIdcWizDontShow);
  saveAndStart_->setChecked(state_.saveAndStart);
  dontShow_->setChecked(state_.doNotShowAgain);
  connect(saveAndStart_, &QCheckBox::toggled, this, [this](bool on) { state_.saveAndStart = on; });
  connect(dontShow_, &QCheckBox::toggled, this, [this](bool on) { state_.doNotShowAgain = on; });
  layout_->addWidget(saveAndStart_);
  layout_->addWidget(dontShow_);
  layout_->addStretch(1);
}

}  // namespace qn
