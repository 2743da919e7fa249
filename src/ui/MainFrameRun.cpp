// The main window's run commands, one slot each: "Start Download", "Pause Download",
// "Stop Download", "Preview website", "Download Branch" and "Convert Links"; and the
// progress window that the starting commands open.
#include <QAction>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

#include "app/Application.h"
#include "text/MessageIds.h"
#include "ui/CommandIds.h"
#include "ui/ContentsPane.h"
#include "ui/MainFrame.h"
#include "ui/ProgressWindow.h"
#include "ui/StopProgress.h"

namespace qn {
namespace {

// How often the conversion's window looks how far it has come.
constexpr int kConversionPollMs = 100;
// A conversion that ends sooner never shows its window.
constexpr int kConversionWindowDelayMs = 400;

}  // namespace

void CQNMainFrame::ConnectRunCommands() {
  connect(Command(kCmdStartDownload), &QAction::triggered, this, &CQNMainFrame::StartDownload);
  connect(Command(kCmdPauseDownload), &QAction::triggered, this, &CQNMainFrame::PauseDownload);
  connect(Command(kCmdStopDownload), &QAction::triggered, this, &CQNMainFrame::StopDownload);
  connect(Command(kCmdPreview), &QAction::triggered, this, &CQNMainFrame::PreviewWebsite);
  connect(Command(kCmdDownloadBranch), &QAction::triggered, this, &CQNMainFrame::DownloadBranch);
  connect(Command(kCmdConvertLinks), &QAction::triggered, this, &CQNMainFrame::ConvertLinks);
}

void CQNMainFrame::StartDownload() {
  CQNDoc& doc = app_.Session().doc;
  if (doc.run.running && doc.run.paused)
    doc.Resume();
  else if (app_.StartDownload())
    OpenProgress();
  UpdateCommands();
}

void CQNMainFrame::PauseDownload() {
  app_.Session().doc.Pause();
  UpdateCommands();
}

void CQNMainFrame::StopDownload() {
  app_.Session().doc.Stop();
  UpdateCommands();
}

void CQNMainFrame::PreviewWebsite() {
  CQNDoc& doc = app_.Session().doc;
  doc.SetRunEnvironment(app_.RunEnvironment());
  if (doc.StartPreview()) OpenProgress();
  UpdateCommands();
}

void CQNMainFrame::DownloadBranch() {
  CQNDoc& doc = app_.Session().doc;
  const auto current = contents_->CurrentNode();
  if (!current || doc.run.running) return;
  CQNDocNode* branch = nullptr;
  {
    auto lock = doc.Locks().Hold(DocLock::Tree);
    branch = doc.Tree().Resolve(*current);
  }
  // No run goes on, so nothing but this thread changes the tree until it starts.
  if (!branch) return;
  doc.SetRunEnvironment(app_.RunEnvironment());
  if (doc.StartBranch(branch)) OpenProgress();
  UpdateCommands();
}

void CQNMainFrame::ConvertLinks() {
  // The status line shows how far it has come ("Converting Links... (n%)") while the
  // window, modal over this one, offers Stop; the project's commands wait meanwhile.
  const bool started = app_.ConvertLinks([this](const QNConversionResult& result) {
    if (conversionProgress_) conversionProgress_->close();
    ShowStatusText(result.stopped ? app_.Texts().Text(kMsgStopped) : std::string());
    UpdateCommands();
  });
  if (!started) return;
  conversionProgress_ = MakeStopProgress(QNStopTask::kConvertLinks,
                                         QString::fromStdString(app_.Texts().Text(kMsgConverting)),
                                         app_.Texts(), this)
                            .release();
  conversionProgress_->setRange(0, 100);
  conversionProgress_->setMinimumDuration(kConversionWindowDelayMs);
  conversionProgress_->setAutoReset(false);
  conversionProgress_->setAttribute(Qt::WA_DeleteOnClose);
  connect(conversionProgress_, &QProgressDialog::canceled, this,
          [this] { app_.AskConversionToStop(); });
  auto* poll = new QTimer(conversionProgress_);
  connect(poll, &QTimer::timeout, this, [this] {
    if (conversionProgress_) conversionProgress_->setValue(app_.Conversion().Percent());
  });
  poll->start(kConversionPollMs);
  conversionProgress_->setValue(0);
  UpdateCommands();
}

void CQNMainFrame::OpenProgress() {
  // Opened right after the start, on this thread: the run's first records are still
  // queued behind this call.
  CQNDoc& doc = app_.Session().doc;
  if (!progress_) {
    progress_ = new QNProgressWindow(app_.Texts(), this);
    connect(progress_, &QNProgressWindow::StopRequested, this, &CQNMainFrame::StopDownload);
    connect(progress_, &QNProgressWindow::SettingsRequested, this,
            &CQNMainFrame::OpenProjectSettings);
    connect(progress_, &QNProgressWindow::SpeedLevelChanged, this,
            [&doc](int level) { doc.speedLevel = level; });
    connect(progress_, &QNProgressWindow::AbortFile, this,
            [&doc](int worker) { doc.AbortFile(worker); });
    connect(progress_, &QNProgressWindow::ShowFileLocation, this, &CQNMainFrame::ShowFileLocation);
  }
  progress_->Reset(doc.speedLevel);
  progress_->show();
  progress_->raise();
}

QNProgressWindow* CQNMainFrame::Progress() const {
  return progress_.data();
}

void CQNMainFrame::ShowFileLocation(const std::string& address) {
  CQNDoc& doc = app_.Session().doc;
  QNNodeId found;
  {
    auto lock = doc.Locks().Hold(DocLock::Tree);
    if (const CQNDocNode* node = doc.Tree().FindByUrl(address, doc.speedLevel))
      found = NodeIdOf(*node);
  }
  if (!found.IsNone()) contents_->ShowNode(found);
}

}  // namespace qn
