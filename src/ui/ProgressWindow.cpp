#include "ui/ProgressWindow.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "seams/Observer.h"
#include "settings/FileTypes.h"
#include "text/MessageIds.h"
#include "text/Texts.h"
#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"

namespace qn {
namespace {

constexpr std::array<const char*, 9> kPicturePaths = {":/icons/tree/node02-page-done-depth0.svg",
                                                      ":/icons/tree/node18-image-done.svg",
                                                      ":/icons/tree/node22-audio-done.svg",
                                                      ":/icons/tree/node26-video-done.svg",
                                                      ":/icons/tree/node30-java-done.svg",
                                                      ":/icons/tree/node13-file-done.svg",
                                                      ":/icons/progress/document.svg",
                                                      ":/icons/tree/node34-archive-done.svg",
                                                      ":/icons/progress/unknown.svg"};

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* AddCounter(QGridLayout* grid, int row, int column, const QString& caption, int id,
                   QWidget* parent) {
  auto* name = new QLabel(caption, parent);
  TagControl(name, id);
  auto* value = new QLabel(parent);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(name, row, column);
  grid->addWidget(value, row, column + 1);
  return value;
}

}  // namespace

int CategoryPicture(int category) {
  switch (category) {
    case kCatHtml:
      return 0;
    case kCatImage:
      return 1;
    case kCatAudio:
      return 2;
    case kCatVideo:
      return 3;
    case kCatJava:
      return 4;
    case kCatOther:
      return 5;
    case kCatDocument:
      return 6;
    case kCatArchive:
      return 7;
    default:
      return 8;
  }
}

QNProgressWindow::QNProgressWindow(const QNTexts& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
  setObjectName("ProgressWindow");
  setWindowTitle(tr("Download Progress"));
  setModal(false);
  for (std::size_t i = 0; i < pictures_.size(); ++i) pictures_[i] = QIcon(kPicturePaths[i]);

  status_ = new QLabel(this);
  status_->setWordWrap(true);
  auto* counters = new QGridLayout;
  found_ = AddCounter(counters, 0, 0, tr("Found:"), kIdcProgFound, this);
  processed_ = AddCounter(counters, 1, 0, tr("Processed:"), kIdcProgProcessed, this);
  totalSize_ = AddCounter(counters, 2, 0, tr("Total Size:"), kIdcProgTotalSize, this);
  speed_ = AddCounter(counters, 0, 2, tr("Speed:"), kIdcProgSpeed, this);
  elapsed_ = AddCounter(counters, 1, 2, tr("Time:"), kIdcProgTime, this);
  counters->setColumnStretch(1, 1);
  counters->setColumnStretch(3, 1);

  rows_ = new QTreeWidget(this);
  rows_->setRootIsDecorated(false);
  rows_->setUniformRowHeights(true);
  rows_->setTextElideMode(Qt::ElideMiddle);
  rows_->setHeaderLabels({FromStd(texts_.Text(kMsgColumnFileName)),
                          FromStd(texts_.Text(kMsgColumnSize)),
                          FromStd(texts_.Text(kMsgColumnStatus))});
  rows_->header()->setStretchLastSection(false);
  rows_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(rows_, &QWidget::customContextMenuRequested, this, &QNProgressWindow::ShowRowMenu);
  rows_->viewport()->installEventFilter(this);

  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setRange(1, 10);
  slider_->setValue(10);
  slider_->setPageStep(1);
  slider_->setTickPosition(QSlider::TicksBelow);
  slider_->setAccessibleName(tr("Speed"));
  connect(slider_, &QSlider::valueChanged, this, &QNProgressWindow::SpeedLevelChanged);
  auto* slow = new QLabel(tr("Slow"), this);
  auto* fast = new QLabel(tr("Fast"), this);
  TagControl(slow, kIdcProgSlow);
  TagControl(fast, kIdcProgFast);
  auto* speedRow = new QHBoxLayout;
  speedRow->addWidget(slow);
  speedRow->addWidget(slider_, 1);
  speedRow->addWidget(fast);

  stop_ = new QPushButton(DialogText(texts_, kTxtProgStop), this);
  auto* settings = new QPushButton(tr("S&ettings..."), this);
  TagControl(settings, kIdcProgSettings);
  connect(stop_, &QPushButton::clicked, this, &QNProgressWindow::StopOrClose);
  connect(settings, &QPushButton::clicked, this, &QNProgressWindow::SettingsRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addLayout(speedRow, 1);
  buttons->addSpacing(12);
  buttons->addWidget(settings);
  buttons->addWidget(stop_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addLayout(counters);
  layout->addWidget(rows_, 1);
  layout->addLayout(buttons);
  resize(620, 360);
  TagDialog(this, kDlgProgress);
  TranslateDialog(this, texts_);

  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &QNProgressWindow::Tick);
}

void QNProgressWindow::Reset(int speedLevel) {
  closeOnly_ = false;
  stop_->setText(DialogText(texts_, kTxtProgStop));
  stop_->setEnabled(true);
  const QSignalBlocker quiet(slider_);
  slider_->setValue(speedLevel);
}

void QNProgressWindow::Apply(const QNStatus& status) {
  if (status.mask & QNStatus::kStatusText) status_->setText(FromStd(status.text3));
  if (status.mask & QNStatus::kFileCount) processed_->setText(FromStd(status.fileCountText));
  if (status.mask & QNStatus::kTotalSize) totalSize_->setText(FromStd(status.totalSizeText));
  if (status.mask & QNStatus::kLinkCount) found_->setText(FromStd(status.linkCountText));
  if (status.mask & QNStatus::kProgress) {
    meter_.OnProgress(status.progress, QNProgressMeter::Clock::now());
    if (status.progress == -1) {
      timer_.start();
      elapsed_->setText(FromStd(FormatElapsed(std::chrono::seconds(0))));
    } else if (status.progress == -2) {
      timer_.stop();
      speed_->clear();
    }
  }
  const int columns = status.mask & (QNStatus::kText1 | QNStatus::kText2 | QNStatus::kText3);
  if (columns && status.worker >= 0 && status.worker < kMaxRows) {
    QTreeWidgetItem* row = RowOf(status.worker);
    if (status.mask & QNStatus::kText1) {
      row->setText(0, FromStd(status.text1));
      row->setIcon(0, pictures_[CategoryPicture(status.category)]);
      row->setData(0, Qt::UserRole + 1, CategoryPicture(status.category));
      addresses_[status.worker] = status.address;
    }
    if (status.mask & QNStatus::kText2) row->setText(1, FromStd(status.text2));
    if (status.mask & QNStatus::kText3) row->setText(2, FromStd(status.text3));
  }
  if (status.clearRows) {
    rows_->clear();
    addresses_.fill({});
    closeOnly_ = true;
    stop_->setText(DialogText(texts_, kTxtProgClose));
    stop_->setEnabled(true);
  }
}

void QNProgressWindow::Tick() {
  meter_.Tick();
  speed_->setText(FromStd(FormatSpeed(meter_.Speed(), texts_.Text(kMsgSpeedUnit))));
  if (meter_.Running())
    elapsed_->setText(FromStd(FormatElapsed(meter_.Elapsed(QNProgressMeter::Clock::now()))));
}

QTreeWidgetItem* QNProgressWindow::RowOf(int worker) {
  for (int i = 0; i < rows_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = rows_->topLevelItem(i);
    if (row->data(0, Qt::UserRole).toInt() == worker) return row;
  }
  // Rows stay in worker order, so a worker keeps its place as others come and go.
  int at = 0;
  while (at < rows_->topLevelItemCount() &&
         rows_->topLevelItem(at)->data(0, Qt::UserRole).toInt() < worker)
    ++at;
  auto* row = new QTreeWidgetItem;
  row->setData(0, Qt::UserRole, worker);
  row->setData(0, Qt::UserRole + 1, CategoryPicture(0));
  row->setIcon(0, pictures_[CategoryPicture(0)]);
  rows_->insertTopLevelItem(at, row);
  return row;
}

void QNProgressWindow::ShowRowMenu(const QPoint& at) {
  QTreeWidgetItem* row = rows_->itemAt(at);
  if (!row) return;
  const int worker = row->data(0, Qt::UserRole).toInt();
  QMenu menu(this);
  QAction* show = menu.addAction(FromStd(texts_.Text(kMsgShowFileLocation)));
  QAction* abort = menu.addAction(FromStd(texts_.Text(kMsgAbortFile)));
  show->setEnabled(!addresses_[worker].empty());
  abort->setEnabled(!closeOnly_);
  QAction* chosen = menu.exec(rows_->viewport()->mapToGlobal(at));
  if (chosen == show) Q_EMIT ShowFileLocation(addresses_[worker]);
  if (chosen == abort) Q_EMIT AbortFile(worker);
}

void QNProgressWindow::StopOrClose() {
  if (closeOnly_) {
    hide();
    return;
  }
  status_->setText(FromStd(texts_.Text(kMsgStopping)));
  stop_->setEnabled(false);
  Q_EMIT StopRequested();
}

bool QNProgressWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == rows_->viewport() && event->type() == QEvent::Resize) FitColumns();
  return QDialog::eventFilter(watched, event);
}

void QNProgressWindow::FitColumns() {
  // The size column is as wide as ten wide letters, taken from the name's half; the
  // status has the other half.
  const int sizeWidth = rows_->fontMetrics().horizontalAdvance(QStringLiteral("XXXXXXXXXX"));
  const int half = rows_->viewport()->width() / 2;
  rows_->setColumnWidth(0, std::max(half - sizeWidth, sizeWidth));
  rows_->setColumnWidth(1, sizeWidth);
  rows_->setColumnWidth(2, half);
}

QString QNProgressWindow::StatusText() const {
  return status_->text();
}
QString QNProgressWindow::SpeedText() const {
  return speed_->text();
}
QString QNProgressWindow::ElapsedText() const {
  return elapsed_->text();
}
QString QNProgressWindow::CounterText(int mask) const {
  if (mask == QNStatus::kFileCount) return processed_->text();
  if (mask == QNStatus::kTotalSize) return totalSize_->text();
  if (mask == QNStatus::kLinkCount) return found_->text();
  return {};
}
int QNProgressWindow::RowCount() const {
  return rows_->topLevelItemCount();
}
QNProgressWindow::Row QNProgressWindow::RowAt(int index) const {
  const QTreeWidgetItem* row = rows_->topLevelItem(index);
  if (!row) return {};
  return {row->data(0, Qt::UserRole).toInt(), row->text(0), row->text(1), row->text(2),
          row->data(0, Qt::UserRole + 1).toInt()};
}
bool QNProgressWindow::Stopping() const {
  return !stop_->isEnabled();
}

}  // namespace qn
