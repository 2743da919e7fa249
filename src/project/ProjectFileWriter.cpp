#include <algorithm>
#include <cstdint>

#include "project/ProjectFile.h"
#include "project/ProjectFileFormat.h"
#include "settings/SafeFileWrite.h"
#include "web/Address.h"

namespace qn {
namespace {

void WriteNode(QNBinaryWriter& w, const CQNDocNode& n, const std::string& projectFolder,
               const std::string& startFolder) {
  w.Int(n.kind);
  w.CountedText(n.title);
  if (n.kind != kNodeRoot) {
    w.CountedText(n.localFile.empty() ? std::string()
                                      : MakeRelativePath(n.localFile, projectFolder));
    w.CountedText(MakeRelativeAddress(n.url, startFolder));
    w.Int(n.type);
    w.Int(n.state.load());
  }
  for (int v : {n.ordinal, n.prevOrdinal, n.nextOrdinal, n.parentOrdinal, n.childOrdinal}) w.Int(v);
}

}  // namespace

std::string FormatProject(const CQNSettings& s, CQNDocTree& tree, const std::string& projectPath) {
  QNBinaryWriter w;
  w.String(kProjectMagic);
  WriteBlock1(w, s);

  const std::string startFolder = StartFolder(s);
  const std::string projectFolder = ProjectFolder(projectPath);
  const std::vector<CQNDocNode*> nodes = NumberNodes(tree);
  const auto count = static_cast<std::int32_t>(nodes.size());
  w.Int(count);
  for (const CQNDocNode* n : nodes) WriteNode(w, *n, projectFolder, startFolder);

  WriteBlock2(w, s);
  w.Int(count);
  for (const CQNDocNode* n : nodes) {
    w.Int(n->ordinal);
    w.Int(n->level);
    // The file keeps 32 bits; a larger file is recorded as the largest size it holds.
    w.Int(static_cast<std::int32_t>(std::min<std::int64_t>(n->size.load(), INT32_MAX)));
  }
  WriteBlock3(w, s);
  w.Int(count);
  for (const CQNDocNode* n : nodes) {
    w.Int(n->ordinal);
    w.Int(n->sitePos);
    w.Int(0);
  }
  WriteBlock4(w, s);
  WriteAddedBlocks(w, s, nodes);
  return w.Take();
}

bool WriteProjectFile(const std::string& path, const CQNSettings& settings, CQNDocTree& tree,
                      std::string& error) {
  return WriteFileSafely(path, FormatProject(settings, tree, path), error);
}

}  // namespace qn
