#include <algorithm>

#include "project/ProjectFile.h"
#include "project/ProjectFileFormat.h"
#include "settings/ExtListChanges.h"
#include "text/MessageIds.h"
#include "web/Address.h"

namespace qn {
namespace {

// One node record; nodes past the limit are read this way and dropped.
struct NodeRecord {
  int kind = 0;
  std::string title, localFile, address;
  int type = 0, state = 0;
  int ordinal = 0, prev = 0, next = 0, parent = 0, child = 0;
};

NodeRecord ReadNodeRecord(QNBinaryReader& r) {
  NodeRecord rec;
  rec.kind = r.Int();
  rec.title = r.CountedText(kMaxTitleLength);
  if (rec.kind != kNodeRoot) {
    rec.localFile = r.CountedText(kMaxAddressLength);
    rec.address = r.CountedText(kMaxAddressLength);
    rec.type = r.Int();
    rec.state = r.Int();
  }
  for (int* v : {&rec.ordinal, &rec.prev, &rec.next, &rec.parent, &rec.child}) *v = r.Int();
  return rec;
}

// Reads the tree into tree.readNodes; false when its links are damaged.
bool ReadTree(QNBinaryReader& r, CQNDocTree& tree, const std::string& projectFolder,
              const std::string& startFolder) {
  const std::int32_t count = r.Int();
  for (std::int32_t i = 0; i < count; ++i) {
    NodeRecord rec = ReadNodeRecord(r);
    if (tree.readNodes.size() >= static_cast<std::size_t>(kMaxReadNodes)) continue;
    CQNDocNode* n = tree.NewNode();
    n->kind = rec.kind;
    n->title = std::move(rec.title);
    if (rec.kind != kNodeRoot) {
      // An empty local file means nothing is saved; it must not become the folder.
      if (!rec.localFile.empty())
        n->localFile = CutToBuffer(JoinLocalPath(rec.localFile, projectFolder));
      n->SetUrl(JoinStoredAddress(rec.address, startFolder));
      n->type = rec.type;
      n->state = rec.state;
    }
    n->ordinal = rec.ordinal;
    n->prevOrdinal = rec.prev;
    n->nextOrdinal = rec.next;
    n->parentOrdinal = rec.parent;
    n->childOrdinal = rec.child;
    tree.readNodes.push_back(n);
  }
  if (!LinkNodesByOrdinal(tree.readNodes)) return false;
  if (!tree.readNodes.empty()) {
    tree.root = tree.readNodes.front();
    tree.count = static_cast<int>(tree.readNodes.size()) - 1;
  }
  return true;
}

// Node levels A (level and size) or B (site position), applied by position in the
// file, not by the ordinal stored.
template <typename Apply>
void ReadNodeValues(QNBinaryReader& r, const std::vector<CQNDocNode*>& nodes, Apply apply) {
  const std::int32_t count = r.Int();
  for (std::int32_t i = 0; i < count; ++i) {
    r.Int();  // ordinal
    const std::int32_t a = r.Int();
    const std::int32_t b = r.Int();
    if (static_cast<std::size_t>(i) < nodes.size())
      apply(*nodes[static_cast<std::size_t>(i)], a, b);
  }
}

// Everything after the tree: a file may end anywhere here, and what is missing
// keeps its default.
void ReadLaterBlocks(QNBinaryReader& r, CQNSettings& s, const std::vector<CQNDocNode*>& nodes) {
  try {
    ReadBlock2(r, s);
    ReadNodeValues(r, nodes, [](CQNDocNode& n, int level, int size) {
      n.level = level;
      n.size = std::max(size, 0);
    });
    ReadBlock3(r, s);
    ReadNodeValues(r, nodes, [](CQNDocNode& n, int sitePos, int) { n.sitePos = sitePos; });
    ReadBlock4(r, s);
  } catch (const QNReadError&) {
    SettleLaterDefaults(s.QN_FILE_EXT, true);
    return;
  }
  if (!ReadAddedBlocks(r, s, nodes)) SettleLaterDefaults(s.QN_FILE_EXT, true);
}

}  // namespace

bool ReadProject(std::istream& in, const std::string& projectPath, CQNSettings& s, CQNDocTree& tree,
                 const QNFileMessages& messages) {
  tree.Clear();
  tree.readNodes.clear();
  QNBinaryReader r(in);
  try {
    if (r.String(std::string_view(kProjectMagic).size() + 1) != kProjectMagic) {
      messages.Show(kMsgNotAProject, projectPath);
      return false;
    }
  } catch (const QNReadError&) {
    messages.ReadError(projectPath);
    return false;
  }
  try {
    ReadBlock1(r, s);
    if (!ReadTree(r, tree, ProjectFolder(projectPath), StartFolder(s))) throw QNReadError();
  } catch (const QNReadError&) {
    tree.readNodes.clear();
    tree.Clear();
    messages.ReadError(projectPath);
    return false;
  }
  ReadLaterBlocks(r, s, tree.readNodes);
  tree.readNodes.clear();
  tree.readNodes.shrink_to_fit();
  return true;
}

}  // namespace qn
