#include "ui/PrjWizAddressPages.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/BookmarkPicker.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"
#include "ui/WizardIds.h"
#include "web/Address.h"

namespace qn {
QNPrjWizMethodPage::QNPrjWizMethodPage(QNPrjWizState& state, const QNPrjWizContext& context)
    : QNPrjWizPage(kPrjWizAddressMethod, tr("Create a New Project - URL"), state),
      methods_(new QButtonGroup(this)) {
  setTitle(tr("URL"));
  AddIntro(tr("How do you want to give the address of the web site?"));
  layout_->addWidget(AddChoice(methods_, kAddressEntered,
                               tr("Add the address by &entering its URL"), kIdcWizEnterUrl, this));
  layout_->addWidget(AddChoice(methods_, kAddressImported,
                               tr("&Import Netscape Bookmarks or IE Favorites"), kIdcWizImportUrl,
                               this));
  QRadioButton* pageView =
      AddChoice(methods_, kAddressFromPageView, tr("&Use URL shown in the Integrated Browser"),
                kIdcWizPageViewUrl, this);
  pageView->setEnabled(!context.pageViewAddress.empty());
  if (pageView->isEnabled()) pageView->setToolTip(QString::fromStdString(context.pageViewAddress));
  layout_->addWidget(pageView);
  layout_->addStretch(1);
  connect(methods_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) state_.addressMethod = id;
  });
}

void QNPrjWizMethodPage::initializePage() {
  if (!methods_->button(state_.addressMethod)->isEnabled()) state_.addressMethod = kAddressEntered;
  methods_->button(state_.addressMethod)->setChecked(true);
}

bool QNPrjWizMethodPage::validatePage() {
  if (state_.addressMethod == kAddressFromPageView)
    state_.settings.QN_START_URL[0] = state_.pageViewAddress;
  return true;
}

QNPrjWizUrlPage::QNPrjWizUrlPage(QNPrjWizState& state, const QNPrjWizContext& context)
    : QNPrjWizPage(kPrjWizUrl, tr("Create a New Project - URL"), state), url_(new QComboBox(this)) {
  setTitle(tr("URL"));
  AddIntro(
      tr("Enter the address of the page the download starts from, for example "
         "https://www.example.org/."));
  url_->setEditable(true);
  url_->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& address : context.urlHistory)
    url_->addItem(QString::fromStdString(address));
  url_->setMinimumContentsLength(40);
  TagControl(url_, kIdcWizUrl);
  auto* form = new QFormLayout;
  form->addRow(LabelFor(tr("&URL:"), url_, kIdcWizUrl), url_);
  layout_->addLayout(form);
  layout_->addStretch(1);
  connect(url_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    state_.settings.QN_START_URL[0] = text.trimmed().toStdString();
    Q_EMIT completeChanged();
  });
}

void QNPrjWizUrlPage::initializePage() {
  url_->setEditText(QString::fromStdString(state_.settings.QN_START_URL[0]));
}

bool QNPrjWizUrlPage::isComplete() const {
  return !state_.settings.QN_START_URL[0].empty();
}

QNPrjWizImportPage::QNPrjWizImportPage(QNPrjWizState& state, QNAddressImporter importer)
    : QNPrjWizPage(kPrjWizImport, tr("Create a New Project - URL Import"), state),
      importer_(std::move(importer)),
      methods_(new QButtonGroup(this)),
      import_(new QPushButton(tr("&Import..."), this)),
      url_(new QLineEdit(this)) {
  setTitle(tr("URL Import"));
  AddIntro(tr("Choose where the address comes from and press Import."));
  const struct {
    int method;
    QString text;
    int id;
  } choices[] = {{kImportNetscape, tr("Import Ne&tscape Bookmark"), kIdcWizImportNetscape},
                 {kImportFavorite, tr("Import Internet &Explorer Favorite"), kIdcWizImportFavorite},
                 {kImportLocalFile, tr("Specify a &local file"), kIdcWizImportFile}};
  for (const auto& choice : choices) {
    layout_->addWidget(AddChoice(methods_, choice.method, choice.text, choice.id, this));
  }
  TagControl(import_, kIdcWizImport);
  auto* importRow = new QHBoxLayout;
  importRow->addStretch(1);
  importRow->addWidget(import_);
  layout_->addLayout(importRow);
  TagControl(url_, kIdcWizImportedUrl);
  auto* form = new QFormLayout;
  form->addRow(LabelFor(tr("U&RL:"), url_, kIdcWizImportedUrl), url_);
  layout_->addLayout(form);
  layout_->addStretch(1);

  connect(methods_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
    if (on) state_.importMethod = id;
  });
  connect(import_, &QPushButton::clicked, this, &QNPrjWizImportPage::Import);
  connect(url_, &QLineEdit::textChanged, this, [this](const QString& text) {
    state_.settings.QN_START_URL[0] = text.trimmed().toStdString();
    Q_EMIT completeChanged();
  });
}

void QNPrjWizImportPage::initializePage() {
  methods_->button(state_.importMethod)->setChecked(true);
  url_->setText(QString::fromStdString(state_.settings.QN_START_URL[0]));
}

bool QNPrjWizImportPage::isComplete() const {
  return !state_.settings.QN_START_URL[0].empty();
}

void QNPrjWizImportPage::Import() {
  if (const auto address = importer_(state_.importMethod, this))
    url_->setText(QString::fromStdString(*address));
}

std::optional<std::string> ImportAddress(int importMethod, QWidget* parent, const QNTexts& texts) {
  if (importMethod == kImportNetscape)
    return PickBookmarkAddress(parent, QNBookmarkBrowser::Netscape, texts);
  if (importMethod == kImportFavorite)
    return PickBookmarkAddress(parent, QNBookmarkBrowser::InternetExplorer, texts);
  const QString file =
      QFileDialog::getOpenFileName(parent, DialogText(texts, kTxtLocalFileCaption), QString(),
                                   DialogText(texts, kTxtLocalFileFilter));
  if (file.isEmpty()) return std::nullopt;
  return AddDefaultScheme(file.toStdString());
}

}  // namespace qn
