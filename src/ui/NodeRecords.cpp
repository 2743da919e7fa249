#include "ui/NodeRecords.h"

#include <unordered_set>

#include "engine/Doc.h"
#include "records/TreeWalk.h"
#include "settings/FileTypes.h"

namespace qn {
namespace {

// Nodes copied per hold of the tree lock: short enough that a run's threads, which
// need the lock to add what they find, hardly wait.
constexpr int kBatchNodes = 4096;

QNNodeLook LookOf(const CQNDocNode& node, int depth) {
  return {node.kind, node.type, node.state.load(), node.mark.load(), depth};
}

QNNodeRecord RecordOf(const CQNDocNode& node, int depth) {
  QNNodeRecord record;
  record.id = NodeIdOf(node);
  if (node.parent) record.parent = NodeIdOf(*node.parent);
  record.title = node.title;
  record.look = LookOf(node, depth);
  return record;
}

// The node after `node` in pre-order within the subtree of `top`, skipping the
// node's children unless `descend`; `depth` follows it.
const CQNDocNode* NextInSubtree(const CQNDocNode* node, bool descend, const CQNDocNode* top,
                                int& depth) {
  if (descend && node->firstChild) {
    ++depth;
    return node->firstChild;
  }
  while (node != top) {
    if (node->nextSibling) return node->nextSibling;
    node = node->parent;
    --depth;
  }
  return nullptr;
}

// Visits the subtree of `top` (the whole tree for none) in pre-order, in batches
// under the tree lock. `visit(node, depth)` says whether to go into the node's
// children. False when the tree lost its root, or the node to go on from.
template <typename Visit>
bool WalkInBatches(CQNDoc& doc, QNNodeId top, Visit visit) {
  // Between two batches: the last node visited, and whether its children come next.
  QNNodeId resume;
  bool descend = false;
  for (bool started = false;; started = true) {
    auto lock = doc.Locks().Hold(DocLock::Tree);
    const CQNDocTree& tree = doc.Tree();
    const CQNDocNode* first = top.IsNone() ? tree.root : tree.Resolve(top);
    if (!first) return false;
    const CQNDocNode* node = first;
    int depth = Depth(first);
    if (started) {
      const CQNDocNode* last = tree.Resolve(resume);
      if (!last) return false;
      depth = Depth(last);
      node = NextInSubtree(last, descend, first, depth);
    }
    for (int n = 0; node; ++n) {
      descend = visit(*node, depth);
      resume = NodeIdOf(*node);
      if (n + 1 == kBatchNodes) break;
      node = NextInSubtree(node, descend, first, depth);
    }
    if (!node) return true;
  }
}

}  // namespace

bool QNDisplayLimits::Admits(int kind, int type) const {
  return kind == kNodeRoot || !htmlOnly || type == kCatHtml;
}

QNDisplayLimits DisplayLimitsOf(CQNDoc& doc) {
  const CQNSettings settings = doc.SettingsCopy();
  QNDisplayLimits limits;
  limits.htmlOnly = settings.QN_TR_HTML == kCatHtml;
  limits.maxItems = settings.QN_TR_LIMIT_F ? settings.QN_TR_MAX_F : 0;
  limits.update = settings.QN_TR_UPDATE;
  return limits;
}

std::optional<std::vector<QNNodeRecord>> ReadDisplayNodes(CQNDoc& doc,
                                                          const QNDisplayLimits& limits) {
  std::vector<QNNodeRecord> records;
  const bool complete = WalkInBatches(doc, QNNodeId{}, [&](const CQNDocNode& node, int depth) {
    if (!limits.Admits(node.kind, node.type) || !limits.HasRoom(static_cast<int>(records.size())))
      return false;
    records.push_back(RecordOf(node, depth));
    return true;
  });
  if (!complete) return std::nullopt;
  return records;
}

std::vector<QNNodeRecord> ReadEventNodes(CQNDoc& doc, const std::vector<QNTreeEvent>& events,
                                         const std::function<bool(const QNNodeId&)>& shown) {
  std::vector<QNNodeRecord> records;
  std::unordered_set<QNNodeId, QNNodeIdHash> read;
  const auto visit = [&](const CQNDocNode& node, int depth) {
    QNNodeRecord record = RecordOf(node, depth);
    for (const CQNDocNode* before = node.prevSibling; before; before = before->prevSibling) {
      const QNNodeId id = NodeIdOf(*before);
      record.before.push_back(id);
      if (shown(id) || read.count(id)) break;
    }
    read.insert(record.id);
    records.push_back(std::move(record));
    return true;
  };
  for (const QNTreeEvent& event : events) {
    if (event.kind != QNTreeEvent::kNode) continue;
    if (event.subtree) {
      WalkInBatches(doc, event.node, visit);
      continue;
    }
    auto lock = doc.Locks().Hold(DocLock::Tree);
    if (const CQNDocNode* node = doc.Tree().Resolve(event.node)) visit(*node, Depth(node));
  }
  return records;
}

}  // namespace qn
