#pragma once

// Creating, opening, saving and closing the one project the desktop program holds,
// with the recent-project list and the periodic save.

#include <string>

#include "app/AppFrontEnd.h"
#include "app/PeriodicSave.h"
#include "app/ProgramOptions.h"
#include "app/ProjectSession.h"

namespace qn {

struct QNAppFolders {
  std::string program;   // the program's folder, ends with "/"
  std::string writable;  // where the program writes its own files, ends with "/"
  std::string current;   // the current folder at start
};

class QNProjectLifecycle {
 public:
  QNProjectLifecycle(QNProjectSession& session, QNOptionSections& options,
                     const QNAppFolders& folders, IQNAppFrontEnd& frontEnd);

  // A new project without a file (the template file of the options applies).
  void New();
  // Opens a project or template; one that opened goes to the recent list and starts
  // the periodic save. On failure (reported) the program holds a new project.
  // `unattended`: a damaged file is reported in the log, not in a message box.
  bool Open(const std::string& path, bool unattended);
  // Saves under the project's name, asking for one when it has none. False when
  // cancelled or failed (reported).
  bool Save();
  bool SaveAs(const std::string& path);
  // Closes the project: a run is stopped by force first; a modified project is
  // saved when AutoSave is on or a shutdown closes it (the document's
  // closingForShutdown), otherwise the user is asked;
  // then its files are encrypted as its settings ask. False when the user cancelled
  // or a save the user asked for failed, or while a forced stop still waits: the
  // project then stays open.
  bool Close();
  // Stops the project's run by force, if one goes on, through the front end, which
  // keeps its windows alive while the stop waits for the run's threads.
  void ForcedStop();
  // A forced stop is waiting: what the front end handles meanwhile must not close or
  // stop the project again.
  bool Stopping() const { return stopping_; }

  bool ProjectOpen() const { return open_; }

  // The periodic save: (re)started with the options' period when AutoSaveTime is on.
  void RestartPeriodicSave();
  const QNPeriodicSave& PeriodicSave() const { return periodic_; }
  // One tick: writes the project file, if it has a name.
  void PeriodicSaveTick();

 private:
  bool SaveTo(const std::string& path, bool report);

  QNProjectSession& session_;
  QNOptionSections& options_;
  const QNAppFolders& folders_;
  IQNAppFrontEnd& frontEnd_;
  QNPeriodicSave periodic_;
  bool open_ = false;
  bool stopping_ = false;
  bool periodicFailureShown_ = false;
};

}  // namespace qn
