#include "ui/DesktopApp.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Application.h"
#include "app/DialUp.h"
#include "app/ProgramFolders.h"
#include "text/MessageIds.h"
#include "ui/ColorScheme.h"
#include "ui/DialogTextTable.h"
#include "ui/FirstRunSheet.h"
#include "ui/MainFrame.h"
#include "ui/MessageBox.h"
#include "ui/ScreenMetrics.h"
#include "ui/SheetButtons.h"
#include "ui/TerminationSignals.h"
#include "ui/TrayIcon.h"
#include "ui/WaitWindow.h"

// Registers the icons compiled into this library; outside any namespace, as the
// resource system requires.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace qn {
QNDesktopApp::QNDesktopApp() = default;

QNDesktopApp::~QNDesktopApp() {
  // The project and any run end before the window their events go to.
  signals_.reset();
  app_.reset();
  tray_.reset();
  frame_.reset();
}

int QNDesktopApp::Run(const std::vector<std::string>& args) {
  StartUp(args);
  // A close during start-up (a signal while the first-run sheet was open) has ended
  // the event loops already.
  const int status = closed_ ? 0 : QApplication::exec();
  // Written only when start-up completed, so a start that failed half-way never
  // overwrites the user's options.
  app_->SaveOptions();
  return status == 0 ? exitStatus_ : status;
}

void QNDesktopApp::StartUp(const std::vector<std::string>& args) {
  InitIconResources();
  QApplication::setOrganizationName("Lumbrook");
  QApplication::setApplicationName("Quillorne");
  QApplication::setApplicationDisplayName("Quillorne");
  QApplication::setDesktopFileName("quillorne");
  QApplication::setWindowIcon(QIcon(":/icons/quillorne.svg"));
  QApplication::setQuitOnLastWindowClosed(false);
  ApplyColorScheme(std::getenv("QUILLORNE_COLOR_SCHEME"));

  std::error_code ec;
  QNAppFolders folders{ProgramFolder(), WritableProgramFolder(),
                       std::filesystem::current_path(ec).string()};
  app_ = std::make_unique<CQNApp>(observer_, *this, std::move(folders), OpenOptionsFile());
  app_->LoadOptions(CurrentScreenMetrics());
  const std::optional<std::string> languageFailure = app_->LoadLanguage();
  const std::string welcome = app_->WriteWelcomePage();
  app_->ParseCommandLine(args);
  if (languageFailure) ShowStartFailure(*languageFailure);

  frame_ = std::make_unique<CQNMainFrame>(*app_, desktop_);
  observer_.SetFrame(frame_.get());
  observer_.SetTreeReadyHandler([this] { app_->ContentsReady(); });
  app_->NewProject();
  frame_->UpdateCommands();
  frame_->ApplyDesktop(app_->Options().desktop);
  const QNCommandLine& cmd = app_->CommandLine();
  frame_->ShowWithState(app_->Options().desktop.ShowState,
                        cmd.download && !cmd.projectFile.empty());

  app_->ActivateSchedule();

  tray_ = std::make_unique<QNTrayIcon>(*frame_, app_->Texts());
  tray_->Apply(app_->Options().options.UseTray);
  connect(frame_.get(), &CQNMainFrame::Minimised, tray_.get(), &QNTrayIcon::OnMinimised);
  connect(frame_.get(), &CQNMainFrame::OptionsApplied, tray_.get(), [this] {
    tray_->Apply(app_->Options().options.UseTray);
    tray_->ApplyLanguage();
  });
  connect(frame_.get(), &CQNMainFrame::RunProgress, tray_.get(), &QNTrayIcon::OnProgress);
  connect(frame_.get(), &CQNMainFrame::RunEnded, tray_.get(), &QNTrayIcon::OnRunEnded);
  connect(frame_.get(), &CQNMainFrame::Closed, this, [this] {
    closed_ = true;
    QApplication::exit(0);
  });
  signals_ = std::make_unique<QNTerminationSignals>([this] { frame_->close(); });

  ShowFirstRunSheet();
  if (closed_) return;
  if (!welcome.empty() && app_->Options().options.ShowWelcome) frame_->ShowPage(welcome);
  app_->MarkStarted();
  // The first project opens once the window is up, as it does when its contents
  // pane is first shown.
  QTimer::singleShot(0, this, &QNDesktopApp::FirstOpen);
}

void QNDesktopApp::ShowFirstRunSheet() {
  const auto options = app_->FirstRunOptions(std::getenv);
  // A program started to work by itself does not wait for an answer.
  const QNCommandLine& cmd = app_->CommandLine();
  if (!options || cmd.exitAfter || cmd.shutdown) return;
  QNFirstRunSheet sheet(*options, app_->Texts(), CQNDialUp().ListEntries(), frame_.get());
  TranslateSheetButtons(sheet, app_->Texts());
  if (sheet.exec() != QDialog::Accepted) return;
  if (const auto failure = app_->ApplyOptions(sheet.Options())) ShowStartFailure(*failure);
  tray_->Apply(app_->Options().options.UseTray);
}

void QNDesktopApp::ShowStartFailure(const std::string& message) {
  const QNCommandLine& cmd = app_->CommandLine();
  // A program started to work by itself does not wait for an answer.
  if (cmd.exitAfter || cmd.shutdown)
    std::fprintf(stderr, "quillorne: %s\n", message.c_str());
  else
    AskUser(frame_.get(), QMessageBox::Critical, QApplication::applicationDisplayName(),
            QString::fromStdString(message), QMessageBox::Ok, QMessageBox::Ok, app_->Texts());
}

void QNDesktopApp::FirstOpen() {
  const QNStartCommand command = app_->FirstOpen();
  if (command == QNStartCommand::kExitFailed)
    std::fprintf(stderr, "quillorne: %s\n",
                 app_->Texts().Format(kMsgCannotOpen, app_->CommandLine().projectFile).c_str());
  frame_->UpdateCommands();
  app_->RunStartCommand(command);
  frame_->UpdateCommands();
}

QNSaveAnswer QNDesktopApp::AskSaveChanges(const std::string& text) {
  const auto answer = AskUser(frame_.get(), QMessageBox::Question,
                              QApplication::applicationDisplayName(), QString::fromStdString(text),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              QMessageBox::Yes, app_->Texts());
  if (answer == QMessageBox::Yes) return QNSaveAnswer::kSave;
  return answer == QMessageBox::No ? QNSaveAnswer::kDiscard : QNSaveAnswer::kCancel;
}

std::optional<std::string> QNDesktopApp::AskSavePath() {
  QNProgramOptions& options = app_->Options().options;
  const QNTexts& texts = app_->Texts();
  const QString file = QFileDialog::getSaveFileName(frame_.get(), DialogText(texts, kTxtMainSaveAs),
                                                    QString::fromStdString(options.LastDir),
                                                    DialogText(texts, kTxtMainSaveFilter));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

void QNDesktopApp::RequestClose(int exitStatus) {
  exitStatus_ = exitStatus;
  frame_->close();
}

void QNDesktopApp::ProjectOpened() {
  frame_->ShowProject();
}

void QNDesktopApp::RestoreWindow() {
  if (frame_->isMinimized() || !frame_->isVisible()) frame_->showNormal();
  frame_->raise();
  frame_->activateWindow();
}

void QNDesktopApp::WaitForStop(const std::string& text, const std::function<void()>& stop) {
  RunBehindWaitWindow(QString::fromStdString(text), app_->Texts(), frame_.get(), stop);
}

}  // namespace qn
