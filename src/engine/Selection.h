#pragma once

// The choice of the next address to fetch, as a walk over the tree from its root.
// The walk defines the order; the document takes nodes through the queue of
// SelectionQueue.h, which hands out the same nodes without the walk, and the walk
// stays as the queue's reference in its tests and in the benchmark.

#include "engine/Filters.h"
#include "records/DocTree.h"
#include "settings/ProjectSettings.h"

namespace qn {

struct QNSelection {
  const CQNDocTree& tree;
  const CQNSettings& settings;
  const QNFilterScope& scope;
  CQNDocNode* branch = nullptr;  // a run limited to this node and its descendants
  int speedLevel = 10;
};

// Chooses the next node and marks it taken; null when no candidate is left. The
// caller holds the queue lock.
//
// Breadth first: the lowest level (under QN_DOWN the shallowest directory) among all
// candidates, the first in tree order among equals; negative keys (addresses above
// or beside the start directory) after all others, the one nearest to zero first.
// Download kinds 4 and 8 take the first marked candidate in tree order, and
// LinkOrder 1 takes the first candidate that passes the filters.
CQNDocNode* TakeBySelectionWalk(const QNSelection& selection);

// The rules the walk and the queue share.
// Whether the node may be chosen at all in a run of this download kind: a pending
// node, or for kinds 4 and 8 a marked (and failed) one.
bool IsSelectionCandidate(const CQNDocNode& node, int downloadKind);
// Marks the chosen node taken. Under QN_DOWN and in a branch run the mark of an
// address admitted by an including filter is spent when the address is taken.
CQNDocNode* MarkTaken(CQNDocNode* node, bool spendAdmission);

}  // namespace qn
