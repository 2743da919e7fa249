#pragma once

// The main window: menus, tool bar and status bar; the contents tree pane beside the
// page view, with the log pane below the page. Every command of the program is one
// action of the command set, enabled by its rule after every change of the project,
// the run, the selection or the page. The commands' handlers live in files of their
// own by menu: MainFrameFile.cpp, MainFrameRun.cpp (the run commands), MainFrameTree.cpp
// and MainFrameBrowser.cpp.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ProgramOptions.h"
#include "ui/EventQueue.h"
#include "ui/PrjWizRules.h"
#include "ui/QtTranslation.h"
#include "ui/TreeEvents.h"
#include "ui/WaitCursor.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QProgressDialog;
class QSplitter;

namespace qn {

class CQNApp;
class IQNDesktopServices;
class QNCommandSet;
class QNContentsPane;
class QNFindDialog;
class QNLogPane;
class QNPageView;
class QNPrintFolderJob;
class QNProgressWindow;
class QNTexts;
class QNTreeCommands;
struct QNCommandState;
struct QNStatus;

class CQNMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CQNMainFrame(CQNApp& app, IQNDesktopServices& desktop);
  ~CQNMainFrame() override;

  // The placement and panes of the options' "Desktop" section.
  void ApplyDesktop(const QNDesktopOptions& desktop);
  QNDesktopOptions CurrentDesktop() const;
  // Shows the window as ShowState asks; `restored`: never minimised ("-D").
  void ShowWithState(int showState, bool restored);
  // The contents tree's font from the options (the default face means the
  // desktop's own font).
  void ApplyTreeFont(const QNProgramOptions& options);

  // Shows a local page (the welcome page) in the page view.
  void ShowPage(const std::string& path);
  void ShowStatusText(const std::string& text);
  // A status record of the run: its status text goes to the status bar.
  void ShowRunStatus(const QNStatus& status);
  // The run started or ended.
  void OnRunStarted();
  void OnRunEnded();
  void RepaintStatus();
  void ShowMessage(const std::string& text);
  // Enables each command by its rule for the project, run, selection and page as
  // they stand.
  void UpdateCommands();
  // The state the rules read.
  QNCommandState CommandState() const;

  // Shows the project the program holds now, after it was created, opened (also by
  // the program itself) or closed: title, log, commands. The contents tree rebuilds
  // itself on the engine's notice.
  void ShowProject();
  // Closes the project and opens `path` (a dropped file, a recent project).
  void OpenProject(const std::string& path);

  // Shows the menus, prompts and status texts in the language installed now: when
  // the window is made and after a change of language.
  void ApplyLanguage();
  // Fills the contents pane's context menu with its commands, in the language
  // installed now.
  void FillContentsMenu(QMenu& menu);

  QAction* Command(int id) const;
  // The progress window, while there is one.
  QNProgressWindow* Progress() const;
  QNContentsPane& Contents() const { return *contents_; }
  QNPageView& Page() const { return *page_; }
  QNLogPane& Log() const { return *log_; }
  // The program's texts, for the dialogs shown over the window.
  const QNTexts& Texts() const;

  // Where the engine's notifications for the tree and the log go; any thread pushes.
  QNTreeEventQueue& TreeEvents();
  QNEventQueue<std::string>& LogEvents() { return logEvents_; }

 Q_SIGNALS:
  // The window closed for good, with its project closed: the program ends.
  void Closed();
  // The window was minimised (the notification-area icon may take its place).
  void Minimised();
  // A run reported progress; the run ended.
  void RunProgress();
  void RunEnded();
  // The user confirmed changed program options.
  void OptionsApplied();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ConnectCommands();
  void ConnectFileCommands();
  void ConnectRunCommands();
  void ConnectTreeCommands();
  void ConnectBrowserCommands();
  void ConnectDialogCommands();
  void FillRecentMenu();
  void UpdateTitle();
  void DrainLog();

  // File
  void NewProject();
  void Open();
  void SaveAs();
  void CloseProject();
  void DeleteProject();
  void PrintPage();
  // Asks for the printer and prints the page shown; `done` follows the printing
  // (or the refusal to print).
  void PrintShownPage(std::function<void()> done);
  void PageSetup();
  void PrintFolder();
  void PrintFolderProgress();
  void PrintContents();
  // Run commands: one slot each.
  void StartDownload();
  void PauseDownload();
  void StopDownload();
  void PreviewWebsite();
  void DownloadBranch();
  void ConvertLinks();
  // The progress window of a run that has just started, made or reused.
  void OpenProgress();
  void ShowFileLocation(const std::string& address);
  // Browser
  void GoTo();
  void ShowDownloadReport();
  void FindInContents();
  void WorkOffline(bool offline);
  void ShowNode(const QNNodeId& node);
  void ShowFindDialog();
  // The settings dialogs and wizards (MainFrameDialogs.cpp).
  void OpenOptions();
  void OpenSchedule();
  void OpenProjectSettings();
  void CopyProject();
  void AddUrlFilter();
  // Help
  void ContactMaker();
  void OpenWebSite();
  void OpenInBrowser(const std::string& target);
  void About();

  CQNApp& app_;
  IQNDesktopServices& desktop_;
  QNCommandSet* commands_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QSplitter* pageSplitter_ = nullptr;
  QNContentsPane* contents_ = nullptr;
  QNPageView* page_ = nullptr;
  QNLogPane* log_ = nullptr;
  QLabel* ready_ = nullptr;
  std::unique_ptr<QNTreeCommands> tree_;
  QNFindDialog* find_ = nullptr;
  QNEventQueue<std::string> logEvents_;
  // Print Folder: the pages being put together, and the window showing how far.
  std::unique_ptr<QNPrintFolderJob> printJob_;
  QProgressDialog* printProgress_ = nullptr;
  std::optional<QNWaitCursor> printCursor_;
  std::string printFile_;
  // "Convert Links": how far it has come, with its Stop, while it runs.
  QPointer<QProgressDialog> conversionProgress_;
  // From the first run until it is closed or the project changes.
  QPointer<QNProgressWindow> progress_;
  // Qt's own texts (key names, a text field's menu) in the chosen language.
  QNQtTranslation qtTranslation_;
  // The address and import methods the new-project wizard offers first.
  QNPrjWizState wizardChoices_;
};

}  // namespace qn
