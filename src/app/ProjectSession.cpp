#include "app/ProjectSession.h"

#include "project/ProjectFile.h"
#include "project/ProjectOpen.h"
#include "text/StringTable.h"

namespace qn {
namespace {
constexpr int kNewProjectTitle = 55472;  // "New Project"
}

QNProjectSession::QNProjectSession(IQNObserver& observer)
    : log(&observer), doc(settings, observer, log), observer_(observer) {}

void QNProjectSession::NewProject(const std::string& lastFilesDir, const std::string& programDir) {
  settings.ResetToDefaults(lastFilesDir, programDir);
  doc.CreateRoot();
  path_.clear();
}

bool QNProjectSession::Open(const std::string& path, const std::string& programDir,
                            bool unattended) {
  std::string opened = path;
  log.SetPath(LogPathFor(opened, {}, {}));
  QNOpenContext context;
  context.programDir = programDir;
  context.messages.observer = &observer_;
  if (unattended) context.messages.unattendedLog = &log;
  if (!OpenDocumentFile(opened, settings, doc.Tree(), context)) return false;
  path_ = opened;
  log.SetPath(LogPathFor(path_, {}, {}));
  return true;
}

void QNProjectSession::SetPath(const std::string& path) {
  path_ = path;
  log.MoveTo(LogPathFor(path_, {}, {}));
}

bool QNProjectSession::Save(std::string& error) {
  if (path_.empty()) {
    error = "the project has no file name";
    return false;
  }
  auto tree = doc.Locks().Hold(DocLock::Tree);
  auto queue = doc.Locks().Hold(DocLock::Queue);
  if (!WriteProjectFile(path_, settings, doc.Tree(), error)) return false;
  doc.modified = doc.run.running.load();
  return true;
}

std::string QNProjectSession::LastRunSaveError() {
  std::lock_guard lock(errorMutex_);
  return runSaveError_;
}

void QNProjectSession::ResetLog() {
  std::string folder;
  std::string title;
  {
    auto tree = doc.Locks().Hold(DocLock::Tree);
    folder = settings.DownloadDir;
    title = settings.QN_TITLE.empty() ? BuiltinString(kNewProjectTitle) : settings.QN_TITLE;
  }
  log.SetPath(LogPathFor(path_, folder, title));
  log.Reset();
}

void QNProjectSession::InstallRunHooks(QNRunEnvironment& environment) {
  environment.hooks.resetLog = [this] { ResetLog(); };
  environment.hooks.saveProject = [this] {
    if (path_.empty()) return;
    std::string error;
    if (Save(error)) return;
    std::lock_guard lock(errorMutex_);
    runSaveError_ = error;
  };
}

}  // namespace qn
