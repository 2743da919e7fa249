#include "ui/ProtocolsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/SettingsIds.h"
#include "ui/UrlFilterList.h"

namespace qn {

QNProtocolsPage::QNProtocolsPage(const QNTexts& texts, QWidget* parent)
    : QNSettingsPage(kDlgPageProtocols, tr("Protocols && Scope"), parent),
      servers_(this),
      directories_(this) {
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* protocols = Tagged(new QGroupBox(tr("Protocols"), this), kIdcProtocols);
  auto* protocolLayout = new QVBoxLayout(protocols);
  const std::array<std::pair<QString, int>, 4> names = {
      std::pair{tr("&HTTP"), kIdcHttp}, std::pair{tr("HTTP&S"), kIdcHttps},
      std::pair{tr("&FTP"), kIdcFtp}, std::pair{tr("F&ile"), kIdcFile}};
  for (std::size_t i = 0; i < protocols_.size(); ++i) {
    protocols_[i] = Tagged(new QCheckBox(names[i].first, protocols), names[i].second);
    protocolLayout->addWidget(protocols_[i]);
  }
  row->addWidget(protocols);

  auto* from = new QVBoxLayout;
  from->addWidget(ChoiceGroup(
      tr("Load Files from Server"), kIdcServerGroup,
      {{tr("The starting Server &only"), kIdcStartServer}, {tr("All Ser&vers"), kIdcAllServers}},
      servers_, this));
  from->addWidget(ChoiceGroup(tr("Load Files from Directory"), kIdcDirectoryGroup,
                              {{tr("All &Directories"), kIdcAllDirs},
                               {tr("&Within the starting Dir. && below"), kIdcStartDir}},
                              directories_, this));
  row->addLayout(from, 1);
  layout->addLayout(row);

  auto* filterGroup = Tagged(new QGroupBox(tr("URL Filters"), this), kIdcFilterGroup);
  auto* filterLayout = new QVBoxLayout(filterGroup);
  filters_ = new QNUrlFilterList(texts, filterGroup);
  filterLayout->addWidget(filters_);
  layout->addWidget(filterGroup, 1);
}

void QNProtocolsPage::Load(const CQNSettings& settings) {
  for (std::size_t i = 0; i < protocols_.size(); ++i)
    protocols_[i]->setChecked((settings.QN_PROTOCOL & (1 << i)) != 0);
  servers_.Load(settings.QN_OFFSITE);
  directories_.Load(settings.QN_DOWN);
  filters_->SetFilters(settings.QN_URL_FILTER);
}

void QNProtocolsPage::Store(CQNSettings& settings) const {
  // Only the four bits the boxes show change.
  for (std::size_t i = 0; i < protocols_.size(); ++i) {
    const int bit = 1 << i;
    settings.QN_PROTOCOL =
        protocols_[i]->isChecked() ? settings.QN_PROTOCOL | bit : settings.QN_PROTOCOL & ~bit;
  }
  servers_.Store(settings.QN_OFFSITE);
  directories_.Store(settings.QN_DOWN);
  settings.QN_URL_FILTER = filters_->Filters();
}

}  // namespace qn
