#pragma once

// The download queue as a structure: the candidates of the selection walk
// (Selection.h) in a heap ordered by the walk's own preference, so that a take costs
// about the logarithm of the tree instead of a walk over it. The walk stays the
// definition of the order; this structure hands out the same node at every step.
//
// The heap holds each candidate under its rank (the order key as the walk weighs
// it) and its place in tree order (TreeOrder.h). Entries are checked when they come
// to the top: a node that is no longer a candidate is dropped, and one that the
// filters refuse is dropped too, since nothing but a change of settings or scope
// can make it pass, and such a change rebuilds the whole structure. A rebuild also
// follows any change of the tree that did not come through Inserted (a move, a
// deletion, a bulk change of states, a project read).
//
// Every member is used under the document's queue lock.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Selection.h"

namespace qn {

class QNSelectionQueue {
 public:
  // The next node in the walk's order, marked taken; null when no candidate is left.
  CQNDocNode* Take(const QNSelection& selection);
  // `node` was just linked into the tree as a leaf; `changesBefore` is the tree's
  // change count from before the link.
  void Inserted(CQNDocNode* node, const CQNDocTree& tree, std::uint64_t changesBefore);
  // The state or mark of `node` changed in a way that may make it a candidate.
  void Changed(CQNDocNode* node, const CQNDocTree& tree);
  // Something the structure cannot follow changed (marks set by a filter test
  // outside the queue): the next take rebuilds it.
  void Invalidate() { built_ = false; }
  // False when no node can be taken; true may still find every candidate refused
  // by the filters.
  bool MayHaveWork(const QNSelection& selection);

 private:
  // What the order and the filters depend on besides the nodes themselves.
  struct Inputs {
    int downloadKind = 0;
    bool preview = false;
    std::string startServer;
    const CQNDocNode* root = nullptr;
    const CQNDocNode* branch = nullptr;
    int down = 0;
    int linkOrder = 0;
    int offsite = 0;
    int fileTypes = 0;
    int detailedPreview = 0;
    int limitLevel = 0;
    int maxLevel = 0;
    int limitOffsiteLevel = 0;
    int maxOffsiteLevel = 0;
    std::vector<CQNUrlFilter> filters;

    static Inputs Of(const QNSelection& selection);
    bool Matches(const QNSelection& selection) const;
  };
  enum class Mode { Marked, TreeOrder, Down, Branch, Plain };
  struct Entry {
    std::int64_t rank;
    CQNDocNode* node;
  };
  // Orders the heap so that its top is the walk's choice.
  struct Later {
    bool operator()(const Entry& a, const Entry& b) const;
  };

  void Rebuild(const QNSelection& selection);
  bool InSync(const CQNDocTree& tree) const { return built_ && tree.Changes() == treeChanges_; }
  bool IsCandidate(const CQNDocNode& node) const;
  std::int64_t Rank(const CQNDocNode& node) const;
  void Offer(CQNDocNode* node);
  void Push(std::int64_t rank, CQNDocNode* node);
  CQNDocNode* MarkTaken(CQNDocNode* node) const;

  bool built_ = false;
  std::uint64_t treeChanges_ = 0;
  Inputs inputs_;
  Mode mode_ = Mode::Plain;
  CQNDocNode* top_ = nullptr;
  std::vector<Entry> heap_;
};

}  // namespace qn
