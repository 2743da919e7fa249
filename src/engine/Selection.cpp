#include "engine/Selection.h"

#include "records/TreeWalk.h"

namespace qn {
namespace {

// The walk a node at a time, in pre-order. The rule as the system states it runs
// two passes: the first takes a node whose key is within threshold 0 and remembers
// the best key it passes over, the second takes the first node in tree order within
// the remembered key. Here one pass does both: it takes a node at once where the
// first pass would, and otherwise keeps the first node with the best key, which is
// the node the second pass would take.
//
// The eligibility and level tests are costly, so they run only for a node whose key
// could make it the choice; a node ruled out by its key alone would be passed over
// whatever they said.
class SelectionWalk {
 public:
  explicit SelectionWalk(const QNSelection& s)
      : s_(s),
        top_(s.branch ? s.branch : s.tree.root),
        down_(s.settings.QN_DOWN != 0),
        markedKinds_(s.scope.downloadKind == kKindSelected || s.scope.downloadKind == kKindFailed) {
  }

  CQNDocNode* Run() {
    WalkYield yield(s_.speedLevel);
    for (CQNDocNode* node : PreOrder(top_)) {
      yield.Visit();
      if (node == s_.tree.root || !IsCandidate(*node)) continue;
      if (markedKinds_) {
        node->mark = kMarkNone;
        return Take(node);
      }
      if (s_.settings.LinkOrder == 1) {
        if (Passes(*node)) return Take(node);
        continue;
      }
      const int k = down_ || node->level == kUnset ? node->sitePos : node->level;
      if (down_ ? Down(node, k) : s_.branch ? Branch(node, k) : Plain(node, k)) {
        return Take(node);
      }
    }
    return best_ ? Take(best_) : nullptr;
  }

 private:
  bool IsCandidate(const CQNDocNode& node) const {
    return IsSelectionCandidate(node, s_.scope.downloadKind);
  }

  bool Passes(CQNDocNode& node) const {
    return PassesEligibility(node, s_.settings, s_.scope) &&
           PassesLevel(node, s_.settings, s_.scope);
  }

  CQNDocNode* Take(CQNDocNode* node) const { return MarkTaken(node, down_ || s_.branch); }

  void Keep(CQNDocNode* node, int k) {
    best_ = node;
    bestKey_ = k;
  }

  // QN_DOWN: the shallowest directory at or below the start directory; an address
  // an including filter admitted (mark 2) goes at once.
  bool Down(CQNDocNode* node, int k) {
    const bool better = k >= 0 && (!best_ || k < bestKey_);
    // Without URL filters no mark 2 can appear, so the key alone rules a node out.
    const bool keyDecides = s_.settings.QN_URL_FILTER.empty() && node->mark != kMarkAdmitted;
    if (keyDecides && k != 0 && !better) return false;
    if (!Passes(*node)) return false;
    if (k == 0 || node->mark == kMarkAdmitted) return true;
    if (better) Keep(node, k);
    return false;
  }

  // A branch run: a key of 0 or less goes at once, else the lowest key of the branch.
  bool Branch(CQNDocNode* node, int k) {
    if (k <= 0) return Passes(*node);
    if ((!best_ || k < bestKey_) && Passes(*node)) Keep(node, k);
    return false;
  }

  // The whole tree: non-negative keys lowest first, then negative keys nearest to
  // zero first.
  bool Plain(CQNDocNode* node, int k) {
    if (k == 0) return Passes(*node);
    const bool better =
        k > 0 ? !best_ || bestKey_ < 0 || k < bestKey_ : !best_ || (bestKey_ < 0 && k > bestKey_);
    if (better && Passes(*node)) Keep(node, k);
    return false;
  }

  const QNSelection& s_;
  CQNDocNode* top_;
  bool down_;
  bool markedKinds_;
  CQNDocNode* best_ = nullptr;
  int bestKey_ = 0;
};

}  // namespace

bool IsSelectionCandidate(const CQNDocNode& node, int downloadKind) {
  switch (downloadKind) {
    case kKindSelected:
      return node.mark == kMarkSelected;
    case kKindFailed:
      return node.state == kStateFailed && node.mark == kMarkSelected;
    default:
      return node.state == kStatePending;
  }
}

CQNDocNode* MarkTaken(CQNDocNode* node, bool spendAdmission) {
  if (spendAdmission && node->mark == kMarkAdmitted) node->mark = kMarkNone;
  node->state = kStateTaken;
  return node;
}

CQNDocNode* TakeBySelectionWalk(const QNSelection& selection) {
  if (!selection.tree.root) return nullptr;
  return SelectionWalk(selection).Run();
}

}  // namespace qn
