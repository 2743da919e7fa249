// The commands that open the settings dialogs and wizards, one slot each: "Quillorne
// Options...", "Schedule...", "Project Settings...", "Copy Project" and "Add URL
// Filter...".
#include <QAction>

#include "app/Application.h"
#include "ui/CommandIds.h"
#include "ui/CopyWizard.h"
#include "ui/MainFrame.h"
#include "ui/OptionsDialog.h"
#include "ui/ScheduleDialog.h"
#include "ui/SettingsDialog.h"
#include "ui/TreeCommands.h"

namespace qn {

void CQNMainFrame::ConnectDialogCommands() {
  connect(Command(kCmdOptions), &QAction::triggered, this, &CQNMainFrame::OpenOptions);
  connect(Command(kCmdSchedule), &QAction::triggered, this, &CQNMainFrame::OpenSchedule);
  connect(Command(kCmdProjectSettings), &QAction::triggered, this,
          &CQNMainFrame::OpenProjectSettings);
  connect(Command(kCmdCopyProject), &QAction::triggered, this, &CQNMainFrame::CopyProject);
  connect(Command(kCmdAddUrlFilter), &QAction::triggered, this, &CQNMainFrame::AddUrlFilter);
}

void CQNMainFrame::OpenOptions() {
  if (!EditProgramOptions(app_, this)) return;
  ApplyTreeFont(app_.Options().options);
  ApplyLanguage();
  Q_EMIT OptionsApplied();
}

void CQNMainFrame::OpenSchedule() {
  // The dialog edits a copy: entries that start meanwhile keep what happened to them.
  CQNScheduleDialog dialog(app_.Schedule(), app_.Texts(),
                           QString::fromStdString(app_.Options().options.LastDir), this);
  if (dialog.exec() == QDialog::Accepted) app_.SetSchedule(dialog.Entries());
}

void CQNMainFrame::OpenProjectSettings() {
  EditProjectSettings(app_.Session().doc, app_.Texts(), this);
}

void CQNMainFrame::CopyProject() {
  RunCopyProject(app_, this);
}

void CQNMainFrame::AddUrlFilter() {
  std::vector<std::string> addresses;
  const QString selected = tree_->SelectedAddresses();
  for (const QString& address : selected.split('\n', Qt::SkipEmptyParts))
    addresses.push_back(address.toStdString());
  qn::AddUrlFilter(app_.Session().doc, addresses, app_.Texts(), this);
}

}  // namespace qn
