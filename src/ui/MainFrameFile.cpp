// The main window's "File" commands.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "app/Application.h"
#include "app/PrintFolderJob.h"
#include "storage/ProjectOperations.h"
#include "text/MessageIds.h"
#include "ui/CommandIds.h"
#include "ui/CommandSet.h"
#include "ui/ContentsPane.h"
#include "ui/DialogTextTable.h"
#include "ui/MainFrame.h"
#include "ui/MessageBox.h"
#include "ui/NewProjectWizard.h"
#include "ui/PageView.h"
#include "ui/PrintContents.h"
#include "ui/SettingsDialog.h"
#include "ui/StopProgress.h"
#include "ui/TreeCommands.h"

namespace qn {
namespace {

// How often the window looks how far a folder print has come.
constexpr int kPrintPollMs = 100;

}  // namespace

void CQNMainFrame::ConnectFileCommands() {
  connect(Command(kCmdNew), &QAction::triggered, this, &CQNMainFrame::NewProject);
  connect(Command(kCmdOpen), &QAction::triggered, this, &CQNMainFrame::Open);
  connect(Command(kCmdClose), &QAction::triggered, this, &CQNMainFrame::CloseProject);
  connect(Command(kCmdSave), &QAction::triggered, this, [this] {
    app_.Projects().Save();
    UpdateTitle();
  });
  connect(Command(kCmdSaveAs), &QAction::triggered, this, &CQNMainFrame::SaveAs);
  connect(Command(kCmdDeleteProject), &QAction::triggered, this, &CQNMainFrame::DeleteProject);
  connect(Command(kCmdPageSetup), &QAction::triggered, this, &CQNMainFrame::PageSetup);
  connect(Command(kCmdPrintPage), &QAction::triggered, this, &CQNMainFrame::PrintPage);
  connect(Command(kCmdPrintFolder), &QAction::triggered, this, &CQNMainFrame::PrintFolder);
  connect(Command(kCmdPrintContents), &QAction::triggered, this, &CQNMainFrame::PrintContents);
  connect(commands_->RecentMenu(), &QMenu::aboutToShow, this, &CQNMainFrame::FillRecentMenu);
}

void CQNMainFrame::OpenProject(const std::string& path) {
  if (!app_.Projects().Close()) return;
  app_.Projects().Open(path, false);
  ShowProject();
}

void CQNMainFrame::NewProject() {
  if (!app_.Projects().Close()) return;
  app_.NewProject();
  if (app_.Options().options.Wizards & kWizardNewProject) {
    // "Advanced..." opens the settings dialog on the wizard's working copy.
    QNPrjWizServices services;
    services.settingsEditor = [texts = app_.Texts()](const CQNSettings& settings, QWidget* parent) {
      return EditSettingsCopy(settings, texts, parent);
    };
    RunNewProjectWizard(app_, this, page_->url().toString().toStdString(), wizardChoices_,
                        std::move(services));
  }
  ShowProject();
}

void CQNMainFrame::Open() {
  QNProgramOptions& options = app_.Options().options;
  const QString file = QFileDialog::getOpenFileName(
      this, DialogText(app_.Texts(), kTxtMainOpen), QString::fromStdString(options.LastDir),
      DialogText(app_.Texts(), kTxtMainProjectFilter));
  if (file.isEmpty()) return;
  options.LastDir = QFileInfo(file).absolutePath().toStdString();
  OpenProject(file.toStdString());
}

void CQNMainFrame::SaveAs() {
  QNProgramOptions& options = app_.Options().options;
  const QString file = QFileDialog::getSaveFileName(
      this, DialogText(app_.Texts(), kTxtMainSaveAs), QString::fromStdString(options.LastDir),
      DialogText(app_.Texts(), kTxtMainProjectFilter));
  if (file.isEmpty()) return;
  options.LastDir = QFileInfo(file).absolutePath().toStdString();
  app_.Projects().SaveAs(file.toStdString());
  UpdateTitle();
}

void CQNMainFrame::CloseProject() {
  app_.Projects().Close();
  ShowProject();
}

void CQNMainFrame::DeleteProject() {
  QNProjectSession& session = app_.Session();
  if (!app_.Projects().ProjectOpen() || session.doc.run.running) return;
  const auto answer = AskUser(this, QMessageBox::Question, windowTitle(),
                              QString::fromStdString(app_.Texts().Text(kMsgDeleteDownloadedToo)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No, app_.Texts());
  const std::string path = session.Path();
  {
    auto tree = session.doc.Locks().Hold(DocLock::Tree);
    qn::DeleteProject(session.Files(), session.settings, session.doc.Tree(),
                      answer == QMessageBox::Yes, app_.Options().options.LastFilesDir,
                      app_.Folders().program);
  }
  app_.Options().recentFiles.Remove(path);
  // Nothing is left to save.
  session.doc.modified = false;
  app_.Projects().Close();
  ShowProject();
}

void CQNMainFrame::PageSetup() {
  QPageSetupDialog dialog(&page_->Printer(), this);
  dialog.exec();
}

void CQNMainFrame::PrintPage() {
  PrintShownPage({});
}

void CQNMainFrame::PrintShownPage(std::function<void()> done) {
  QPrintDialog dialog(&page_->Printer(), this);
  if (dialog.exec() != QDialog::Accepted) {
    if (done) done();
    return;
  }
  if (done) {
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = connect(page_, &QWebEngineView::printFinished, this, [once, done] {
      disconnect(*once);
      done();
    });
  }
  page_->print(&page_->Printer());
}

void CQNMainFrame::PrintContents() {
  QPrintDialog dialog(&page_->Printer(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::unique_ptr<QProgressDialog> shown =
      MakeStopProgress(QNStopTask::kPrintContents, QString(), app_.Texts(), this);
  QProgressDialog& progress = *shown;
  progress.setMinimumDuration(500);
  const QNTexts& texts = app_.Texts();
  const QNPrintTreeResult result =
      PrintTree(page_->Printer(), *contents_, texts, [&](int page, int pages) {
        progress.setMaximum(pages);
        progress.setValue(page - 1);
        progress.setLabelText(QString::fromStdString(texts.Format(kMsgPageOf, page, pages)));
        return !progress.wasCanceled();
      });
  if (result == QNPrintTreeResult::kTooBig) ShowMessage(texts.Text(kMsgTreeTooBig));
}

void CQNMainFrame::PrintFolder() {
  QNProjectSession& session = app_.Session();
  if (printJob_ || session.doc.run.running) return;
  QNTreeCommands::PagesToPrint folder = tree_->FolderPages();
  if (folder.pages.empty()) return;
  printJob_ =
      std::make_unique<QNPrintFolderJob>(std::move(folder.pages), session.doc.SettingsCopy(),
                                         app_.Folders().program, std::move(folder.startAddress));
  const QNTexts& texts = app_.Texts();
  // The window closes itself (and is deleted) when the job ends.
  printProgress_ =
      MakeStopProgress(QNStopTask::kPrintFolder,
                       QString::fromStdString(texts.Text(kMsgPreparingPrint)), texts, this)
          .release();
  printProgress_->setRange(0, printJob_->Pages());
  printProgress_->setMinimumDuration(0);
  printProgress_->setAttribute(Qt::WA_DeleteOnClose);
  connect(printProgress_, &QProgressDialog::canceled, this, [this] {
    if (printJob_) printJob_->Stop();
  });
  printCursor_.emplace();
  UpdateCommands();
  PrintFolderProgress();
}

void CQNMainFrame::PrintFolderProgress() {
  if (!printJob_) return;
  if (!printJob_->Finished()) {
    printProgress_->setValue(std::min(printJob_->PagesDone(), printJob_->Pages() - 1));
    QTimer::singleShot(kPrintPollMs, this, &CQNMainFrame::PrintFolderProgress);
    return;
  }
  const auto file = printJob_->TakeResult();
  printJob_.reset();
  printProgress_->close();
  printProgress_ = nullptr;
  printCursor_.reset();
  UpdateCommands();
  if (!file) return;
  // The page view loads the collected pages, then prints them.
  printFile_ = file->string();
  statusBar()->showMessage(QString::fromStdString(app_.Texts().Text(kMsgLoadingImage)));
  const QUrl before = page_->url();
  // Once printed (or not), the collected file goes and the page shown before returns.
  const auto finish = [this, before] {
    std::error_code ec;
    std::filesystem::remove(printFile_, ec);
    printFile_.clear();
    if (before.isValid()) page_->setUrl(before);
  };
  auto once = std::make_shared<QMetaObject::Connection>();
  *once = connect(page_, &QWebEngineView::loadFinished, this, [this, once, finish](bool loaded) {
    disconnect(*once);
    statusBar()->clearMessage();
    if (loaded)
      PrintShownPage(finish);
    else
      finish();
  });
  page_->ShowAddress(printFile_);
}

}  // namespace qn
