#pragma once

// Walks over the saved files of the contents tree, shared by the project file
// operations (delete, archive, copy) and by link conversion.

#include <functional>
#include <string>
#include <vector>

#include "records/DocTree.h"

namespace qn {

// Deletes a saved file and then the folder that held it when that folder is now
// empty (only that one folder). A file that cannot be deleted is skipped silently.
void DeleteFileAndEmptyFolder(const std::string& path);

// Calls `fn` for every node of the subtree that has a local file.
void ForEachSavedFile(CQNDocNode* subtree, const std::function<void(CQNDocNode&)>& fn);

// Deletes every saved file of the subtree and clears the local file names; returns
// the files it deleted.
std::vector<std::string> DeleteSavedFiles(CQNDocNode* subtree);

// Whether link conversion rewrites this node's file: a done HTML page, or a done
// Java-category file whose local file ends in ".js".
bool IsConvertible(const CQNDocNode& node);

// The link-conversion walk over the whole tree: before each node `progress` gets the
// percentage done ((visited + 1) x 100 / count, at most 100) and may stop the walk by
// returning false; `convert` is called for every convertible node. Returns false
// when the walk was stopped.
bool ForEachConvertible(const CQNDocTree& tree, const std::function<bool(int percent)>& progress,
                        const std::function<void(CQNDocNode&)>& convert);

// Calls `check` for every node under the root that has a URL.
void ForEachUrlNode(const CQNDocTree& tree, const std::function<void(CQNDocNode&)>& check);

}  // namespace qn
