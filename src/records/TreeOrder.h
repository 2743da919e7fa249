#pragma once

// Tree order in constant time. Every node has two entries in one list, where its
// subtree begins and where it ends, and the list runs in pre-order: a node's
// beginning, its children's subtrees, its end. Labels grow along the list, so a
// node comes before another in tree order exactly when its beginning has the
// smaller label, and it lies inside a subtree exactly when its beginning falls
// between that subtree's two labels.
//
// A node linked as a leaf gets its place next to its neighbours without a walk; when
// the labels around it are crowded, a stretch of them is spread out again (the list
// labelling of Bender, Cole, Demaine, Farach-Colton and Zito), which costs about the
// logarithm of the list's length over many insertions.

#include "records/DocTree.h"

namespace qn {

// Labels every node of the tree afresh, evenly spaced, in one walk.
void LabelTreeOrder(const CQNDocTree& tree);

// Gives `node`, just linked into a labelled tree as a leaf (a new last child, or a
// new next sibling), its place in the list.
void LabelNewLeaf(CQNDocNode* node);

inline bool BeforeInTreeOrder(const CQNDocNode* a, const CQNDocNode* b) {
  return a->orderOpen.label < b->orderOpen.label;
}

// Whether `node` is `top` or one of its descendants.
inline bool InsideSubtree(const CQNDocNode* node, const CQNDocNode* top) {
  return top->orderOpen.label <= node->orderOpen.label &&
         node->orderOpen.label < top->orderClose.label;
}

}  // namespace qn
