#include "ui/LevelsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/NumberBox.h"
#include "ui/SettingsIds.h"

namespace qn {
QNLevelsPage::QNLevelsPage(QWidget* parent)
    : QNSettingsPage(kDlgPageLevels, tr("Levels && Updates"), parent),
      update_(this),
      conversion_(this) {
  auto* layout = new QVBoxLayout(this);
  auto* levels = Tagged(new QGroupBox(tr("Link Levels"), this), kIdcMainLinks);
  auto* grid = new QGridLayout(levels);
  const QNSettingRange& main = SettingRange("QN_MAX_L");
  const QNSettingRange& offsite = SettingRange("QN_MAX_OL");
  limitMain_ = Tagged(new QCheckBox(tr("&Main Links, at most level"), levels),
                      main.controlId + kLabelIdOffset);
  maxMain_ = Tagged(new QNNumberBox(main.format, levels), main.controlId);
  maxMain_->setAccessibleName(tr("Main links level"));
  limitOffsite_ = Tagged(new QCheckBox(tr("&Offsite Links, at most level"), levels),
                         offsite.controlId + kLabelIdOffset);
  maxOffsite_ = Tagged(new QNNumberBox(offsite.format, levels), offsite.controlId);
  maxOffsite_->setAccessibleName(tr("Offsite links level"));
  grid->addWidget(limitMain_, 0, 0);
  grid->addWidget(maxMain_, 0, 1);
  grid->addWidget(limitOffsite_, 1, 0);
  grid->addWidget(maxOffsite_, 1, 1);
  grid->setColumnStretch(2, 1);
  connect(limitMain_, &QCheckBox::toggled, maxMain_, &QWidget::setEnabled);
  connect(limitOffsite_, &QCheckBox::toggled, maxOffsite_, &QWidget::setEnabled);
  layout->addWidget(levels);

  auto* choices = new QHBoxLayout;
  choices->addWidget(ChoiceGroup(tr("Update Files"), kIdcUpdateFiles,
                                 {{tr("When &Changed"), kIdcWhenChanged},
                                  {tr("Al&ways"), kIdcAlways},
                                  {tr("Ne&ver"), kIdcNever}},
                                 update_, this));
  choices->addWidget(ChoiceGroup(tr("Links Conversion (for Offline browsing)"), kIdcConversion,
                                 {{tr("&Do NOT convert links"), kIdcNoConversion},
                                  {tr("Convert only DOWN&LOADED links"), kIdcConvertDownloaded},
                                  {tr("Convert &ALL links"), kIdcConvertAll}},
                                 conversion_, this),
                     1);
  layout->addLayout(choices);

  report_ = Tagged(new QCheckBox(tr("&Generate Download Report"), this), kIdcReport);
  loginForms_ = Tagged(new QCheckBox(tr("&Submit HTML Login Forms"), this), kIdcLoginForms);
  forms_ = Tagged(new QCheckBox(tr("&Process HTML Forms"), this), kIdcProcessForms);
  for (QCheckBox* box : {report_, loginForms_, forms_}) layout->addWidget(box);
  layout->addStretch(1);
}

void QNLevelsPage::Load(const CQNSettings& settings) {
  LoadFlag(limitMain_, settings.QN_LIM_L);
  maxMain_->Load(SettingRange("QN_MAX_L"), settings);
  maxMain_->setEnabled(limitMain_->isChecked());
  LoadFlag(limitOffsite_, settings.QN_LIM_OL);
  maxOffsite_->Load(SettingRange("QN_MAX_OL"), settings);
  maxOffsite_->setEnabled(limitOffsite_->isChecked());
  update_.Load(settings.QN_UMETHOD);
  conversion_.Load(settings.QN_UPDLINKS);
  LoadFlag(report_, settings.QN_REPORT);
  LoadFlag(loginForms_, settings.SubmitLoginForms);
  LoadFlag(forms_, settings.ProcessForms);
}

void QNLevelsPage::Store(CQNSettings& settings) const {
  StoreFlag(limitMain_, settings.QN_LIM_L);
  maxMain_->Store(SettingRange("QN_MAX_L"), settings);
  StoreFlag(limitOffsite_, settings.QN_LIM_OL);
  maxOffsite_->Store(SettingRange("QN_MAX_OL"), settings);
  update_.Store(settings.QN_UMETHOD);
  conversion_.Store(settings.QN_UPDLINKS);
  StoreFlag(report_, settings.QN_REPORT);
  StoreFlag(loginForms_, settings.SubmitLoginForms);
  StoreFlag(forms_, settings.ProcessForms);
}

}  // namespace qn
