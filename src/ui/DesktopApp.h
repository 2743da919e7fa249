#pragma once

// The desktop program as a whole: the application object, its main window, the
// notification-area icon, and the start-up steps that join them.

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "app/AppFrontEnd.h"
#include "ui/GuiObserver.h"
#include "ui/QtDesktopServices.h"

namespace qn {

class CQNApp;
class CQNMainFrame;
class QNTerminationSignals;
class QNTrayIcon;

class QNDesktopApp : public QObject, public IQNAppFrontEnd {
  Q_OBJECT

 public:
  QNDesktopApp();
  ~QNDesktopApp() override;

  // Runs the program with the arguments after the program name, on a QApplication
  // that exists; the exit status.
  int Run(const std::vector<std::string>& args);

  QNSaveAnswer AskSaveChanges(const std::string& text) override;
  std::optional<std::string> AskSavePath() override;
  void RequestClose(int exitStatus) override;
  void ProjectOpened() override;
  void RestoreWindow() override;
  // The stop runs on a thread of its own behind the wait window.
  void WaitForStop(const std::string& text, const std::function<void()>& stop) override;

 private:
  void StartUp(const std::vector<std::string>& args);
  void ShowFirstRunSheet();
  // A failure of start-up (a language file that cannot be read), in a message box
  // unless the program was started to work by itself.
  void ShowStartFailure(const std::string& message);
  void FirstOpen();

  QNGuiObserver observer_;
  QNQtDesktopServices desktop_;
  std::unique_ptr<CQNApp> app_;
  std::unique_ptr<CQNMainFrame> frame_;
  std::unique_ptr<QNTrayIcon> tray_;
  std::unique_ptr<QNTerminationSignals> signals_;
  int exitStatus_ = 0;
  bool closed_ = false;
};

}  // namespace qn
