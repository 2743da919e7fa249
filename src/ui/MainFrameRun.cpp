// The main window's run commands, one slot each: "Start Download", "Pause Download",
// "Stop Download", "Preview website", "Download Branch" and "Convert Links".
#include <QAction>
#include <QStatusBar>

#include "app/Application.h"
#include "ui/CommandIds.h"
#include "ui/ContentsPane.h"
#include "ui/MainFrame.h"

namespace qn {

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
  else
    app_.StartDownload();
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
  doc.StartPreview();
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
  doc.StartBranch(branch);
  UpdateCommands();
}

void CQNMainFrame::ConvertLinks() {
  app_.ConvertLinks([this](const QNConversionResult&) {
    statusBar()->clearMessage();
    UpdateCommands();
  });
  UpdateCommands();
}

}  // namespace qn
