#include <unordered_map>

#include "project/ProjectFileFormat.h"
#include "records/TreeWalk.h"

namespace qn {
namespace {

int OrdinalOf(const CQNDocNode* node) {
  return node ? node->ordinal : -1;
}

}  // namespace

std::vector<CQNDocNode*> NumberNodes(const CQNDocTree& tree) {
  std::vector<CQNDocNode*> order;
  for (CQNDocNode* n = tree.root; n; n = NextPreOrder(n, tree.root)) {
    n->ordinal = static_cast<int>(order.size());
    order.push_back(n);
  }
  for (CQNDocNode* n : order) {
    n->prevOrdinal = OrdinalOf(n->prevSibling);
    n->nextOrdinal = OrdinalOf(n->nextSibling);
    n->parentOrdinal = OrdinalOf(n->parent);
    n->childOrdinal = OrdinalOf(n->firstChild);
  }
  return order;
}

bool LinkNodesByOrdinal(const std::vector<CQNDocNode*>& nodes) {
  if (nodes.empty()) return true;
  // A map instead of the linear searches a well-formed file would allow: ordinals
  // in a damaged file may point anywhere, and searching would be quadratic.
  std::unordered_map<int, CQNDocNode*> byOrdinal;
  byOrdinal.reserve(nodes.size());
  for (CQNDocNode* n : nodes) byOrdinal.emplace(n->ordinal, n);
  const auto find = [&](int ordinal) -> CQNDocNode* {
    const auto it = byOrdinal.find(ordinal);
    return it == byOrdinal.end() ? nullptr : it->second;
  };
  for (CQNDocNode* n : nodes) {
    n->prevSibling = find(n->prevOrdinal);
    n->nextSibling = find(n->nextOrdinal);
    n->parent = find(n->parentOrdinal);
    n->firstChild = find(n->childOrdinal);
  }

  // Walk the links from the root and check that they describe one tree: every node
  // reached once, through links that agree with each other. Anything else (cycles,
  // a child whose parent is another node, unreachable nodes) is a damaged file.
  for (std::size_t i = 0; i < nodes.size(); ++i) nodes[i]->ordinal = static_cast<int>(i);
  std::vector<bool> seen(nodes.size(), false);
  const auto visit = [&](CQNDocNode* n, CQNDocNode* parent, CQNDocNode* prev) {
    if (seen[static_cast<std::size_t>(n->ordinal)] || n->parent != parent || n->prevSibling != prev)
      return false;
    seen[static_cast<std::size_t>(n->ordinal)] = true;
    return true;
  };
  CQNDocNode* root = nodes.front();
  if (!visit(root, nullptr, nullptr) || root->nextSibling) return false;
  std::size_t visited = 1;
  CQNDocNode* n = root;
  while (n) {
    CQNDocNode* next = nullptr;
    if (n->firstChild) {
      if (!visit(n->firstChild, n, nullptr)) return false;
      next = n->firstChild;
    } else {
      for (CQNDocNode* up = n; up != root; up = up->parent) {
        if (up->nextSibling) {
          if (!visit(up->nextSibling, up->parent, up)) return false;
          next = up->nextSibling;
          break;
        }
      }
    }
    if (next) ++visited;
    n = next;
  }
  return visited == nodes.size();
}

}  // namespace qn
