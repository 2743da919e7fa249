#include "ui/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "records/DocTree.h"
#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"

namespace qn {

QNFindDialog::QNFindDialog(const QStringList& history, const QNTexts& texts, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Find in Contents"));
  text_ = new QComboBox(this);
  text_->setEditable(true);
  text_->setInsertPolicy(QComboBox::NoInsert);
  text_->setMinimumContentsLength(32);
  SetHistory(history);

  auto* where = new QGroupBox(tr("Look in"), this);
  titles_ = new QCheckBox(tr("&Titles"), where);
  urls_ = new QCheckBox(tr("&URLs"), where);
  files_ = new QCheckBox(tr("&Local file names"), where);
  titles_->setChecked(true);
  auto* whereLayout = new QVBoxLayout(where);
  for (QCheckBox* box : {titles_, urls_, files_}) whereLayout->addWidget(box);

  auto* direction = new QGroupBox(tr("Direction"), this);
  up_ = new QRadioButton(tr("U&p"), direction);
  down_ = new QRadioButton(tr("&Down"), direction);
  down_->setChecked(true);
  auto* directionLayout = new QVBoxLayout(direction);
  directionLayout->addWidget(up_);
  directionLayout->addWidget(down_);
  directionLayout->addStretch();

  wholeWord_ = new QCheckBox(tr("Match &whole word only"), this);
  matchCase_ = new QCheckBox(tr("Match &case"), this);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  findNext_ = buttons->addButton(tr("&Find Next"), QDialogButtonBox::ActionRole);
  findNext_->setDefault(true);

  auto* form = new QFormLayout;
  form->addRow(TaggedLabel(tr("Fi&nd what:"), text_, kIdcFindWhat), text_);
  auto* groups = new QHBoxLayout;
  groups->addWidget(where);
  groups->addWidget(direction);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(groups);
  layout->addWidget(wholeWord_);
  layout->addWidget(matchCase_);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  const std::initializer_list<std::pair<QWidget*, int>> tagged = {
      {where, kIdcFindWhere},   {titles_, kIdcFindTitles},       {urls_, kIdcFindUrls},
      {files_, kIdcFindFiles},  {direction, kIdcFindDirection},  {up_, kIdcFindUp},
      {down_, kIdcFindDown},    {wholeWord_, kIdcFindWholeWord}, {matchCase_, kIdcFindMatchCase},
      {findNext_, kIdcFindNext}};
  for (const auto& [control, id] : tagged) TagControl(control, id);
  TagButtons(buttons);
  TagDialog(this, kDlgFind);
  TranslateDialog(this, texts);
  connect(findNext_, &QPushButton::clicked, this, &QNFindDialog::FindNext);
  connect(text_, &QComboBox::currentTextChanged, this, &QNFindDialog::UpdateButton);
  for (QCheckBox* box : {titles_, urls_, files_})
    connect(box, &QCheckBox::toggled, this, &QNFindDialog::UpdateButton);
  UpdateButton();
}

QString QNFindDialog::Text() const {
  return text_->currentText();
}

int QNFindDialog::Flags() const {
  int flags = 0;
  if (titles_->isChecked()) flags |= kFindTitles;
  if (urls_->isChecked()) flags |= kFindUrls;
  if (files_->isChecked()) flags |= kFindLocalFiles;
  if (wholeWord_->isChecked()) flags |= kFindWholeWord;
  if (matchCase_->isChecked()) flags |= kFindMatchCase;
  return flags;
}

bool QNFindDialog::Forward() const {
  return down_->isChecked();
}

void QNFindDialog::SetHistory(const QStringList& history) {
  const QString typed = text_->currentText();
  text_->clear();
  text_->addItems(history);
  text_->setCurrentText(typed);
}

void QNFindDialog::UpdateButton() {
  const bool somewhere = titles_->isChecked() || urls_->isChecked() || files_->isChecked();
  findNext_->setEnabled(!text_->currentText().isEmpty() && somewhere);
}

}  // namespace qn
