#pragma once

// Operations on a project's files besides saving and opening: copying the project
// elsewhere (as files or as one ZIP archive), deleting it with its files, and
// keeping it in password-protected ZIP archives while it is closed. Each operation
// ends a failure with one message through the observer and leaves the previous
// files in place; no exception leaves these functions.

#include <functional>
#include <string>

#include "storage/ProjectPaths.h"

namespace qn {

class CQNDocTree;
struct QNMessenger;
struct CQNSettings;

struct QNCopyRequest {
  std::string destination;  // the folder to copy to
  bool projectFiles = true;
  bool downloadedFiles = true;
  bool asZip = false;
  std::string password;  // for the ZIP archive; empty means no encryption
};

// Told the percentage done after every node; returning false is "Stop", which ends
// the walk over the saved files.
using QNCopyProgress = std::function<bool(int percent)>;

// Copies the project; false (after 65168, 65169 or 65170) when it failed. Nothing
// is done for a project without a contents tree. Meant to run on a worker thread;
// it reads the tree and changes nothing.
bool CopyProject(const QNProjectFiles& files, const CQNDocTree& tree, const QNCopyRequest& request,
                 const QNMessenger& messenger, const QNCopyProgress& progress = {});

// The question 65054 "Do you want to delete downloaded files also?", No preselected.
bool AskDeleteDownloaded(const QNMessenger& messenger);

// Deletes the project file, the log, the report and its companion and, with
// `deleteDownloaded` (the answer to 65054), the saved files; removes the empty
// folders below the report's folder and the download folder; then resets the
// settings and empties the tree.
void DeleteProject(const QNProjectFiles& files, CQNSettings& settings, CQNDocTree& tree,
                   bool deleteDownloaded, const std::string& lastFilesDir,
                   const std::string& programDir);

// Puts the project file and its log into a ZIP archive under the project file's own
// name (entries named by their file names), with `password` when not empty. A
// project without a file, or one that is already an archive, is left as it is.
bool EncryptProjectFiles(const std::string& projectFile, const std::string& password,
                         const QNMessenger& messenger);

// Replaces an encrypted project file by its first entry and the project's log by the
// second. The password comes from the settings or is asked once (and kept there).
bool DecryptProjectFiles(const std::string& projectFile, CQNSettings& settings,
                         const QNMessenger& messenger);

// Puts every saved file of the tree, then the report and its companion, into the
// archive `archive` under their full paths without the drive. With `deleteAfter`
// the files are deleted once the archive has been written and read back. An older
// archive is restored on failure, and is kept as it is while the files it holds
// are not back on the disk.
bool EncryptDownloadedFiles(const std::string& archive, const QNProjectFiles& files,
                            const CQNSettings& settings, CQNDocTree& tree, bool deleteAfter,
                            const QNMessenger& messenger);

// Puts every file of the archive back where it was taken from and deletes the
// archive once all came back. Only entries that land inside the download folder
// are extracted: with any other (or a link) the archive is kept and a message
// names one of them.
bool DecryptDownloadedFiles(const std::string& archive, CQNSettings& settings,
                            const QNMessenger& messenger);

}  // namespace qn
