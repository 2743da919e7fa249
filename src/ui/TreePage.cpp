#include "ui/TreePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/NumberBox.h"
#include "ui/SettingsIds.h"

namespace qn {

QNTreePage::QNTreePage(QWidget* parent)
    : QNSettingsPage(kDlgPageTree, tr("Contents Tree"), parent), update_(this) {
  auto* layout = new QVBoxLayout(this);
  init_ = Tagged(new QCheckBox(tr("&Initialize Tree before Download"), this), kIdcTreeInit);
  layout->addWidget(init_);

  layout->addWidget(ChoiceGroup(tr("During a download the tree is"), kIdcUpdateGroup,
                                {{tr("&Not updated"), kIdcUpdateNone},
                                 {tr("Updated: &Expand all nodes"), kIdcUpdateExpand},
                                 {tr("Updated: &Collapse all nodes"), kIdcUpdateCollapse}},
                                update_, this));

  auto* form = new QFormLayout;
  shows_ = Tagged(new QComboBox(this), kIdcTreeShows);
  shows_->addItem(tr("All Files"), kAllCategories);
  shows_->addItem(tr("Only HTML Files"), kCatHtml);
  TranslateItems(shows_);
  form->addRow(LabelFor(tr("&Files shown:"), shows_, kIdcTreeShows), shows_);
  const QNSettingRange& maxFiles = SettingRange("QN_TR_MAX_F");
  limit_ = Tagged(new QCheckBox(tr("&Show only"), this), maxFiles.controlId + kLabelIdOffset);
  maxFiles_ = Tagged(new QNNumberBox(maxFiles.format, this), maxFiles.controlId);
  maxFiles_->setAccessibleName(tr("Files shown at most"));
  auto* limitRow = new QHBoxLayout;
  limitRow->addWidget(maxFiles_);
  limitRow->addWidget(Tagged(new QLabel(tr("files"), this), kIdcTreeLimitUnit));
  limitRow->addStretch(1);
  form->addRow(limit_, limitRow);
  connect(limit_, &QCheckBox::toggled, maxFiles_, &QWidget::setEnabled);
  layout->addLayout(form);

  externalBrowser_ = Tagged(new QCheckBox(tr("Use E&xternal Browser to view the files"), this),
                            kIdcExternalBrowser);
  pageBreak_ = Tagged(new QCheckBox(tr("&Break pages when printing"), this), kIdcPageBreak);
  renameHtml_ = Tagged(new QCheckBox(tr("&Rename non-standard HTML files"), this), kIdcRenameHtml);
  fastParse_ = Tagged(new QCheckBox(tr("Fast &HTML Parsing"), this), kIdcFastParse);
  for (QCheckBox* box : {externalBrowser_, pageBreak_, renameHtml_, fastParse_})
    layout->addWidget(box);
  layout->addStretch(1);
}

void QNTreePage::Load(const CQNSettings& settings) {
  LoadFlag(init_, settings.QN_TR_INIT);
  // 3 is kept as written but behaves as 2.
  update_.Load(settings.QN_TR_UPDATE == 3 ? 2 : settings.QN_TR_UPDATE);
  LoadCombo(shows_, settings.QN_TR_HTML == kCatHtml ? kCatHtml : kAllCategories);
  LoadFlag(limit_, settings.QN_TR_LIMIT_F);
  maxFiles_->Load(SettingRange("QN_TR_MAX_F"), settings);
  maxFiles_->setEnabled(limit_->isChecked());
  LoadFlag(externalBrowser_, settings.QN_TR_EXTBR);
  LoadFlag(pageBreak_, settings.QN_PAGEBREAK);
  LoadFlag(renameHtml_, settings.QN_RENAMEHTML);
  LoadFlag(fastParse_, settings.QN_FASTPARSE);
}

void QNTreePage::Store(CQNSettings& settings) const {
  StoreFlag(init_, settings.QN_TR_INIT);
  update_.Store(settings.QN_TR_UPDATE);
  StoreCombo(shows_, settings.QN_TR_HTML);
  StoreFlag(limit_, settings.QN_TR_LIMIT_F);
  maxFiles_->Store(SettingRange("QN_TR_MAX_F"), settings);
  StoreFlag(externalBrowser_, settings.QN_TR_EXTBR);
  StoreFlag(pageBreak_, settings.QN_PAGEBREAK);
  StoreFlag(renameHtml_, settings.QN_RENAMEHTML);
  StoreFlag(fastParse_, settings.QN_FASTPARSE);
}

}  // namespace qn
