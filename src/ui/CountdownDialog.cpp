#include "ui/CountdownDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/TextFill.h"
#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"

namespace qn {

CQNCountdownDialog::CQNCountdownDialog(std::string format, int seconds, const QNTexts& texts,
                                       QWidget* parent, std::chrono::milliseconds step)
    : QDialog(parent), format_(std::move(format)), seconds_(std::max(seconds, 0)) {
  setWindowTitle(QApplication::applicationDisplayName());
  text_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, seconds_);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // Enter confirms at once, Escape cancels.
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(bar_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Wide enough that the text does not move the buttons while it counts down.
  text_->setMinimumWidth(text_->fontMetrics().averageCharWidth() * 40);
  ShowLeft();
  TagDialog(this, kDlgCountdown);
  TranslateDialog(this, texts);

  timer_.setInterval(step);
  connect(&timer_, &QTimer::timeout, this, &CQNCountdownDialog::Step);
  connect(this, &QDialog::finished, &timer_, &QTimer::stop);
  timer_.start();
  if (seconds_ == 0) QTimer::singleShot(0, this, &QDialog::accept);
}

void CQNCountdownDialog::Step() {
  bar_->setValue(bar_->value() + 1);
  ShowLeft();
  if (bar_->value() < seconds_) return;
  timer_.stop();
  accept();
}

void CQNCountdownDialog::ShowLeft() {
  text_->setText(QString::fromStdString(FillText(format_, seconds_ - bar_->value())));
  bar_->setAccessibleName(text_->text());
}

}  // namespace qn
