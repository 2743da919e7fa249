#pragma once

// The notification-area icon of tray mode ("UseTray"): a minimised window leaves
// the task bar and the icon brings it back. Only where the desktop has a
// notification area: elsewhere the option has no effect, so the window can never
// be hidden with no way back.

#include <QElapsedTimer>
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

#include "text/Texts.h"

class QMenu;

namespace qn {

class CQNMainFrame;

// Whether tray mode is in force for the option and the desktop.
constexpr bool TrayModeActive(bool useTray, bool trayAvailable) {
  return useTray && trayAvailable;
}

class QNTrayIcon : public QObject {
  Q_OBJECT

 public:
  QNTrayIcon(CQNMainFrame& frame, const QNTexts& texts);
  ~QNTrayIcon() override;

  // Shows or removes the icon for the option as it now stands.
  void Apply(bool useTray);
  bool Active() const { return icon_.isVisible(); }
  // A run reported progress: the picture switches between its two states.
  void OnProgress();
  // The run ended: the first picture comes back.
  void OnRunEnded();
  // Shows the menu in the language installed now.
  void ApplyLanguage();
  // The icon's menu ("Open", the run commands, "Exit").
  QMenu& Menu() const { return *menu_; }
  // The window was minimised: in tray mode it leaves the task bar.
  void OnMinimised();
  // "Open": the window comes back.
  void RestoreWindow();

 private:
  CQNMainFrame& frame_;
  const QNTexts texts_;
  std::unique_ptr<QMenu> menu_;
  QSystemTrayIcon icon_;
  const QIcon idle_;
  const QIcon busy_;
  bool showingBusy_ = false;
  QElapsedTimer sinceSwitch_;
};

}  // namespace qn
