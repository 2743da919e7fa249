#pragma once

// One open project as a program without windows keeps it: the settings, the log and
// the document, the project file's path, and the run actions that belong to the
// project itself (emptying the log, saving during a run).

#include <mutex>
#include <string>

#include "engine/Doc.h"
#include "records/DownloadLog.h"

namespace qn {

class QNProjectSession {
 public:
  explicit QNProjectSession(IQNObserver& observer);

  CQNSettings settings;
  CQNDownloadLog log;
  CQNDoc doc;

  // A new project from the default settings, without a file yet.
  void NewProject(const std::string& lastFilesDir, const std::string& programDir);
  // Opens a project or a template; a template leaves Path() naming the project file
  // beside it. `unattended`: a damaged file is reported in the log, not in a message.
  bool Open(const std::string& path, const std::string& programDir, bool unattended);

  const std::string& Path() const { return path_; }
  // Names the project file; a log written so far moves beside it.
  void SetPath(const std::string& path);

  // Writes the project file, holding the tree lock and then the queue lock, so it
  // may run while a download goes on. False with the reason when it fails (also
  // when the project has no file name).
  bool Save(std::string& error);
  // The reason of the last save that failed during a run; empty when none failed.
  std::string LastRunSaveError();

  // Fills the environment's log and save actions.
  void InstallRunHooks(QNRunEnvironment& environment);

 private:
  void ResetLog();

  IQNObserver& observer_;
  std::string path_;
  std::mutex errorMutex_;
  std::string runSaveError_;
};

}  // namespace qn
