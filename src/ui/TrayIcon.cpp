#include "ui/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "ui/MainFrame.h"

namespace qn {
namespace {
// The notification area shows at most this many characters of a tooltip.
constexpr int kTooltipMax = 63;
}  // namespace

QNTrayIcon::QNTrayIcon(CQNMainFrame& frame) : frame_(frame), menu_(std::make_unique<QMenu>()) {
  QAction* open = menu_->addAction(tr("Open"), this, &QNTrayIcon::RestoreWindow);
  menu_->setDefaultAction(open);
  menu_->addAction(frame.StartAction());
  menu_->addAction(frame.PauseAction());
  menu_->addAction(frame.StopAction());
  menu_->addSeparator();
  menu_->addAction(tr("Exit"), &frame, &QWidget::close);
  icon_.setContextMenu(menu_.get());
  icon_.setIcon(QApplication::windowIcon());
  connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
    if (why == QSystemTrayIcon::DoubleClick || why == QSystemTrayIcon::Trigger) RestoreWindow();
  });
  connect(&frame, &QWidget::windowTitleChanged, this,
          [this](const QString& title) { icon_.setToolTip(title.left(kTooltipMax)); });
  icon_.setToolTip(frame.windowTitle().left(kTooltipMax));
}

QNTrayIcon::~QNTrayIcon() = default;

void QNTrayIcon::Apply(bool useTray) {
  const bool active = TrayModeActive(useTray, QSystemTrayIcon::isSystemTrayAvailable());
  icon_.setVisible(active);
  if (!active && frame_.isHidden()) RestoreWindow();
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
