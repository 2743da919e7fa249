#include "records/TreeFiles.h"

#include <filesystem>
#include <system_error>

#include "records/TreeWalk.h"
#include "settings/FileTypes.h"
#include "web/Address.h"

namespace qn {

namespace fs = std::filesystem;

void DeleteFileAndEmptyFolder(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  const fs::path file(path);
  if (!fs::remove(file, ec) || ec) return;
  const fs::path folder = file.parent_path();
  if (!folder.empty() && fs::is_empty(folder, ec) && !ec) fs::remove(folder, ec);
}

void ForEachSavedFile(CQNDocNode* subtree, const std::function<void(CQNDocNode&)>& fn) {
  for (CQNDocNode* node : PreOrder(subtree)) {
    if (!node->localFile.empty()) fn(*node);
  }
}

std::vector<std::string> DeleteSavedFiles(CQNDocNode* subtree) {
  std::vector<std::string> deleted;
  ForEachSavedFile(subtree, [&](CQNDocNode& node) {
    std::error_code ec;
    if (fs::remove(fs::path(node.localFile), ec) && !ec) deleted.push_back(node.localFile);
    node.localFile.clear();
  });
  return deleted;
}

bool IsConvertible(const CQNDocNode& node) {
  if (node.state != kStateDone) return false;
  if (node.type == kCatHtml) return true;
  if (node.type != kCatJava) return false;
  // "js" as extensions match: modules ("mjs") are scripts too; a "class" or "wasm"
  // file of the category is a binary that no line-by-line rewriting may touch.
  const std::size_t dot = node.localFile.rfind('.');
  return dot != std::string::npos &&
         ExtensionMatches(std::string_view(node.localFile).substr(dot + 1), "js");
}

bool ForEachConvertible(const CQNDocTree& tree, const std::function<bool(int percent)>& progress,
                        const std::function<void(CQNDocNode&)>& convert) {
  const long total = tree.count > 0 ? tree.count : 1;
  long visited = 0;
  for (CQNDocNode* node : PreOrder(tree.root)) {
    const long percent = (visited + 1) * 100 / total;
    ++visited;
    if (!progress(percent > 99 ? 100 : static_cast<int>(percent))) return false;
    if (IsConvertible(*node)) convert(*node);
  }
  return true;
}

void ForEachUrlNode(const CQNDocTree& tree, const std::function<void(CQNDocNode&)>& check) {
  for (CQNDocNode* node : PreOrder(tree.root)) {
    if (node != tree.root && !node->url.empty()) check(*node);
  }
}

}  // namespace qn
