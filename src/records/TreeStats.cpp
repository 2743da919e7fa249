#include "records/TreeStats.h"

#include "records/TreeWalk.h"
#include "settings/FileTypes.h"

namespace qn {

QNTreeStats TreeStatistics(const CQNDocTree& tree, int typeMask) {
  QNTreeStats stats;
  for (const CQNDocNode* node : PreOrder(static_cast<const CQNDocNode*>(tree.root))) {
    if (node == tree.root) continue;
    ++stats.nodes;
    if (node->state != kStateDone) continue;
    ++stats.done;
    stats.types |= node->type;
    if (node->type & typeMask) stats.bytes += node->size;
  }
  return stats;
}

QNStartModeStats StartModeStatistics(const CQNDocTree& tree,
                                     const std::function<bool(CQNDocNode&)>& passesFilters) {
  QNStartModeStats stats;
  for (CQNDocNode* node : PreOrder(tree.root)) {
    if (node == tree.root) continue;
    if (node->mark == kMarkSelected) ++stats.marked;
    const int state = node->state;
    if (state == kStateFailed) ++stats.failed;
    if (!stats.anyOpen && state != kStateDone && state != kStateFailed && passesFilters(*node))
      stats.anyOpen = true;
  }
  return stats;
}

int CQNDocTree::CountPages(const CQNDocNode* subtree) const {
  int pages = 0;
  for (const CQNDocNode* node : PreOrder(subtree)) {
    if (node->type == kCatHtml) ++pages;
  }
  return pages;
}

void CQNDocTree::SetStates(CQNDocNode* subtree, int newState, int oldState) {
  ++changes_;
  for (CQNDocNode* node : PreOrder(subtree ? subtree : root)) {
    if (oldState != kStateAny && node->state != oldState) continue;
    node->state = newState;
    if (newState == kStatePending) node->tries = 0;
  }
}

void CQNDocTree::SetMarks(CQNDocNode* subtree, int state, int mark) {
  ++changes_;
  for (CQNDocNode* node : PreOrder(subtree ? subtree : root)) {
    if (node->state != state) continue;
    node->mark = mark;
    node->tries = 0;
  }
}

}  // namespace qn
