#include "ui/ScheduleDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/ScheduleText.h"
#include "text/MessageIds.h"
#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"

namespace qn {

CQNScheduleDialog::CQNScheduleDialog(std::vector<QNScheduleEntry> entries, QNTexts texts,
                                     const QString& projectFolder, QWidget* parent)
    : QDialog(parent),
      entries_(std::move(entries)),
      texts_(std::move(texts)),
      projectFolder_(projectFolder) {
  setWindowTitle(tr("Schedule"));

  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Room for a project's name and its recurrence, in the user's font.
  list_->setMinimumWidth(list_->fontMetrics().averageCharWidth() * 48);
  auto* projectsLabel = new QLabel(tr("&Projects:"), this);
  projectsLabel->setBuddy(list_);
  TagControl(projectsLabel, kIdcSchedProjects);
  add_ = new QPushButton(tr("&Add..."), this);
  remove_ = new QPushButton(tr("&Remove"), this);
  up_ = new QPushButton(tr("Move &Up"), this);
  down_ = new QPushButton(tr("Move Do&wn"), this);
  TagControl(add_, kIdcSchedAdd);
  TagControl(remove_, kIdcSchedRemove);
  TagControl(up_, kIdcSchedUp);
  TagControl(down_, kIdcSchedDown);
  auto* listButtons = new QVBoxLayout;
  for (QPushButton* button : {add_, remove_, up_, down_}) listButtons->addWidget(button);
  listButtons->addStretch();
  auto* projects = new QGridLayout;
  projects->addWidget(projectsLabel, 0, 0, 1, 2);
  projects->addWidget(list_, 1, 0);
  projects->addLayout(listButtons, 1, 1);

  kind_ = new QComboBox(this);
  for (int kind = 0; kind < kScheduleKindCount; ++kind)
    kind_->addItem(Text(kMsgIntervalDisabled + kind));
  time_ = new QTimeEdit(this);
  time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  weekday_ = new QComboBox(this);
  for (int d = 0; d < 7; ++d) weekday_->addItem(Text(kMsgSunday + d));
  day_ = new QSpinBox(this);
  day_->setRange(1, 31);
  month_ = new QComboBox(this);
  for (int m = 0; m < 12; ++m) month_->addItem(Text(kMsgJanuary + m));
  hangUp_ = new QCheckBox(tr("Auto &Disconnect"), this);
  shutDown_ = new QCheckBox(tr("Auto S&hutdown"), this);
  TagControl(hangUp_, kIdcSchedHangUp);
  TagControl(shutDown_, kIdcSchedShutDown);
  auto* fields = new QFormLayout;
  fields->addRow(TaggedLabel(tr("Download &Intervals:"), kind_, kIdcSchedKind), kind_);
  fields->addRow(TaggedLabel(tr("&Time:"), time_, kIdcSchedTime), time_);
  fields->addRow(TaggedLabel(tr("W&eekday:"), weekday_, kIdcSchedWeekday), weekday_);
  fields->addRow(TaggedLabel(tr("Da&y:"), day_, kIdcSchedDay), day_);
  fields->addRow(TaggedLabel(tr("&Month:"), month_, kIdcSchedMonth), month_);
  fields->addRow(hangUp_);
  fields->addRow(shutDown_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);

  auto* columns = new QHBoxLayout;
  columns->addLayout(projects, 3);
  columns->addLayout(fields, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);

  for (std::size_t row = 0; row < entries_.size(); ++row) {
    list_->addItem(QString());
    RefreshItem(static_cast<int>(row));
  }
  connect(list_, &QListWidget::currentRowChanged, this, &CQNScheduleDialog::ShowEntry);
  connect(add_, &QPushButton::clicked, this, &CQNScheduleDialog::ChooseProjects);
  connect(remove_, &QPushButton::clicked, this, &CQNScheduleDialog::RemoveProject);
  connect(up_, &QPushButton::clicked, this, [this] { MoveProject(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveProject(1); });
  connect(kind_, &QComboBox::currentIndexChanged, this, &CQNScheduleDialog::TakeFields);
  connect(time_, &QTimeEdit::timeChanged, this, &CQNScheduleDialog::TakeFields);
  connect(weekday_, &QComboBox::currentIndexChanged, this, &CQNScheduleDialog::TakeFields);
  connect(day_, &QSpinBox::valueChanged, this, &CQNScheduleDialog::TakeFields);
  connect(month_, &QComboBox::currentIndexChanged, this, &CQNScheduleDialog::TakeFields);
  connect(hangUp_, &QCheckBox::toggled, this, &CQNScheduleDialog::TakeFields);
  connect(shutDown_, &QCheckBox::toggled, this, &CQNScheduleDialog::TakeFields);

  const std::initializer_list<QWidget*> order{list_,   add_,      remove_,  up_,  down_,
                                              kind_,   time_,     weekday_, day_, month_,
                                              hangUp_, shutDown_, buttons};
  for (auto next = std::next(order.begin()); next != order.end(); ++next)
    setTabOrder(*std::prev(next), *next);
  list_->setCurrentRow(entries_.empty() ? -1 : 0);
  ShowEntry();
  TagDialog(this, kDlgSchedule);
  TranslateDialog(this, texts_);
}

QNScheduleEntry* CQNScheduleDialog::Current() {
  const int row = list_->currentRow();
  return row >= 0 && row < static_cast<int>(entries_.size())
             ? &entries_[static_cast<std::size_t>(row)]
             : nullptr;
}

QString CQNScheduleDialog::Text(int id) const {
  return QString::fromStdString(texts_.Text(id));
}

void CQNScheduleDialog::ChooseProjects() {
  AddProjects(QFileDialog::getOpenFileNames(this, DialogText(texts_, kTxtSchedAddCaption),
                                            projectFolder_,
                                            DialogText(texts_, kTxtSchedAddFilter)));
}

void CQNScheduleDialog::AddProjects(const QStringList& files) {
  for (const QString& file : files) {
    if (entries_.size() >= kMaxScheduleEntries) break;
    QNScheduleEntry entry;
    entry.projectFile = file.toStdString();
    entries_.push_back(entry);
    list_->addItem(QString());
    RefreshItem(static_cast<int>(entries_.size()) - 1);
  }
  if (!files.isEmpty()) list_->setCurrentRow(static_cast<int>(entries_.size()) - 1);
  EnableFields();
}

void CQNScheduleDialog::RemoveProject() {
  const int row = list_->currentRow();
  if (!Current()) return;
  entries_.erase(entries_.begin() + row);
  delete list_->takeItem(row);
  ShowEntry();
}

void CQNScheduleDialog::MoveProject(int by) {
  const int row = list_->currentRow();
  const int to = row + by;
  if (!Current() || to < 0 || to >= static_cast<int>(entries_.size())) return;
  std::swap(entries_[static_cast<std::size_t>(row)], entries_[static_cast<std::size_t>(to)]);
  RefreshItem(row);
  RefreshItem(to);
  list_->setCurrentRow(to);
}

void CQNScheduleDialog::ShowEntry() {
  showing_ = true;
  if (const QNScheduleEntry* entry = Current()) {
    kind_->setCurrentIndex(entry->kind);
    time_->setTime(QTime(entry->hour, entry->minute, entry->second));
    weekday_->setCurrentIndex(entry->weekday);
    day_->setValue(entry->day + 1);
    month_->setCurrentIndex(entry->month);
    hangUp_->setChecked(entry->hangUpAfter);
    shutDown_->setChecked(entry->shutDownAfter);
  }
  showing_ = false;
  EnableFields();
}

void CQNScheduleDialog::TakeFields() {
  QNScheduleEntry* entry = Current();
  if (showing_ || !entry) return;
  entry->kind = kind_->currentIndex();
  // An interval of 0 would never come: Every takes at least one second.
  if (entry->kind == kScheduleEvery && time_->time() == QTime(0, 0, 0)) {
    time_->setTime(QTime(0, 0, 1));
    return;
  }
  entry->hour = time_->time().hour();
  entry->minute = time_->time().minute();
  entry->second = time_->time().second();
  entry->weekday = weekday_->currentIndex();
  entry->day = day_->value() - 1;
  entry->month = month_->currentIndex();
  entry->hangUpAfter = hangUp_->isChecked();
  entry->shutDownAfter = shutDown_->isChecked();
  RefreshItem(list_->currentRow());
  EnableFields();
}

void CQNScheduleDialog::EnableFields() {
  const QNScheduleEntry* entry = Current();
  const int kind = entry ? entry->kind : kScheduleDisabled;
  for (QWidget* field : std::initializer_list<QWidget*>{kind_, hangUp_, shutDown_, remove_})
    field->setEnabled(entry != nullptr);
  up_->setEnabled(entry && list_->currentRow() > 0);
  down_->setEnabled(entry && list_->currentRow() + 1 < static_cast<int>(entries_.size()));
  time_->setEnabled(kind >= kScheduleDaily && kind <= kScheduleEvery);
  weekday_->setEnabled(kind == kScheduleWeekly);
  day_->setEnabled(kind == kScheduleMonthly || kind == kScheduleYearly);
  month_->setEnabled(kind == kScheduleYearly);
  add_->setEnabled(entries_.size() < kMaxScheduleEntries);
}

void CQNScheduleDialog::RefreshItem(int row) {
  if (row < 0 || row >= static_cast<int>(entries_.size())) return;
  const QNScheduleEntry& entry = entries_[static_cast<std::size_t>(row)];
  list_->item(row)->setText(QFileInfo(QString::fromStdString(entry.projectFile)).fileName() +
                            QStringLiteral("  —  ") +
                            QString::fromStdString(ScheduleWhenText(texts_, entry)));
  list_->item(row)->setToolTip(QString::fromStdString(entry.projectFile));
}

}  // namespace qn
