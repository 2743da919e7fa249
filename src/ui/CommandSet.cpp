#include "ui/CommandSet.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include "text/Texts.h"
#include "ui/CommandIds.h"
#include "ui/CommandRules.h"
#include "ui/MenuTexts.h"

namespace qn {
namespace {

struct QNCommandEntry {
  int id;
  const char* caption;
  QKeySequence keys;
  const char* icon;  // freedesktop icon name, or null
  bool checkable = false;
};

// The captions are the program's own menu texts; a language file replaces them by
// the command's id. The status-bar prompts are texts of the string table under the
// command's id.
const std::vector<QNCommandEntry>& Commands() {
  static const std::vector<QNCommandEntry> commands = {
      {kCmdNew, "&New", QKeySequence::New, "document-new"},
      {kCmdOpen, "&Open...", QKeySequence::Open, "document-open"},
      {kCmdClose, "&Close", {}, "document-close"},
      {kCmdSave, "&Save", QKeySequence::Save, "document-save"},
      {kCmdSaveAs, "Save &As...", {}, "document-save-as"},
      {kCmdCopyProject, "Cop&y Project", {}, "edit-copy"},
      {kCmdDeleteProject, "&Delete Project", {}, "edit-delete"},
      {kCmdPageSetup, "Page Se&tup...", {}, "document-page-setup"},
      {kCmdPrintPage, "&Print Page...", QKeySequence::Print, "document-print"},
      {kCmdPrintFolder, "Print &Folder...", {}, nullptr},
      {kCmdPrintContents, "Print Contents...", {}, nullptr},
      {kCmdExit, "E&xit", QKeySequence::Quit, "application-exit"},
      {kCmdCut, "Cu&t", QKeySequence::Cut, "edit-cut"},
      {kCmdCopy, "&Copy", QKeySequence::Copy, "edit-copy"},
      {kCmdPaste, "&Paste", QKeySequence::Paste, "edit-paste"},
      {kCmdFind, "&Find...", QKeySequence::Find, "edit-find"},
      {kCmdOptions, "Quillorne &Options...", {}, "preferences-system"},
      {kCmdSchedule, "&Schedule...", {}, "appointment-new"},
      {kCmdStartDownload, "Start &Download", QKeySequence(Qt::CTRL | Qt::Key_D),
       "media-playback-start"},
      {kCmdPauseDownload, "Pa&use Download", {}, "media-playback-pause"},
      {kCmdStopDownload, "&Stop Download", {}, "media-playback-stop"},
      {kCmdPreview, "Preview &website", {}, "system-search"},
      {kCmdProjectSettings, "&Project Settings...", {}, "document-properties"},
      {kCmdDownloadBranch, "Download Branch", {}, nullptr},
      {kCmdAddUrlFilter, "Add URL Filter...", {}, nullptr},
      {kCmdSelectForDownload, "Select for next Download", {}, nullptr},
      {kCmdAddFolder, "Add &Folder...", {}, "folder-new"},
      {kCmdAddLink, "Add &Link...", {}, "insert-link"},
      {kCmdDeleteNode, "&Delete Folder / Link...", QKeySequence::Delete, "edit-delete"},
      {kCmdConvertLinks, "&Convert Links", {}, nullptr},
      {kCmdToolbar, "&Toolbar", {}, nullptr, true},
      {kCmdStatusBar, "&Status Bar", {}, nullptr, true},
      {kCmdSplit, "S&plit", {}, nullptr},
      {kCmdShowContents, "Show &Contents", {}, nullptr, true},
      {kCmdShowLog, "Show L&og", {}, nullptr, true},
      {kCmdExpandTree, "&Expand Contents Tree", {}, nullptr},
      {kCmdCollapseTree, "Co&llapse Contents Tree", {}, nullptr},
      {kCmdTreeRoot, "&Go to Contents Root", {}, "go-top"},
      {kCmdUpdateTree, "&Update Contents Tree", {}, nullptr},
      {kCmdDeleteTree, "&Delete Contents Tree", {}, nullptr},
      {kCmdNodeProperties, "Node P&roperties...", QKeySequence(Qt::ALT | Qt::Key_Return), nullptr},
      {kCmdGoTo, "&Go To", QKeySequence(Qt::CTRL | Qt::Key_G), "go-jump"},
      {kCmdGoBack, "Go &Back", QKeySequence::Back, "go-previous"},
      {kCmdGoForward, "Go &Forward", QKeySequence::Forward, "go-next"},
      {kCmdStopBrowsing, "&Stop Browsing", {}, "process-stop"},
      {kCmdRefreshView, "&Refresh View", QKeySequence::Refresh, "view-refresh"},
      {kCmdFontLargest, "Lar&gest", {}, nullptr, true},
      {kCmdFontLarger, "&Larger", {}, nullptr, true},
      {kCmdFontMedium, "&Medium", {}, nullptr, true},
      {kCmdFontSmaller, "&Smaller", {}, nullptr, true},
      {kCmdFontSmallest, "Smalle&st", {}, nullptr, true},
      {kCmdShowReport, "Show Download Report", {}, nullptr},
      {kCmdFindInContents, "F&ind in Contents", {}, nullptr},
      {kCmdWorkOffline, "Work Offline", {}, nullptr, true},
      {kCmdHelpTopics, "Help &Topics", QKeySequence::HelpContents, "help-contents"},
      {kCmdContact, "&Contact Quillorne", {}, "mail-message-new"},
      {kCmdWebSite, "Quillorne on the &Internet", {}, "internet-web-browser"},
      {kCmdAbout, "&About Quillorne...", {}, "help-about"},
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
    TagMenuItem(action, QString::fromUtf8(entry.caption));
    action->setShortcut(entry.keys);
    action->setIcon(CommandIcon(entry.icon));
    action->setCheckable(entry.checkable);
  }
  auto* fontSizes = new QActionGroup(this);
  for (int id = kCmdFontLargest; id <= kCmdFontSmallest; ++id) fontSizes->addAction(Action(id));
  Action(kCmdFontMedium)->setChecked(true);

  QMenuBar* bar = window.menuBar();
  QMenu* file = AddMenu(bar, "&File");
  AddTo(file, {kCmdNew, kCmdOpen, kCmdClose, 0, kCmdSave, kCmdSaveAs, 0, kCmdCopyProject,
               kCmdDeleteProject, 0, kCmdPageSetup, kCmdPrintPage, kCmdPrintFolder,
               kCmdPrintContents, 0});
  recent_ = AddMenu(file, "Recent Projects");
  AddTo(file, {0, kCmdExit});
  AddTo(AddMenu(bar, "&Edit"),
        {kCmdCut, kCmdCopy, kCmdPaste, 0, kCmdFind, 0, kCmdOptions, kCmdSchedule});
  AddTo(AddMenu(bar, "&Project"),
        {kCmdStartDownload, kCmdPauseDownload, kCmdStopDownload, 0, kCmdPreview, 0,
         kCmdProjectSettings, 0, kCmdDownloadBranch, kCmdAddUrlFilter, kCmdSelectForDownload, 0,
         kCmdAddFolder, kCmdAddLink, kCmdDeleteNode, 0, kCmdConvertLinks});
  AddTo(AddMenu(bar, "&View"),
        {kCmdToolbar, kCmdStatusBar, kCmdSplit, 0, kCmdShowContents, kCmdShowLog, 0, kCmdExpandTree,
         kCmdCollapseTree, kCmdTreeRoot, 0, kCmdUpdateTree, kCmdDeleteTree, 0, kCmdNodeProperties});
  QMenu* browser = AddMenu(bar, "&Browser");
  AddTo(browser, {kCmdGoTo, 0, kCmdGoBack, kCmdGoForward, kCmdStopBrowsing, kCmdRefreshView});
  font_ = AddMenu(browser, "Font Si&ze");
  AddTo(font_,
        {kCmdFontLargest, kCmdFontLarger, kCmdFontMedium, kCmdFontSmaller, kCmdFontSmallest});
  AddTo(browser, {0, kCmdShowReport, kCmdFindInContents, 0, kCmdWorkOffline});
  AddTo(AddMenu(bar, "&Help"), {kCmdHelpTopics, 0, kCmdContact, kCmdWebSite, 0, kCmdAbout});

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

void QNCommandSet::Translate(const QNTexts& texts) {
  TranslateMenu(window_.menuBar(), kMenuMain, texts);
  for (const auto& [id, action] : actions_) {
    action->setStatusTip(QString::fromStdString(texts.Prompt(id)));
    // The tool bar's tip: the language's own after the prompt, else the command's text.
    action->setToolTip(QString::fromStdString(texts.Text(id)).section('\n', 1));
  }
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

QMenu* QNCommandSet::AddMenu(QWidget* parent, const char* text) {
  auto* menu = new QMenu(parent);
  TagMenuItem(menu->menuAction(), QString::fromUtf8(text));
  parent->addAction(menu->menuAction());
  return menu;
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
