#include "ui/WaitWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <system_error>
#include <thread>

#include "ui/DialogTexts.h"
#include "ui/PromptIds.h"
#include "ui/WaitCursor.h"

namespace qn {

QNWaitWindow::QNWaitWindow(const QString& text, const QNTexts& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(tr("Please Wait"));
  TagDialog(this, kDlgWait);
  setModal(true);
  auto* label = new QLabel(text, this);
  label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 40);
  // Moving without an end: the window is alive while the work goes on.
  auto* bar = new QProgressBar(this);
  bar->setRange(0, 0);
  bar->setTextVisible(false);
  bar->setAccessibleName(text);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(bar);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  TranslateDialog(this, texts);
}

void QNWaitWindow::Finish() {
  finished_ = true;
  done(QDialog::Accepted);
}

void QNWaitWindow::reject() {
  if (finished_) QDialog::reject();
}

void QNWaitWindow::closeEvent(QCloseEvent* event) {
  if (!finished_) event->ignore();
}

void RunBehindWaitWindow(const QString& text, const QNTexts& texts, QWidget* parent,
                         const std::function<void()>& work) {
  QNWaitWindow window(text, texts, parent);
  QNWaitCursor cursor;
  std::thread worker;
  try {
    worker = std::thread([&work, &window] {
      work();
      QMetaObject::invokeMethod(&window, &QNWaitWindow::Finish, Qt::QueuedConnection);
    });
  } catch (const std::system_error&) {
    // Without a thread the work runs here; the window cannot be drawn meanwhile.
    work();
    return;
  }
  // The window stays until the worker's Finish arrives: it is queued behind this call,
  // so it cannot be missed even when the work ended before the window opened.
  window.exec();
  worker.join();
}

}  // namespace qn
