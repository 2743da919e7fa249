#include "ui/ProjectPage.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/DialogTextTable.h"
#include "ui/SettingsIds.h"

namespace qn {

QNProjectPage::QNProjectPage(const QNTexts& texts, QWidget* parent)
    : QNSettingsPage(kDlgPageProject, tr("Project"), parent), texts_(texts), mode_(this) {
  auto* form = new QFormLayout(this);
  title_ = Tagged(new QLineEdit(this), kIdcTitle);
  form->addRow(LabelFor(tr("&Title:"), title_, kIdcTitle), title_);

  dir_ = Tagged(new QLineEdit(this), kIdcProjectDir);
  auto* browse = Tagged(new QPushButton(tr("&Browse..."), this), kIdcBrowseDir);
  auto* dirRow = new QHBoxLayout;
  dirRow->addWidget(dir_, 1);
  dirRow->addWidget(browse);
  form->addRow(LabelFor(tr("Save in &Directory:"), dir_, kIdcProjectDir), dirRow);

  single_ = Tagged(new QRadioButton(tr("Download this &Web site"), this), kIdcSingleUrl);
  list_ = Tagged(new QRadioButton(tr("Download a &list of URLs"), this), kIdcUrlList);
  mode_.Add(single_, 1);
  mode_.Add(list_, 0);
  form->addRow(single_);
  form->addRow(list_);

  addresses_ = new QStackedWidget(this);
  startPage_ = Tagged(new QLineEdit(addresses_), kIdcStartPage);
  startPage_->setPlaceholderText("https://www.example.org/");
  startList_ = Tagged(new QPlainTextEdit(addresses_), kIdcStartList);
  startList_->setPlaceholderText(tr("One address a line, up to %1").arg(kMaxStartUrls));
  startList_->setTabChangesFocus(true);
  startList_->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* pageBox = new QWidget(addresses_);
  auto* pageLayout = new QVBoxLayout(pageBox);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  pageLayout->addWidget(startPage_);
  pageLayout->addStretch(1);
  addresses_->addWidget(pageBox);
  addresses_->addWidget(startList_);
  auto* addressLabel = LabelFor(tr("&Start Page:"), startPage_, kIdcStartPage);
  form->addRow(addressLabel, addresses_);

  connect(browse, &QPushButton::clicked, this, &QNProjectPage::Browse);
  connect(single_, &QRadioButton::toggled, this, [this, addressLabel](bool single) {
    ShowSingle(single);
    addressLabel->setBuddy(single ? static_cast<QWidget*>(startPage_) : startList_);
  });
}

void QNProjectPage::Load(const CQNSettings& settings) {
  title_->setText(QString::fromStdString(settings.QN_TITLE));
  dir_->setText(QString::fromStdString(settings.QN_PROJECT_DIR));
  loadedPage_ = QString::fromStdString(settings.QN_START_URL[0]);
  QStringList list;
  const int count = std::clamp(settings.StartUrlCount, 1, kMaxStartUrls);
  for (int i = 0; i < count; ++i) list << QString::fromStdString(settings.QN_START_URL[i]);
  loadedList_ = list.join('\n');
  startPage_->setText(loadedPage_);
  startList_->setPlainText(loadedList_);
  mode_.Load(settings.QN_SINGLE_URL != 0 ? 1 : 0);
  ShowSingle(settings.QN_SINGLE_URL != 0);
}

void QNProjectPage::ShowSingle(bool single) {
  // The address typed in one view is the first of the other.
  if (single && addresses_->currentWidget() == startList_) {
    const QStringList listed = ListedAddresses();
    startPage_->setText(listed.isEmpty() ? QString() : listed.first());
  } else if (!single && addresses_->currentIndex() == 0) {
    QStringList listed = ListedAddresses();
    const QString page = startPage_->text().trimmed();
    if (listed.isEmpty())
      listed << page;
    else
      listed.first() = page;
    startList_->setPlainText(listed.join('\n'));
  }
  addresses_->setCurrentIndex(single ? 0 : 1);
}

QStringList QNProjectPage::ListedAddresses() const {
  QStringList listed;
  for (const QString& line : startList_->toPlainText().split('\n')) {
    const QString address = line.trimmed();
    if (!address.isEmpty()) listed << address;
  }
  return listed;
}

void QNProjectPage::Browse() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, DialogText(texts_, kTxtProjectSaveIn), dir_->text());
  if (chosen.isEmpty()) return;
  dir_->setText(chosen.endsWith('/') ? chosen : chosen + '/');
}

void QNProjectPage::Store(CQNSettings& settings) const {
  settings.QN_TITLE = title_->text().toStdString();
  settings.QN_PROJECT_DIR = dir_->text().toStdString();
  mode_.Store(settings.QN_SINGLE_URL);
  if (addresses_->currentIndex() == 0) {
    // One site: the first address, the others stay for the list.
    if (startPage_->text() != loadedPage_)
      settings.QN_START_URL[0] = startPage_->text().trimmed().toStdString();
    return;
  }
  if (startList_->toPlainText() == loadedList_) return;
  const QStringList listed = ListedAddresses();
  const int count = std::min<int>(listed.size(), kMaxStartUrls);
  for (int i = 0; i < kMaxStartUrls; ++i)
    settings.QN_START_URL[i] = i < count ? listed[i].toStdString() : std::string();
  // A project always has one start address, if an empty one.
  settings.StartUrlCount = std::max(count, 1);
}

std::optional<QNPageProblem> QNProjectPage::Check(const CQNSettings&) const {
  if (addresses_->currentIndex() == 1 && ListedAddresses().size() > kMaxStartUrls)
    return QNPageProblem{DialogText(texts_, kTxtProjectTooManyUrls).arg(kMaxStartUrls), startList_};
  if (dir_->text().trimmed().isEmpty())
    return QNPageProblem{DialogText(texts_, kTxtProjectNoDir), dir_};
  return std::nullopt;
}

}  // namespace qn
