#pragma once

// The saved files a project file may name: those in the project's download folder
// and those below the project file's own folder, against which the file stores them.
// A damaged project file, or one from someone else, may name any other file
// ("../../.profile"), which copying, deleting, converting and encrypting the project
// must never reach.

#include <string>

#include "records/DocTree.h"
#include "settings/ProjectSettings.h"

namespace qn {

// DownloadDir, or QN_PROJECT_DIR when DownloadDir is empty.
std::string DownloadFolderOf(const CQNSettings& settings);

struct QNStrayFiles {
  int count = 0;
  std::string first;  // the first one forgotten, for the message
};

// Forgets the local file of every node whose file lies elsewhere; the node keeps
// its address, so a run fetches the file again into the download folder.
QNStrayFiles ForgetStrayFiles(CQNDocTree& tree, const CQNSettings& settings,
                              const std::string& projectPath);

}  // namespace qn
