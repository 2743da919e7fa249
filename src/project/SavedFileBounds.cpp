#include "project/SavedFileBounds.h"

#include "project/ProjectFileFormat.h"
#include "records/TreeWalk.h"
#include "web/Address.h"

namespace qn {

std::string DownloadFolderOf(const CQNSettings& settings) {
  return settings.DownloadDir.empty() ? settings.QN_PROJECT_DIR : settings.DownloadDir;
}

QNStrayFiles ForgetStrayFiles(CQNDocTree& tree, const CQNSettings& settings,
                              const std::string& projectPath) {
  QNStrayFiles stray;
  if (!tree.root) return stray;
  const std::string downloadFolder = DownloadFolderOf(settings);
  const std::string projectFolder = ProjectFolder(projectPath);
  for (CQNDocNode* node : PreOrder(tree.root)) {
    if (node->localFile.empty() || IsPathInside(node->localFile, downloadFolder) ||
        IsPathInside(node->localFile, projectFolder))
      continue;
    if (stray.count++ == 0) stray.first = node->localFile;
    node->localFile.clear();
  }
  return stray;
}

}  // namespace qn
