#include "ui/CommandSet.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include "ui/CommandIds.h"
#include "ui/CommandRules.h"

namespace qn {
namespace {

struct QNCommandEntry {
  int id;
  const char* caption;
  const char* prompt;  // the status bar's text while the command is pointed at
  QKeySequence keys;
  const char* icon;  // freedesktop icon name, or null
  bool checkable = false;
};

// The captions are the program's own menu texts; a language file replaces them by
// the command's id.
const std::vector<QNCommandEntry>& Commands() {
  static const std::vector<QNCommandEntry> commands = {
      {kCmdNew, "&New", "Make a new project", QKeySequence::New, "document-new"},
      {kCmdOpen, "&Open...", "Open a project file", QKeySequence::Open, "document-open"},
      {kCmdClose, "&Close", "Close the project", {}, "document-close"},
      {kCmdSave, "&Save", "Save the project", QKeySequence::Save, "document-save"},
      {kCmdSaveAs, "Save &As...", "Save the project under a new name", {}, "document-save-as"},
      {kCmdCopyProject,
       "Cop&y Project",
       "Copy the project and its downloaded files to another folder",
       {},
       "edit-copy"},
      {kCmdDeleteProject,
       "&Delete Project",
       "Delete the project, and its downloaded files if you wish",
       {},
       "edit-delete"},
      {kCmdPageSetup,
       "Page Se&tup...",
       "Choose the paper and margins for printing pages",
       {},
       "document-page-setup"},
      {kCmdPrintPage, "&Print Page...", "Print the page shown", QKeySequence::Print,
       "document-print"},
      {kCmdPrintFolder,
       "Print &Folder...",
       "Print the pages of the selected folder as one document",
       {},
       nullptr},
      {kCmdPrintContents, "Print Contents...", "Print the contents tree", {}, nullptr},
      {kCmdExit, "E&xit", "Close the project and end Quillorne", QKeySequence::Quit,
       "application-exit"},
      {kCmdCut, "Cu&t", "Cut the selection to the clipboard", QKeySequence::Cut, "edit-cut"},
      {kCmdCopy, "&Copy", "Copy the selection to the clipboard", QKeySequence::Copy, "edit-copy"},
      {kCmdPaste, "&Paste", "Paste from the clipboard", QKeySequence::Paste, "edit-paste"},
      {kCmdFind, "&Find...", "Find text in the contents tree", QKeySequence::Find, "edit-find"},
      {kCmdOptions,
       "Quillorne &Options...",
       "Change the program options",
       {},
       "preferences-system"},
      {kCmdSchedule, "&Schedule...", "Download projects at set times", {}, "appointment-new"},
      {kCmdStartDownload, "Start &Download", "Start or resume the download",
       QKeySequence(Qt::CTRL | Qt::Key_D), "media-playback-start"},
      {kCmdPauseDownload, "Pa&use Download", "Pause the download", {}, "media-playback-pause"},
      {kCmdStopDownload, "&Stop Download", "Stop the download", {}, "media-playback-stop"},
      {kCmdPreview,
       "Preview &website",
       "Find the pages of the site without saving them",
       {},
       "system-search"},
      {kCmdProjectSettings,
       "&Project Settings...",
       "Change the settings of the project",
       {},
       "document-properties"},
      {kCmdDownloadBranch,
       "Download Branch",
       "Download the selected folder and what lies below it",
       {},
       nullptr},
      {kCmdAddUrlFilter,
       "Add URL Filter...",
       "Make a URL filter from the selected address",
       {},
       nullptr},
      {kCmdSelectForDownload,
       "Select for next Download",
       "Select or unselect the nodes for the next download",
       {},
       nullptr},
      {kCmdAddFolder, "Add &Folder...", "Add a folder to the contents tree", {}, "folder-new"},
      {kCmdAddLink, "Add &Link...", "Add a link to the contents tree", {}, "insert-link"},
      {kCmdDeleteNode, "&Delete Folder / Link...", "Delete the selected nodes",
       QKeySequence::Delete, "edit-delete"},
      {kCmdConvertLinks,
       "&Convert Links",
       "Make the links of the saved pages point to the copies",
       {},
       nullptr},
      {kCmdToolbar, "&Toolbar", "Show or hide the tool bar", {}, nullptr, true},
      {kCmdStatusBar, "&Status Bar", "Show or hide the status bar", {}, nullptr, true},
      {kCmdSplit, "S&plit", "Move the border between the contents tree and the page", {}, nullptr},
      {kCmdShowContents, "Show &Contents", "Show or hide the contents tree", {}, nullptr, true},
      {kCmdShowLog, "Show L&og", "Show or hide the download log", {}, nullptr, true},
      {kCmdExpandTree,
       "&Expand Contents Tree",
       "Open every branch of the contents tree",
       {},
       nullptr},
      {kCmdCollapseTree,
       "Co&llapse Contents Tree",
       "Close every branch of the contents tree",
       {},
       nullptr},
      {kCmdTreeRoot, "&Go to Contents Root", "Select the root of the contents tree", {}, "go-top"},
      {kCmdUpdateTree,
       "&Update Contents Tree",
       "Show the contents tree again from the project",
       {},
       nullptr},
      {kCmdDeleteTree,
       "&Delete Contents Tree",
       "Empty the display of the contents tree; the project keeps its nodes",
       {},
       nullptr},
      {kCmdNodeProperties, "Node P&roperties...", "Show the properties of the selected node",
       QKeySequence(Qt::ALT | Qt::Key_Return), nullptr},
      {kCmdGoTo, "&Go To", "Show a web page or file", QKeySequence(Qt::CTRL | Qt::Key_G),
       "go-jump"},
      {kCmdGoBack, "Go &Back", "Go to the previous page", QKeySequence::Back, "go-previous"},
      {kCmdGoForward, "Go &Forward", "Go to the next page", QKeySequence::Forward, "go-next"},
      {kCmdStopBrowsing, "&Stop Browsing", "Stop loading the page", {}, "process-stop"},
      {kCmdRefreshView, "&Refresh View", "Load the page again", QKeySequence::Refresh,
       "view-refresh"},
      {kCmdFontLargest, "Lar&gest", "Show the page in the largest type", {}, nullptr, true},
      {kCmdFontLarger, "&Larger", "Show the page in larger type", {}, nullptr, true},
      {kCmdFontMedium, "&Medium", "Show the page in medium type", {}, nullptr, true},
      {kCmdFontSmaller, "&Smaller", "Show the page in smaller type", {}, nullptr, true},
      {kCmdFontSmallest, "Smalle&st", "Show the page in the smallest type", {}, nullptr, true},
      {kCmdShowReport, "Show Download Report", "Show the report of the last download", {}, nullptr},
      {kCmdFindInContents, "F&ind in Contents", "Select the node of the page shown", {}, nullptr},
      {kCmdWorkOffline,
       "Work Offline",
       "Show saved pages only, without connecting",
       {},
       nullptr,
       true},
      {kCmdHelpTopics, "Help &Topics", "Show the help", QKeySequence::HelpContents,
       "help-contents"},
      {kCmdContact,
       "&Contact Quillorne",
       "Write to the makers of Quillorne",
       {},
       "mail-message-new"},
      {kCmdWebSite,
       "Quillorne on the &Internet",
       "Visit the web site of Quillorne",
       {},
       "internet-web-browser"},
      {kCmdAbout, "&About Quillorne...", "Show the version of Quillorne", {}, "help-about"},
  };
  return commands;
}

// The desktop theme's icon, else the program's own drawing of it, if any.
QIcon CommandIcon(const char* name) {
  if (!name) return {};
  const QString own = QString(":/icons/commands/%1.svg").arg(QLatin1String(name));
  return QIcon::fromTheme(QLatin1String(name), QFile::exists(own) ? QIcon(own) : QIcon());
}

}  // namespace

QNCommandSet::QNCommandSet(QMainWindow& window) : QObject(&window), window_(window) {
  for (const QNCommandEntry& entry : Commands()) {
    QAction* action = Make(entry.id);
    action->setText(QString::fromUtf8(entry.caption));
    action->setStatusTip(QString::fromUtf8(entry.prompt));
    action->setShortcut(entry.keys);
    action->setIcon(CommandIcon(entry.icon));
    action->setCheckable(entry.checkable);
  }
  auto* fontSizes = new QActionGroup(this);
  for (int id = kCmdFontLargest; id <= kCmdFontSmallest; ++id) fontSizes->addAction(Action(id));
  Action(kCmdFontMedium)->setChecked(true);

  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu(tr("&File"));
  AddTo(file, {kCmdNew, kCmdOpen, kCmdClose, 0, kCmdSave, kCmdSaveAs, 0, kCmdCopyProject,
               kCmdDeleteProject, 0, kCmdPageSetup, kCmdPrintPage, kCmdPrintFolder,
               kCmdPrintContents, 0});
  recent_ = file->addMenu(tr("Recent Projects"));
  AddTo(file, {0, kCmdExit});
  AddTo(bar->addMenu(tr("&Edit")),
        {kCmdCut, kCmdCopy, kCmdPaste, 0, kCmdFind, 0, kCmdOptions, kCmdSchedule});
  AddTo(bar->addMenu(tr("&Project")),
        {kCmdStartDownload, kCmdPauseDownload, kCmdStopDownload, 0, kCmdPreview, 0,
         kCmdProjectSettings, 0, kCmdDownloadBranch, kCmdAddUrlFilter, kCmdSelectForDownload, 0,
         kCmdAddFolder, kCmdAddLink, kCmdDeleteNode, 0, kCmdConvertLinks});
  AddTo(bar->addMenu(tr("&View")),
        {kCmdToolbar, kCmdStatusBar, kCmdSplit, 0, kCmdShowContents, kCmdShowLog, 0, kCmdExpandTree,
         kCmdCollapseTree, kCmdTreeRoot, 0, kCmdUpdateTree, kCmdDeleteTree, 0, kCmdNodeProperties});
  QMenu* browser = bar->addMenu(tr("&Browser"));
  AddTo(browser, {kCmdGoTo, 0, kCmdGoBack, kCmdGoForward, kCmdStopBrowsing, kCmdRefreshView});
  font_ = browser->addMenu(tr("Font Si&ze"));
  AddTo(font_,
        {kCmdFontLargest, kCmdFontLarger, kCmdFontMedium, kCmdFontSmaller, kCmdFontSmallest});
  AddTo(browser, {0, kCmdShowReport, kCmdFindInContents, 0, kCmdWorkOffline});
  AddTo(bar->addMenu(tr("&Help")), {kCmdHelpTopics, 0, kCmdContact, kCmdWebSite, 0, kCmdAbout});

  toolBar_ = window.addToolBar(tr("Toolbar"));
  toolBar_->setObjectName("ToolBar");
  for (int id : std::initializer_list<int>{kCmdNew, kCmdOpen, kCmdSave, 0, kCmdStartDownload,
                                           kCmdPauseDownload, kCmdStopDownload, kCmdPreview, 0,
                                           kCmdGoBack, kCmdGoForward, kCmdStopBrowsing,
                                           kCmdRefreshView, 0, kCmdFind, kCmdPrintPage}) {
    if (id == 0)
      toolBar_->addSeparator();
    else
      toolBar_->addAction(Action(id));
  }
  Action(kCmdToolbar)->setChecked(true);
  connect(Action(kCmdToolbar), &QAction::toggled, toolBar_, &QWidget::setVisible);
  // The tool bar's own menu entry would hide it without the command knowing.
  toolBar_->toggleViewAction()->setVisible(false);
  connect(toolBar_, &QToolBar::visibilityChanged, Action(kCmdToolbar), &QAction::setChecked);
}

QAction* QNCommandSet::Action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void QNCommandSet::Update(const QNCommandState& state) {
  for (const auto& [id, action] : actions_) action->setEnabled(CommandEnabled(id, state));
  recent_->setEnabled(CommandEnabled(kCmdRecent1, state));
}

QAction* QNCommandSet::Make(int id) {
  auto* action = new QAction(&window_);
  // Found by its id, by the screenshot driver and the tests, as a user finds it in a menu.
  action->setObjectName(QString("command%1").arg(id));
  action->setData(id);
  actions_[id] = action;
  return action;
}

void QNCommandSet::AddTo(QMenu* menu, std::initializer_list<int> ids) {
  for (int id : ids) {
    if (id == 0)
      menu->addSeparator();
    else
      menu->addAction(Action(id));
  }
}

}  // namespace qn
