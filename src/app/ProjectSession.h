#pragma once

// One open project as a program without windows keeps it: the settings, the log and
// the document, the project file's path, and the run actions that belong to the
// project itself (emptying the log, the report, saving during a run, converting links).

#include <functional>
#include <mutex>
#include <string>

#include "engine/Doc.h"
#include "records/DownloadLog.h"
#include "seams/Messenger.h"
#include "storage/DownloadReport.h"
#include "storage/ProjectConversion.h"
#include "storage/ProjectPaths.h"

namespace qn {

// What opening takes from the program options and gives back to them.
struct QNOpenExtras {
  std::string lastFilesDir;  // program option LastFilesDir, for the default folder
  // A project (not a template) that opened goes to the recent-project list.
  std::function<void(const std::string& path)> addRecent;
};

class QNProjectSession {
 public:
  // `texts` is the program's lookup, for every text the project shows and logs.
  QNProjectSession(IQNObserver& observer, QNTexts texts);

  CQNSettings settings;
  CQNDownloadLog log;
  CQNDownloadReport report;
  CQNDoc doc;

  // Ends the project's run by force, if one goes on, and discards its tree through
  // the document, so that nothing of the document keeps a node of it. New and Open
  // do this first.
  void Close();
  // A new project from the default settings, without a file yet.
  void NewProject(const std::string& lastFilesDir, const std::string& programDir);
  // Opens a project or a template, decrypting an encrypted project and its
  // downloaded files first (the password is asked through the observer); a template
  // leaves Path() naming the project file beside it, and does not open when that
  // file exists and the observer does not allow replacing it. `unattended`: a
  // damaged file is reported in the log, not in a message, and a template refused
  // for its existing project says why.
  bool Open(const std::string& path, const std::string& programDir, bool unattended,
            const QNOpenExtras& extras = {});

  // Where the project's operations show their messages and ask their questions.
  QNMessenger Messenger() const { return {observer_, texts_}; }

  const std::string& Path() const { return path_; }
  // Names the project file; a log written so far moves beside it.
  void SetPath(const std::string& path);

  // Writes the project file, holding the tree lock and then the queue lock, so it
  // may run while a download goes on. False with the reason when it fails (also
  // when the project has no file name).
  bool Save(std::string& error);
  // The files the project operations work on: the project file, the log and, with
  // the report setting on, the report (its path of the last run, if any).
  QNProjectFiles Files();
  // After the last save: puts the project files and the downloaded files into their
  // archives as the settings ask. False when an encryption failed (reported).
  bool EncryptOnClose();

  // The reason of the last save that failed during a run; empty when none failed.
  std::string LastRunSaveError();

  // Converts the links of every start address's branch, showing the progress in the
  // status line ("Convert Links", "-CONV", and after a run). Not while a run goes on.
  // `goOn`, when given, is told the percentage done between two files and stops the
  // conversion with false.
  QNConversionResult ConvertLinks(const std::string& programDir,
                                  const QNConversionProgress& goOn = {});

  // Fills the environment's log, report, save and conversion actions.
  void InstallRunHooks(QNRunEnvironment& environment);

 private:
  void ResetLog();

  IQNObserver& observer_;
  const QNTexts texts_;
  std::string path_;
  std::mutex errorMutex_;
  std::string runSaveError_;
};

}  // namespace qn
