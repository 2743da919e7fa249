#include "ui/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "ui/CommandIds.h"
#include "ui/MainFrame.h"
#include "ui/MenuTexts.h"

namespace qn {
namespace {
// The notification area shows at most this many characters of a tooltip.
constexpr int kTooltipMax = 63;
// A run reports progress many times a second; the picture changes at most this often,
// so that it is seen to change rather than to flicker.
constexpr qint64 kSwitchMs = 400;
}  // namespace

QNTrayIcon::QNTrayIcon(CQNMainFrame& frame, const QNTexts& texts)
    : frame_(frame),
      texts_(texts),
      menu_(std::make_unique<QMenu>()),
      idle_(QApplication::windowIcon()),
      busy_(":/icons/quillorne-busy.svg") {
  menu_->setObjectName("TrayMenu");
  QAction* open = menu_->addAction(QString(), this, &QNTrayIcon::RestoreWindow);
  open->setObjectName(QString("command%1").arg(kCmdTrayOpen));
  open->setData(kCmdTrayOpen);
  TagMenuItem(open, "Open");
  menu_->setDefaultAction(open);
  // The menu names the run commands in its own words.
  for (int id : {kCmdStartDownload, kCmdPauseDownload, kCmdStopDownload})
    menu_->addAction(MirrorCommand(*frame.Command(id), menu_.get()));
  menu_->addSeparator();
  QAction* exit = menu_->addAction(QString(), &frame, &QWidget::close);
  exit->setData(kCmdExit);
  TagMenuItem(exit, "Exit");
  ApplyLanguage();
  icon_.setContextMenu(menu_.get());
  icon_.setIcon(idle_);
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::DoubleClick || why == QSystemTrayIcon::Trigger) RestoreWindow();
  });
  connect(&frame, &QWidget::windowTitleChanged, this,
          [this](const QString& title) { icon_.setToolTip(title.left(kTooltipMax)); });
  icon_.setToolTip(frame.windowTitle().left(kTooltipMax));
}

QNTrayIcon::~QNTrayIcon() = default;

void QNTrayIcon::ApplyLanguage() {
  TranslateMenu(menu_.get(), kMenuTray, texts_);
}

void QNTrayIcon::Apply(bool useTray) {
  const bool active = TrayModeActive(useTray, QSystemTrayIcon::isSystemTrayAvailable());
  icon_.setVisible(active);
  if (!active && frame_.isHidden()) RestoreWindow();
}

void QNTrayIcon::OnProgress() {
  if (sinceSwitch_.isValid() && sinceSwitch_.elapsed() < kSwitchMs) return;
  sinceSwitch_.start();
  showingBusy_ = !showingBusy_;
  icon_.setIcon(showingBusy_ ? busy_ : idle_);
}

void QNTrayIcon::OnRunEnded() {
  showingBusy_ = false;
  sinceSwitch_.invalidate();
  icon_.setIcon(idle_);
}

void QNTrayIcon::OnMinimised() {
  if (Active()) frame_.hide();
}

void QNTrayIcon::RestoreWindow() {
  frame_.showNormal();
  frame_.raise();
  frame_.activateWindow();
}

}  // namespace qn
