#include "ui/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QWebEngineHistory>

#include "app/Application.h"
#include "app/PrintFolderJob.h"
#include "seams/Observer.h"
#include "text/MessageIds.h"
#include "ui/CommandIds.h"
#include "ui/CommandRules.h"
#include "ui/CommandSet.h"
#include "ui/ContentsPane.h"
#include "ui/LogPane.h"
#include "ui/MessageBox.h"
#include "ui/PageView.h"
#include "ui/ProgressWindow.h"
#include "ui/TreeCommands.h"
#include "web/OfflineState.h"

namespace qn {
namespace {

constexpr int kShowMaximized = 3;
constexpr int kShowMinimized = 2;
constexpr int kShowMinNoActive = 7;
constexpr int kShowMinimize = 6;
// The face the options name when nobody chose one: the desktop's own font then.
constexpr const char* kDefaultTreeFace = "Ms Sans Serif";

}  // namespace

CQNMainFrame::CQNMainFrame(CQNApp& app, IQNDesktopServices& desktop)
    : app_(app), desktop_(desktop), logEvents_([this] {
        QMetaObject::invokeMethod(this, &CQNMainFrame::DrainLog, Qt::QueuedConnection);
      }) {
  setObjectName("MainFrame");
  setAcceptDrops(true);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("ContentsSplitter");
  contents_ = new QNContentsPane(app_.Session().doc, splitter_);
  pageSplitter_ = new QSplitter(Qt::Vertical, splitter_);
  page_ = new QNPageView(pageSplitter_);
  log_ = new QNLogPane(pageSplitter_);
  pageSplitter_->setStretchFactor(0, 1);
  pageSplitter_->setStretchFactor(1, 0);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setChildrenCollapsible(false);
  setCentralWidget(splitter_);
  setTabOrder(contents_, page_);
  setTabOrder(page_, log_);

  tree_ = std::make_unique<QNTreeCommands>(app_.Session().doc, *contents_, *this);
  commands_ = new QNCommandSet(*this);
  ConnectCommands();

  // Shown whenever no message is: a message hides it while it stands.
  ready_ = new QLabel(statusBar());
  statusBar()->addWidget(ready_, 1);
  ApplyLanguage();
  UpdateCommands();
}

CQNMainFrame::~CQNMainFrame() {
  // Windows that close while the panes go away move the focus: nothing may then ask
  // the panes for their state.
  disconnect(qApp, nullptr, this, nullptr);
}

void CQNMainFrame::ApplyLanguage() {
  const QNTexts& texts = app_.Texts();
  qtTranslation_.Apply(texts);
  commands_->Translate(texts);
  ready_->setText(QString::fromStdString(texts.Text(kMsgReady)));
  UpdateTitle();
}

QAction* CQNMainFrame::Command(int id) const {
  return commands_->Action(id);
}

const QNTexts& CQNMainFrame::Texts() const {
  return app_.Texts();
}

QNTreeEventQueue& CQNMainFrame::TreeEvents() {
  return contents_->Events();
}

void CQNMainFrame::ConnectCommands() {
  ConnectFileCommands();
  ConnectRunCommands();
  ConnectTreeCommands();
  ConnectBrowserCommands();
  ConnectDialogCommands();

  connect(Command(kCmdExit), &QAction::triggered, this, &QWidget::close);
  Command(kCmdStatusBar)->setChecked(true);
  connect(Command(kCmdStatusBar), &QAction::toggled, statusBar(), &QWidget::setVisible);
  Command(kCmdShowContents)->setChecked(true);
  connect(Command(kCmdShowContents), &QAction::toggled, contents_, &QWidget::setVisible);
  Command(kCmdShowLog)->setChecked(true);
  connect(Command(kCmdShowLog), &QAction::toggled, log_, &QWidget::setVisible);
  // "Split": the splitter handle takes the keyboard focus, so the arrow keys move it.
  connect(Command(kCmdSplit), &QAction::triggered, this, [this] {
    Command(kCmdShowContents)->setChecked(true);
    splitter_->handle(1)->setFocus();
  });
  connect(Command(kCmdContact), &QAction::triggered, this, &CQNMainFrame::ContactMaker);
  connect(Command(kCmdWebSite), &QAction::triggered, this, &CQNMainFrame::OpenWebSite);
  connect(Command(kCmdAbout), &QAction::triggered, this, &CQNMainFrame::About);
  connect(Command(kCmdHelpTopics), &QAction::triggered, this,
          [this] { page_->setUrl(QUrl("qrc:/help/index.html")); });

  // Clipboard commands act on the pane that has the focus; their state follows it.
  connect(qApp, &QApplication::focusChanged, this, &CQNMainFrame::UpdateCommands);
  connect(contents_, &QNContentsPane::SelectionChanged, this, &CQNMainFrame::UpdateCommands);
  connect(page_, &QNPageView::NavigationChanged, this, &CQNMainFrame::UpdateCommands);
  connect(page_, &QWebEngineView::selectionChanged, this, &CQNMainFrame::UpdateCommands);
  connect(log_, &QPlainTextEdit::copyAvailable, this, &CQNMainFrame::UpdateCommands);
}

QNCommandState CQNMainFrame::CommandState() const {
  const CQNDoc& doc = app_.Session().doc;
  QNCommandState state;
  state.projectOpen = app_.Projects().ProjectOpen();
  state.running = doc.run.running;
  state.paused = doc.run.paused;
  state.busy = app_.Conversion().Running() || printJob_ != nullptr;
  state.selection = contents_->Selection();
  state.pageShown = page_->HasPage();
  state.canGoBack = page_->history()->canGoBack();
  state.canGoForward = page_->history()->canGoForward();
  const QWidget* focus = QApplication::focusWidget();
  if (focus && (focus == page_ || page_->isAncestorOf(focus))) {
    state.canCut = page_->pageAction(QWebEnginePage::Cut)->isEnabled();
    state.canCopy = page_->hasSelection();
    state.canPaste = page_->pageAction(QWebEnginePage::Paste)->isEnabled();
  } else if (focus == log_ || (focus && log_->isAncestorOf(focus))) {
    state.canCopy = log_->textCursor().hasSelection();
  } else if (focus == contents_ || (focus && contents_->isAncestorOf(focus))) {
    state.canCopy = state.selection.count > 0;
  }
  state.reportExists =
      state.projectOpen && QFileInfo::exists(QString::fromStdString(app_.Session().Files().report));
  return state;
}

void CQNMainFrame::UpdateCommands() {
  commands_->Update(CommandState());
  Command(kCmdWorkOffline)->setChecked(IsOffline());
}

void CQNMainFrame::ShowProject() {
  // The progress window belongs to the project's runs.
  if (progress_) progress_->deleteLater();
  UpdateTitle();
  log_->ShowText(app_.Projects().ProjectOpen() ? app_.Session().log.LoadForDisplay(app_.Texts())
                                               : std::string());
  UpdateCommands();
}

void CQNMainFrame::DrainLog() {
  for (const std::string& text : logEvents_.TakeAll()) log_->OnLogText(text);
}

void CQNMainFrame::ApplyDesktop(const QNDesktopOptions& d) {
  move(d.Left, d.Top);
  resize(std::max(d.Right - d.Left, 1), std::max(d.Bottom - d.Top, 1));
  const int width = std::max(d.Right - d.Left, d.SplitPos + 1);
  splitter_->setSizes({d.SplitPos, width - d.SplitPos});
  Command(kCmdShowContents)->setChecked(d.ShowContents);
}

QNDesktopOptions CQNMainFrame::CurrentDesktop() const {
  QNDesktopOptions d;
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  d.ShowState = isMaximized() ? kShowMaximized : 1;
  d.Left = normal.left();
  d.Top = normal.top();
  d.Right = normal.left() + normal.width();
  d.Bottom = normal.top() + normal.height();
  // A hidden pane has no width: it keeps the one it had.
  d.SplitPos =
      contents_->isVisible() ? splitter_->sizes().value(0) : app_.Options().desktop.SplitPos;
  d.ShowContents = Command(kCmdShowContents)->isChecked();
  return d;
}

void CQNMainFrame::ShowWithState(int showState, bool restored) {
  const bool minimised =
      showState == kShowMinimized || showState == kShowMinimize || showState == kShowMinNoActive;
  if (showState == kShowMaximized)
    showMaximized();
  else if (minimised && !restored)
    showMinimized();
  else
    show();
}

void CQNMainFrame::ApplyTreeFont(const QNProgramOptions& options) {
  if (QString::fromStdString(options.FontName).compare(kDefaultTreeFace, Qt::CaseInsensitive) ==
      0) {
    contents_->setFont(QFont());
    return;
  }
  QFont font(QString::fromStdString(options.FontName));
  if (options.FontHeight != 0) font.setPixelSize(std::abs(options.FontHeight));
  if (options.FontWeight > 0) font.setWeight(static_cast<QFont::Weight>(options.FontWeight));
  contents_->setFont(font);
}

void CQNMainFrame::ShowPage(const std::string& path) {
  page_->ShowAddress(path);
}

void CQNMainFrame::ShowStatusText(const std::string& text) {
  if (text.empty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(QString::fromStdString(text));
}

void CQNMainFrame::ShowRunStatus(const QNStatus& status) {
  if (status.mask & QNStatus::kStatusText) ShowStatusText(status.text3);
  if (progress_) progress_->Apply(status);
  Q_EMIT RunProgress();
}

void CQNMainFrame::OnRunStarted() {
  UpdateCommands();
}

void CQNMainFrame::OnRunEnded() {
  UpdateCommands();
  Q_EMIT RunEnded();
}

void CQNMainFrame::RepaintStatus() {
  statusBar()->repaint();
}

void CQNMainFrame::ShowMessage(const std::string& text) {
  // Not a nested event loop: the program goes on (and may end by itself, "-E")
  // while the message waits for the user.
  QMessageBox* box =
      MakeMessageBox(this, QMessageBox::Warning, QApplication::applicationDisplayName(),
                     QString::fromStdString(text), QMessageBox::Ok, app_.Texts())
          .release();
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void CQNMainFrame::UpdateTitle() {
  const std::string& path = app_.Session().Path();
  const QString name = path.empty() ? QString::fromStdString(app_.Texts().Text(kMsgNewProject))
                                    : QFileInfo(QString::fromStdString(path)).completeBaseName();
  setWindowTitle(app_.Projects().ProjectOpen() ? name + " - Quillorne" : QString("Quillorne"));
}

void CQNMainFrame::FillRecentMenu() {
  QMenu* recentMenu = commands_->RecentMenu();
  recentMenu->clear();
  const auto& recent = app_.Options().recentFiles.Entries();
  const QNTexts& texts = app_.Texts();
  for (std::size_t i = 0; i < recent.size(); ++i) {
    const std::string path = recent[i];
    QAction* action = recentMenu->addAction(
        QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(path).replace("&", "&&")));
    action->setObjectName(QString("command%1").arg(kCmdRecent1 + static_cast<int>(i)));
    action->setStatusTip(QString::fromStdString(texts.Prompt(kCmdRecent1 + static_cast<int>(i))));
    connect(action, &QAction::triggered, this, [this, path] { OpenProject(path); });
  }
  // Without recent projects the menu's first entry stands for them.
  if (recent.empty())
    recentMenu
        ->addAction(
            QString::fromStdString(texts.MenuItem(kMenuMain, kCmdRecent1).value_or("(none)")))
        ->setEnabled(false);
}

void CQNMainFrame::closeEvent(QCloseEvent* event) {
  // A conversion stops between two files and a folder print between two pages; the
  // project is then closed as usual.
  app_.StopConversion();
  printJob_.reset();
  if (!app_.Projects().Close()) {
    event->ignore();
    return;
  }
  app_.Options().desktop = CurrentDesktop();
  event->accept();
  Q_EMIT Closed();
}

void CQNMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) Q_EMIT Minimised();
}

void CQNMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.front().isLocalFile()) event->acceptProposedAction();
}

void CQNMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = urls.front().toLocalFile().toStdString();
  // The drop's caller waits for this handler: the project opens after it returned.
  QMetaObject::invokeMethod(
      this, [this, path] { OpenProject(path); }, Qt::QueuedConnection);
}

}  // namespace qn
