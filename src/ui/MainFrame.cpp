#include "ui/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTreeView>

#include "app/Application.h"
#include "app/ExternalBrowser.h"
#include "text/MessageIds.h"
#include "ui/NewProjectWizard.h"

namespace qn {
namespace {

constexpr int kShowMaximized = 3;
constexpr int kShowMinimized = 2;
constexpr int kShowMinNoActive = 7;
constexpr int kShowMinimize = 6;

QString ProjectFilter() {
  return QObject::tr("Quillorne Projects (*.qnp);;Quillorne Templates (*.qnt);;All Files (*)");
}

QIcon ThemeIcon(const char* name) {
  return QIcon::fromTheme(QString::fromLatin1(name));
}

}  // namespace

CQNMainFrame::CQNMainFrame(CQNApp& app, IQNDesktopServices& desktop)
    : app_(app), desktop_(desktop) {
  setObjectName("MainFrame");
  setAcceptDrops(true);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  tree_ = new QTreeView(splitter_);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  tree_->setAccessibleName(tr("Contents"));
  page_ = new QTextBrowser(splitter_);
  page_->setOpenLinks(false);
  page_->setAccessibleName(tr("Page"));
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setChildrenCollapsible(false);
  setCentralWidget(splitter_);
  setTabOrder(tree_, page_);
  // Links of the page view open in the user's browser until the page view can
  // follow them itself.
  connect(page_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    QNBrowserLaunch launch{&desktop_, StartDetached, std::getenv, app_.Folders().current};
    const std::string target = url.toString().toStdString();
    if (!OpenInExternalBrowser(target, launch))
      ShowMessage(app_.Texts().Format(kMsgNoBrowser, target));
  });

  BuildMenus();
  statusBar()->showMessage(tr("Ready"));
  UpdateCommands();
  UpdateTitle();
}

void CQNMainFrame::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& text, const char* icon, QKeySequence keys,
                    auto slot) {
    QAction* action = menu->addAction(ThemeIcon(icon), text);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };

  QMenu* file = menuBar()->addMenu(tr("&File"));
  newAction_ = add(file, tr("&New"), "document-new", QKeySequence::New, &CQNMainFrame::NewProject);
  openAction_ = add(file, tr("&Open..."), "document-open", QKeySequence::Open, &CQNMainFrame::Open);
  closeAction_ = add(file, tr("&Close"), "document-close", {}, &CQNMainFrame::CloseProject);
  file->addSeparator();
  saveAction_ = add(file, tr("&Save"), "document-save", QKeySequence::Save, [this] {
    app_.Projects().Save();
    UpdateTitle();
  });
  saveAsAction_ = add(file, tr("Save &As..."), "document-save-as", {}, &CQNMainFrame::SaveAs);
  file->addSeparator();
  recentMenu_ = file->addMenu(tr("Recent Projects"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &CQNMainFrame::FillRecentMenu);
  file->addSeparator();
  exitAction_ = add(file, tr("E&xit"), "application-exit", QKeySequence::Quit, &QWidget::close);

  QMenu* project = menuBar()->addMenu(tr("&Project"));
  startAction_ = add(project, tr("Start &Download"), "media-playback-start",
                     QKeySequence(Qt::CTRL | Qt::Key_D), &CQNMainFrame::StartDownload);
  pauseAction_ =
      add(project, tr("Pa&use Download"), "media-playback-pause", {}, &CQNMainFrame::PauseDownload);
  stopAction_ =
      add(project, tr("&Stop Download"), "process-stop", {}, [this] { app_.Session().doc.Stop(); });
  project->addSeparator();
  convertAction_ =
      add(project, tr("&Convert Links"), "view-refresh", {}, &CQNMainFrame::ConvertLinks);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* statusBarAction = view->addAction(tr("&Status Bar"));
  statusBarAction->setCheckable(true);
  statusBarAction->setChecked(true);
  connect(statusBarAction, &QAction::toggled, statusBar(), &QWidget::setVisible);
  showContentsAction_ = view->addAction(tr("Show &Contents"));
  showContentsAction_->setCheckable(true);
  showContentsAction_->setChecked(true);
  connect(showContentsAction_, &QAction::toggled, tree_, &QWidget::setVisible);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  add(help, tr("&Contact Quillorne"), "mail-message-new", {}, &CQNMainFrame::ContactMaker);
  add(help, tr("Quillorne on the &Internet"), "internet-web-browser", {},
      &CQNMainFrame::OpenWebSite);
  help->addSeparator();
  add(help, tr("&About Quillorne..."), "help-about", {}, &CQNMainFrame::About);
}

void CQNMainFrame::ApplyDesktop(const QNDesktopOptions& d) {
  move(d.Left, d.Top);
  resize(std::max(d.Right - d.Left, 1), std::max(d.Bottom - d.Top, 1));
  const int width = std::max(d.Right - d.Left, d.SplitPos + 1);
  splitter_->setSizes({d.SplitPos, width - d.SplitPos});
  showContentsAction_->setChecked(d.ShowContents);
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
  d.SplitPos = tree_->isVisible() ? splitter_->sizes().value(0) : app_.Options().desktop.SplitPos;
  d.ShowContents = showContentsAction_->isChecked();
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

void CQNMainFrame::ShowPage(const std::string& path) {
  page_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void CQNMainFrame::ShowStatusText(const std::string& text) {
  statusBar()->showMessage(QString::fromStdString(text));
}

void CQNMainFrame::RepaintStatus() {
  statusBar()->repaint();
}

void CQNMainFrame::ShowMessage(const std::string& text) {
  // Not a nested event loop: the program goes on (and may end by itself, "-E")
  // while the message waits for the user.
  auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationDisplayName(),
                              QString::fromStdString(text), QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void CQNMainFrame::UpdateCommands() {
  const CQNDoc& doc = app_.Session().doc;
  const bool open = app_.Projects().ProjectOpen();
  const bool converting = app_.Conversion().Running();
  const bool running = doc.run.running;
  const bool paused = doc.run.paused;
  const bool idle = !running && !converting;
  newAction_->setEnabled(idle);
  openAction_->setEnabled(idle);
  recentMenu_->setEnabled(idle);
  closeAction_->setEnabled(open && idle);
  saveAction_->setEnabled(open && !converting);
  saveAsAction_->setEnabled(open && !converting);
  startAction_->setEnabled(open && !converting && (!running || paused));
  pauseAction_->setEnabled(running && !paused);
  stopAction_->setEnabled(running);
  convertAction_->setEnabled(open && idle);
}

void CQNMainFrame::UpdateTitle() {
  const std::string& path = app_.Session().Path();
  const QString name = path.empty() ? QString::fromStdString(app_.Texts().Text(kMsgNewProject))
                                    : QFileInfo(QString::fromStdString(path)).completeBaseName();
  setWindowTitle(app_.Projects().ProjectOpen() ? name + " - Quillorne" : QString("Quillorne"));
}

void CQNMainFrame::OpenProject(const std::string& path) {
  if (!app_.Projects().Close()) return;
  app_.Projects().Open(path, false);
  ShowProject();
}

void CQNMainFrame::ShowProject() {
  UpdateTitle();
  UpdateCommands();
}

void CQNMainFrame::NewProject() {
  if (!app_.Projects().Close()) return;
  app_.NewProject();
  UpdateTitle();
  if (app_.Options().options.Wizards & kWizardNewProject)
    RunNewProjectWizard(app_, this, page_->source().toString().toStdString(), wizardChoices_);
  UpdateTitle();
  UpdateCommands();
}

void CQNMainFrame::Open() {
  QNProgramOptions& options = app_.Options().options;
  const QString file = QFileDialog::getOpenFileName(
      this, tr("Open"), QString::fromStdString(options.LastDir), ProjectFilter());
  if (file.isEmpty()) return;
  options.LastDir = QFileInfo(file).absolutePath().toStdString();
  OpenProject(file.toStdString());
}

void CQNMainFrame::SaveAs() {
  QNProgramOptions& options = app_.Options().options;
  const QString file = QFileDialog::getSaveFileName(
      this, tr("Save As"), QString::fromStdString(options.LastDir), ProjectFilter());
  if (file.isEmpty()) return;
  options.LastDir = QFileInfo(file).absolutePath().toStdString();
  app_.Projects().SaveAs(file.toStdString());
  UpdateTitle();
}

void CQNMainFrame::CloseProject() {
  app_.Projects().Close();
  UpdateTitle();
  UpdateCommands();
}

void CQNMainFrame::StartDownload() {
  CQNDoc& doc = app_.Session().doc;
  if (doc.run.running && doc.run.paused)
    doc.Resume();
  else
    app_.StartDownload();
  UpdateCommands();
}

void CQNMainFrame::PauseDownload() {
  app_.Session().doc.Pause();
  UpdateCommands();
}

void CQNMainFrame::ConvertLinks() {
  app_.ConvertLinks([this](const QNConversionResult&) {
    statusBar()->clearMessage();
    UpdateCommands();
  });
  UpdateCommands();
}

void CQNMainFrame::ContactMaker() {
  if (const int message = ComposeContactMail(desktop_, app_.Texts().Text(kMsgMailSubject)))
    ShowMessage(app_.Texts().Text(message));
}

void CQNMainFrame::OpenWebSite() {
  QNBrowserLaunch launch{&desktop_, StartDetached, std::getenv, app_.Folders().current};
  if (!OpenInExternalBrowser(kMakerWebSite, launch))
    ShowMessage(app_.Texts().Format(kMsgNoBrowser, std::string(kMakerWebSite)));
}

void CQNMainFrame::About() {
  QMessageBox::about(this, tr("About Quillorne"),
                     tr("<h3>Quillorne %1</h3><p>An offline browser: it copies web sites "
                        "into a local folder so that they can be read without a network "
                        "connection.</p><p>Lumbrook</p>")
                         .arg(QApplication::applicationVersion()));
}

void CQNMainFrame::FillRecentMenu() {
  recentMenu_->clear();
  const auto& recent = app_.Options().recentFiles.Entries();
  for (std::size_t i = 0; i < recent.size(); ++i) {
    const std::string path = recent[i];
    QAction* action = recentMenu_->addAction(
        QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(path).replace("&", "&&")));
    action->setStatusTip(tr("Open this project"));
    connect(action, &QAction::triggered, this, [this, path] { OpenProject(path); });
  }
  if (recent.empty()) recentMenu_->addAction(tr("(none)"))->setEnabled(false);
}

void CQNMainFrame::closeEvent(QCloseEvent* event) {
  // A conversion stops between two files; the project is then closed as usual.
  app_.StopConversion();
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
