#include "ui/SpeedPage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogTextTable.h"
#include "ui/NumberBox.h"
#include "ui/SettingsIds.h"

namespace qn {

QNSpeedPage::QNSpeedPage(const QNTexts& texts, QWidget* parent)
    : QNSettingsPage(kDlgPageSpeed, tr("Speed && Limits"), parent),
      texts_(texts),
      limits_{{{&CQNSettings::QN_LIM_DS, &SettingRange("QN_MAX_DS")},
               {&CQNSettings::QN_LIM_FQ, &SettingRange("QN_MAX_FQ")},
               {&CQNSettings::QN_LIM_MAXFS, &SettingRange("QN_MAX_MAXFS")},
               {&CQNSettings::QN_LIM_MINFS, &SettingRange("QN_MAX_MINFS")},
               {&CQNSettings::QN_LIM_TIME, &SettingRange("QN_MAX_TIME")},
               {&CQNSettings::QN_LIM_CONN, &SettingRange("QN_MAX_CONN")}}} {
  auto* layout = new QVBoxLayout(this);
  auto* speed = new QFormLayout;
  const QNSettingRange& threads = SettingRange("QN_THREADS");
  threads_ = Tagged(new QNNumberBox(threads.format, this), threads.controlId);
  speed->addRow(LabelFor(tr("&Number of files to download simultaneously (1-100):"), threads_,
                         threads.controlId),
                AtOwnWidth(threads_));
  layout->addLayout(speed);

  auto* limitsGroup = Tagged(new QGroupBox(tr("Restrictions"), this), kIdcLimitsGroup);
  auto* grid = new QGridLayout(limitsGroup);
  const std::array<QString, 6> captions = {
      tr("Max. Total Disk &Space"), tr("Max. Number of &Files"), tr("Max. File Si&ze"),
      tr("M&in. File Size"),        tr("Max. Total &Time"),      tr("Connections to one serv&er")};
  const std::array<QString, 6> units = {tr("MB"), tr("files"),   tr("KB"),
                                        tr("KB"), tr("minutes"), tr("at once")};
  const std::array<int, 6> unitIds = {kIdcUnitDiskSpace, kIdcUnitFileCount, kIdcUnitMaxSize,
                                      kIdcUnitMinSize,   kIdcUnitTime,      kIdcUnitConnections};
  for (std::size_t i = 0; i < limits_.size(); ++i) {
    Limit& limit = limits_[i];
    const int id = limit.range->controlId;
    limit.box = Tagged(new QCheckBox(captions[i], limitsGroup), id + kLabelIdOffset);
    limit.value = Tagged(new QNNumberBox(limit.range->format, limitsGroup), id);
    limit.value->setAccessibleName(QString(captions[i]).remove('&'));
    const int row = static_cast<int>(i);
    grid->addWidget(limit.box, row, 0);
    grid->addWidget(limit.value, row, 1);
    grid->addWidget(Tagged(new QLabel(units[i], limitsGroup), unitIds[i]), row, 2);
    connect(limit.box, &QCheckBox::toggled, limit.value, &QWidget::setEnabled);
  }
  grid->setColumnStretch(3, 1);
  layout->addWidget(limitsGroup);

  auto* crawling = Tagged(new QGroupBox(tr("Crawling"), this), kIdcCrawlingGroup);
  auto* crawlingForm = new QFormLayout(crawling);
  robots_ = Tagged(new QCheckBox(tr("Obey &robots.txt"), crawling), kIdcRobots);
  crawlingForm->addRow(robots_);
  const QNSettingRange& delay = SettingRange("QN_DELAY_MS");
  delay_ = Tagged(new QNNumberBox(delay.format, crawling), delay.controlId);
  delay_->setSuffix(tr(" ms"));
  crawlingForm->addRow(
      LabelFor(tr("&Delay between requests to a server:"), delay_, delay.controlId),
      AtOwnWidth(delay_));
  layout->addWidget(crawling);

  auto* auth = Tagged(new QGroupBox(tr("Authentication"), this), kIdcAuthGroup);
  auto* authForm = new QFormLayout(auth);
  user_ = Tagged(new QLineEdit(auth), kIdcUserId);
  password_ = Tagged(new QLineEdit(auth), kIdcPassword);
  password_->setEchoMode(QLineEdit::Password);
  authForm->addRow(LabelFor(tr("&User Name:"), user_, kIdcUserId), user_);
  authForm->addRow(LabelFor(tr("Pass&word:"), password_, kIdcPassword), password_);
  cookies_ = Tagged(new QLineEdit(auth), kIdcCookies);
  cookies_->setPlaceholderText(tr("cookies.txt loaded when a download starts"));
  auto* browse = Tagged(new QPushButton(tr("Br&owse..."), auth), kIdcBrowseCookies);
  auto* cookiesRow = new QHBoxLayout;
  cookiesRow->addWidget(cookies_, 1);
  cookiesRow->addWidget(browse);
  authForm->addRow(LabelFor(tr("&Cookies file:"), cookies_, kIdcCookies), cookiesRow);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen =
        QFileDialog::getOpenFileName(this, DialogText(texts_, kTxtCookiesCaption), cookies_->text(),
                                     DialogText(texts_, kTxtCookiesFilter));
    if (!chosen.isEmpty()) cookies_->setText(chosen);
  });
  layout->addWidget(auth);
  layout->addStretch(1);
}

void QNSpeedPage::Load(const CQNSettings& settings) {
  threads_->Load(SettingRange("QN_THREADS"), settings);
  for (const Limit& limit : limits_) {
    LoadFlag(limit.box, settings.*limit.on);
    limit.value->Load(*limit.range, settings);
    limit.value->setEnabled(limit.box->isChecked());
  }
  LoadFlag(robots_, settings.QN_ROBOTS);
  delay_->Load(SettingRange("QN_DELAY_MS"), settings);
  cookies_->setText(QString::fromStdString(settings.QN_COOKIES));
  user_->setText(QString::fromStdString(settings.QN_USER_ID));
  password_->setText(QString::fromStdString(settings.QN_PASSWORD));
}

void QNSpeedPage::Store(CQNSettings& settings) const {
  threads_->Store(SettingRange("QN_THREADS"), settings);
  for (const Limit& limit : limits_) {
    StoreFlag(limit.box, settings.*limit.on);
    limit.value->Store(*limit.range, settings);
  }
  StoreFlag(robots_, settings.QN_ROBOTS);
  delay_->Store(SettingRange("QN_DELAY_MS"), settings);
  settings.QN_COOKIES = cookies_->text().toStdString();
  settings.QN_USER_ID = user_->text().toStdString();
  settings.QN_PASSWORD = password_->text().toStdString();
}

}  // namespace qn
