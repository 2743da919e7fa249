#include "engine/SelectionQueue.h"

#include <algorithm>

#include "records/TreeOrder.h"
#include "records/TreeWalk.h"

namespace qn {
namespace {

// Ranks below this are the walk's non-negative keys; negative keys rank above it,
// the one nearest to zero first.
constexpr std::int64_t kNegativeKeys = std::int64_t{1} << 33;
// A node the walk can never choose in this mode.
constexpr std::int64_t kNever = -1;

}  // namespace

QNSelectionQueue::Inputs QNSelectionQueue::Inputs::Of(const QNSelection& s) {
  Inputs in;
  in.downloadKind = s.scope.downloadKind;
  in.preview = s.scope.preview;
  in.startServer = s.scope.startServer;
  in.root = s.tree.root;
  in.branch = s.branch;
  in.down = s.settings.QN_DOWN;
  in.linkOrder = s.settings.LinkOrder;
  in.offsite = s.settings.QN_OFFSITE;
  in.fileTypes = s.settings.QN_FILE_TYPES;
  in.detailedPreview = s.settings.QN_DETPREV;
  in.limitLevel = s.settings.QN_LIM_L;
  in.maxLevel = s.settings.QN_MAX_L;
  in.limitOffsiteLevel = s.settings.QN_LIM_OL;
  in.maxOffsiteLevel = s.settings.QN_MAX_OL;
  in.filters = s.settings.QN_URL_FILTER;
  return in;
}

bool QNSelectionQueue::Inputs::Matches(const QNSelection& s) const {
  const CQNSettings& t = s.settings;
  return downloadKind == s.scope.downloadKind && preview == s.scope.preview &&
         root == s.tree.root && branch == s.branch && down == t.QN_DOWN &&
         linkOrder == t.LinkOrder && offsite == t.QN_OFFSITE && fileTypes == t.QN_FILE_TYPES &&
         detailedPreview == t.QN_DETPREV && limitLevel == t.QN_LIM_L && maxLevel == t.QN_MAX_L &&
         limitOffsiteLevel == t.QN_LIM_OL && maxOffsiteLevel == t.QN_MAX_OL &&
         startServer == s.scope.startServer && filters == t.QN_URL_FILTER;
}

bool QNSelectionQueue::Later::operator()(const Entry& a, const Entry& b) const {
  if (a.rank != b.rank) return a.rank > b.rank;
  return BeforeInTreeOrder(b.node, a.node);
}

bool QNSelectionQueue::MayHaveWork(const QNSelection& selection) {
  if (!selection.tree.root) return false;
  if (!InSync(selection.tree) || !inputs_.Matches(selection)) Rebuild(selection);
  return !heap_.empty();
}

CQNDocNode* QNSelectionQueue::Take(const QNSelection& selection) {
  if (!MayHaveWork(selection)) return nullptr;
  WalkYield yield(selection.speedLevel);
  while (!heap_.empty()) {
    std::pop_heap(heap_.begin(), heap_.end(), Later{});
    const Entry entry = heap_.back();
    heap_.pop_back();
    yield.Visit();
    CQNDocNode* node = entry.node;
    if (!IsCandidate(*node)) continue;
    if (mode_ == Mode::Down) {
      // Under QN_DOWN the rank follows the mark, which may have changed since the
      // entry was made.
      const std::int64_t rank = Rank(*node);
      if (rank != entry.rank) {
        if (rank != kNever) Push(rank, node);
        continue;
      }
    }
    if (mode_ == Mode::Marked) {
      node->mark = kMarkNone;
      return MarkTaken(node);
    }
    if (PassesEligibility(*node, selection.settings, selection.scope) &&
        PassesLevel(*node, selection.settings, selection.scope))
      return MarkTaken(node);
  }
  return nullptr;
}

void QNSelectionQueue::Inserted(CQNDocNode* node, const CQNDocTree& tree,
                                std::uint64_t changesBefore) {
  if (!built_ || changesBefore != treeChanges_) {
    built_ = false;
    return;
  }
  LabelNewLeaf(node);
  treeChanges_ = tree.Changes();
  Offer(node);
}

void QNSelectionQueue::Changed(CQNDocNode* node, const CQNDocTree& tree) {
  if (InSync(tree)) Offer(node);
}

void QNSelectionQueue::Rebuild(const QNSelection& selection) {
  LabelTreeOrder(selection.tree);
  inputs_ = Inputs::Of(selection);
  const int kind = inputs_.downloadKind;
  if (kind == kKindSelected || kind == kKindFailed) {
    mode_ = Mode::Marked;
  } else if (inputs_.linkOrder == 1) {
    mode_ = Mode::TreeOrder;
  } else if (inputs_.down) {
    mode_ = Mode::Down;
  } else if (inputs_.branch) {
    mode_ = Mode::Branch;
  } else {
    mode_ = Mode::Plain;
  }
  top_ = selection.branch ? selection.branch : selection.tree.root;
  heap_.clear();
  for (CQNDocNode* node : PreOrder(top_)) {
    if (node == inputs_.root || !IsCandidate(*node)) continue;
    const std::int64_t rank = Rank(*node);
    if (rank != kNever) heap_.push_back({rank, node});
  }
  std::make_heap(heap_.begin(), heap_.end(), Later{});
  treeChanges_ = selection.tree.Changes();
  built_ = true;
}

bool QNSelectionQueue::IsCandidate(const CQNDocNode& node) const {
  return IsSelectionCandidate(node, inputs_.downloadKind);
}

std::int64_t QNSelectionQueue::Rank(const CQNDocNode& node) const {
  switch (mode_) {
    case Mode::Marked:
    case Mode::TreeOrder:
      return 0;
    case Mode::Down: {
      // The shallowest directory first, except that an address an including filter
      // admits (mark 2) goes at once; an address above the start directory never
      // goes otherwise.
      const int k = node.sitePos;
      if (k == 0 || node.mark == kMarkAdmitted ||
          (!inputs_.filters.empty() &&
           UrlFilterDecision(inputs_.filters, node.url) == UrlVerdict::Load))
        return 0;
      return k > 0 ? k : kNever;
    }
    case Mode::Branch:
    case Mode::Plain:
      break;
  }
  const int k = node.level == kUnset ? node.sitePos : node.level;
  if (mode_ == Mode::Branch) return k <= 0 ? 0 : k;
  return k >= 0 ? k : kNegativeKeys - k;
}

void QNSelectionQueue::Offer(CQNDocNode* node) {
  if (node == inputs_.root || !InsideSubtree(node, top_) || !IsCandidate(*node)) return;
  const std::int64_t rank = Rank(*node);
  if (rank != kNever) Push(rank, node);
}

void QNSelectionQueue::Push(std::int64_t rank, CQNDocNode* node) {
  heap_.push_back({rank, node});
  std::push_heap(heap_.begin(), heap_.end(), Later{});
}

CQNDocNode* QNSelectionQueue::MarkTaken(CQNDocNode* node) const {
  return qn::MarkTaken(node, inputs_.down || inputs_.branch);
}

}  // namespace qn
