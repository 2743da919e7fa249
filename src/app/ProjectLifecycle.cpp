#include "app/ProjectLifecycle.h"

#include "app/RunOptions.h"
#include "text/MessageIds.h"

namespace qn {
QNProjectLifecycle::QNProjectLifecycle(QNProjectSession& session, QNOptionSections& options,
                                       const QNAppFolders& folders, IQNAppFrontEnd& frontEnd)
    : session_(session),
      options_(options),
      folders_(folders),
      frontEnd_(frontEnd),
      periodic_([this] { PeriodicSaveTick(); }) {}

void QNProjectLifecycle::New() {
  StartNewProject(session_, options_.options, folders_.writable);
  session_.doc.modified = false;
  open_ = true;
}

bool QNProjectLifecycle::Open(const std::string& path, bool unattended) {
  QNOpenExtras extras;
  extras.lastFilesDir = options_.options.LastFilesDir;
  extras.addRecent = [this](const std::string& opened) { options_.recentFiles.Add(opened); };
  if (!session_.Open(path, folders_.program, unattended, extras)) {
    New();
    return false;
  }
  session_.doc.modified = false;
  open_ = true;
  periodicFailureShown_ = false;
  RestartPeriodicSave();
  return true;
}

bool QNProjectLifecycle::SaveTo(const std::string& path, bool report) {
  if (path != session_.Path()) session_.SetPath(path);
  std::string error;
  if (session_.Save(error)) return true;
  if (report) session_.Messenger().Show(kMsgSaveFailed, session_.Path(), error);
  return false;
}

bool QNProjectLifecycle::Save() {
  if (!session_.Path().empty()) return SaveTo(session_.Path(), true);
  const std::optional<std::string> path = frontEnd_.AskSavePath();
  return path && SaveAs(*path);
}

bool QNProjectLifecycle::SaveAs(const std::string& path) {
  if (!SaveTo(path, true)) return false;
  options_.recentFiles.Add(path);
  return true;
}

void QNProjectLifecycle::ForcedStop() {
  CQNDoc& doc = session_.doc;
  if (stopping_ || !doc.run.running) return;
  stopping_ = true;
  frontEnd_.WaitForStop(session_.Messenger().texts.Text(kMsgStoppingWait),
                        [&doc] { doc.ForcedStop(); });
  stopping_ = false;
}

bool QNProjectLifecycle::Close() {
  if (stopping_) return false;
  if (!open_) return true;
  CQNDoc& doc = session_.doc;
  ForcedStop();
  const bool closingForShutdown = doc.run.closingForShutdown;
  if (doc.modified) {
    if (options_.options.AutoSave || closingForShutdown) {
      // Nobody may be there to answer when a shutdown closes the project: a project
      // without a name, or one that cannot be written, is then left as it is.
      const bool saved =
          closingForShutdown ? !session_.Path().empty() && SaveTo(session_.Path(), true) : Save();
      if (!saved && !closingForShutdown) return false;
    } else {
      switch (frontEnd_.AskSaveChanges(session_.Messenger().texts.Text(kMsgSaveChanges))) {
        case QNSaveAnswer::kCancel:
          return false;
        case QNSaveAnswer::kSave:
          if (!Save()) return false;
          break;
        case QNSaveAnswer::kDiscard:
          break;
      }
    }
  }
  periodic_.Stop();
  if (!session_.Path().empty() && !doc.LeftBehindThreadsRunning()) session_.EncryptOnClose();
  open_ = false;
  return true;
}

void QNProjectLifecycle::RestartPeriodicSave() {
  periodic_.Stop();
  if (options_.options.AutoSaveTime) periodic_.Start(options_.options.AutoSaveValue);
}

void QNProjectLifecycle::PeriodicSaveTick() {
  // The stop saves the project itself once the run has ended.
  if (stopping_ || session_.Path().empty()) return;
  // A failing save is reported once, not at every tick, until one succeeds again.
  const bool saved = SaveTo(session_.Path(), !periodicFailureShown_);
  periodicFailureShown_ = !saved;
}

}  // namespace qn
