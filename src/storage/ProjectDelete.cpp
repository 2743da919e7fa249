#include <filesystem>
#include <system_error>
#include <vector>

#include "records/DocTree.h"
#include "records/TreeFiles.h"
#include "seams/Messenger.h"
#include "seams/Observer.h"
#include "settings/ProjectSettings.h"
#include "storage/EmptyFolders.h"
#include "storage/ProjectOperations.h"
#include "text/MessageIds.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

// Deletes the file and notes it for the folders it may leave empty.
void DeleteQuietly(const std::string& path, std::vector<std::string>& deleted) {
  if (path.empty()) return;
  std::error_code ec;
  if (fs::remove(path, ec) && !ec) deleted.push_back(path);
}

}  // namespace

bool AskDeleteDownloaded(const QNMessenger& messenger) {
  return messenger.AskYesNo(kMsgDeleteDownloadedToo, false);
}

void DeleteProject(const QNProjectFiles& files, CQNSettings& settings, CQNDocTree& tree,
                   bool deleteDownloaded, const std::string& lastFilesDir,
                   const std::string& programDir) {
  std::vector<std::string> report;
  DeleteQuietly(files.report, report);
  DeleteQuietly(ReportCompanionPath(files.report), report);
  RemoveFoldersLeftEmpty(report, FolderOf(files.report));
  // Only folders this deletion empties go, up to the download folder: never the
  // user's own empty folders, never a folder above the download folder.
  std::vector<std::string> deleted;
  DeleteQuietly(files.project, deleted);
  DeleteQuietly(files.log, deleted);
  if (deleteDownloaded && tree.root) {
    const std::vector<std::string> saved = DeleteSavedFiles(tree.root);
    deleted.insert(deleted.end(), saved.begin(), saved.end());
  }
  RemoveFoldersLeftEmpty(deleted, DownloadFolderOf(settings));
  settings.ResetToDefaults(lastFilesDir, programDir);
  tree.Clear();
}

}  // namespace qn
