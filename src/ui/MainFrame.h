#pragma once

// The main window: menus, the contents tree pane and the page view side by side,
// and the status bar. The commands here open, save and close projects, start,
// pause and stop downloads and convert links; the main window's remaining
// commands and views build on this frame.

#include <QMainWindow>
#include <string>

#include "app/ProgramOptions.h"
#include "ui/PrjWizRules.h"

class QAction;
class QMenu;
class QSplitter;
class QTextBrowser;
class QTreeView;

namespace qn {

class CQNApp;
class IQNDesktopServices;

class CQNMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CQNMainFrame(CQNApp& app, IQNDesktopServices& desktop);

  // The placement and panes of the options' "Desktop" section.
  void ApplyDesktop(const QNDesktopOptions& desktop);
  QNDesktopOptions CurrentDesktop() const;
  // Shows the window as ShowState asks; `restored`: never minimised ("-D").
  void ShowWithState(int showState, bool restored);

  // Shows a local page (the welcome page) in the page view.
  void ShowPage(const std::string& path);
  void ShowStatusText(const std::string& text);
  void RepaintStatus();
  void ShowMessage(const std::string& text);
  // Enables each command by its rule for the project and run as they stand.
  void UpdateCommands();

  // Closes the project and opens `path` (a dropped file, a recent project).
  void OpenProject(const std::string& path);
  // Shows the project the program holds now, which it opened by itself.
  void ShowProject();

  // The commands the notification-area menu repeats.
  QAction* StartAction() const { return startAction_; }
  QAction* PauseAction() const { return pauseAction_; }
  QAction* StopAction() const { return stopAction_; }
  QAction* ExitAction() const { return exitAction_; }

 Q_SIGNALS:
  // The window closed for good, with its project closed: the program ends.
  void Closed();
  // The window was minimised (the notification-area icon may take its place).
  void Minimised();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void FillRecentMenu();
  void UpdateTitle();

  void NewProject();
  void Open();
  void SaveAs();
  void CloseProject();
  void StartDownload();
  void PauseDownload();
  void ConvertLinks();
  void ContactMaker();
  void OpenWebSite();
  void About();

  CQNApp& app_;
  IQNDesktopServices& desktop_;
  QSplitter* splitter_ = nullptr;
  QTreeView* tree_ = nullptr;
  QTextBrowser* page_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* newAction_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* closeAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* startAction_ = nullptr;
  QAction* pauseAction_ = nullptr;
  QAction* stopAction_ = nullptr;
  QAction* convertAction_ = nullptr;
  QAction* showContentsAction_ = nullptr;
  // The address and import methods the new-project wizard offers first.
  QNPrjWizState wizardChoices_;
};

}  // namespace qn
