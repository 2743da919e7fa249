#include <filesystem>
#include <system_error>

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

void DeleteQuietly(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  fs::remove(path, ec);
}

// Emptying "below" the file-system root would sweep the whole disk.
void RemoveEmptyFoldersBelow(const std::string& folder) {
  if (folder.empty() || fs::path(folder).relative_path().empty()) return;
  RemoveEmptyFolders(folder);
}

}  // namespace

bool AskDeleteDownloaded(const QNMessenger& messenger) {
  return messenger.AskYesNo(kMsgDeleteDownloadedToo, false);
}

void DeleteProject(const QNProjectFiles& files, CQNSettings& settings, CQNDocTree& tree,
                   bool deleteDownloaded, const std::string& lastFilesDir,
                   const std::string& programDir) {
  DeleteQuietly(files.project);
  DeleteQuietly(files.log);
  DeleteQuietly(files.report);
  DeleteQuietly(ReportCompanionPath(files.report));
  RemoveEmptyFoldersBelow(FolderOf(files.report));
  if (deleteDownloaded && tree.root) DeleteSavedFiles(tree.root);
  RemoveEmptyFoldersBelow(DownloadFolderOf(settings));
  settings.ResetToDefaults(lastFilesDir, programDir);
  tree.Clear();
}

}  // namespace qn
