// The application object's side of the scheduler: what starting an entry does to
// the open project, and what follows the end of a scheduled run.
#include "app/Application.h"

namespace qn {

QNScheduleSteps CQNApp::ScheduleSteps() {
  QNScheduleSteps steps;
  steps.stopDownload = [this] { StopForSchedule(); };
  steps.openProject = [this](const std::string& path) { return OpenScheduledProject(path); };
  steps.startDownload = [this](const QNScheduledRun& run) { return StartScheduledDownload(run); };
  steps.busy = [this] { return projects_.Stopping(); };
  return steps;
}

void CQNApp::SetSchedule(std::vector<QNScheduleEntry> entries) {
  schedule_.SetEntries(std::move(entries));
  schedule_.Activate();
}

void CQNApp::StopForSchedule() {
  conversion_.StopAndWait();
  // The project is saved with the download marked interrupted.
  projects_.ForcedStop();
}

bool CQNApp::OpenScheduledProject(const std::string& path) {
  // The open project is saved without a question, as AutoSave does; one that has
  // no file yet still asks for a name, so that nothing the user made is lost.
  QNProgramOptions& options = options_.options;
  const bool autoSave = options.AutoSave;
  options.AutoSave = true;
  const bool closed = projects_.Close();
  // A project that fails to open has been reported in its log; a new one is open.
  const bool opened = closed && projects_.Open(path, true);
  options.AutoSave = autoSave;
  if (closed) frontEnd_.ProjectOpened();
  return opened;
}

bool CQNApp::StartScheduledDownload(const QNScheduledRun& run) {
  frontEnd_.RestoreWindow();
  session_.doc.SetRunEnvironment(RunEnvironment(run));
  return session_.doc.StartDownload();
}

void CQNApp::HandBack(std::uint64_t entryId) {
  // A run that a later entry stopped was handed back when that entry started.
  const std::optional<QNScheduledRun>& current = schedule_.CurrentRun();
  if (!current || current->entryId != entryId) return;
  if (projects_.ProjectOpen() && session_.doc.modified && !session_.Path().empty())
    projects_.Save();
  schedule_.Finished(entryId);
}

}  // namespace qn
