#include "engine/Selection.h"

#include "records/TreeWalk.h"

namespace qn {
namespace {

// One walk with threshold b. The eligibility and level tests are costly, so they
// run only for a node whose key could make it the choice or the remembered key;
// a node ruled out by its key alone would be passed over whatever they said.
class SelectionWalk {
 public:
  explicit SelectionWalk(const QNSelection& s)
      : s_(s),
        top_(s.branch ? s.branch : s.tree.root),
        down_(s.settings.QN_DOWN != 0),
        markedKinds_(s.scope.downloadKind == kKindSelected || s.scope.downloadKind == kKindFailed) {
  }

  CQNDocNode* Pass(int b, WalkYield& yield) {
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
      if (down_ ? Down(node, k, b) : s_.branch ? Branch(node, k, b) : Plain(node, k, b))
        return Take(node);
    }
    return nullptr;
  }

  bool HasRemembered() const { return remembered_; }
  int Remembered() const { return key_; }

 private:
  bool IsCandidate(const CQNDocNode& node) const {
    switch (s_.scope.downloadKind) {
      case kKindSelected:
        return node.mark == kMarkSelected;
      case kKindFailed:
        return node.state == kStateFailed && node.mark == kMarkSelected;
      default:
        return node.state == kStatePending;
    }
  }

  bool Passes(CQNDocNode& node) const {
    return PassesEligibility(node, s_.settings, s_.scope) &&
           PassesLevel(node, s_.settings, s_.scope);
  }

  static CQNDocNode* Take(CQNDocNode* node) {
    node->state = kStateTaken;
    return node;
  }

  void Remember(int k) {
    key_ = k;
    remembered_ = true;
  }

  // QN_DOWN: the shallowest directory at or below the start directory; an address
  // an including filter admitted (mark 2) goes at once.
  bool Down(CQNDocNode* node, int k, int b) {
    const bool rememberable = k >= 0 && (!remembered_ || k < key_);
    // Without URL filters no mark 2 can appear, so the key alone rules a node out.
    const bool keyDecides = s_.settings.QN_URL_FILTER.empty() && node->mark != kMarkAdmitted;
    if (keyDecides && !(k >= 0 && b >= k) && !rememberable) return false;
    if (!Passes(*node)) return false;
    if ((k >= 0 && b >= k) || node->mark == kMarkAdmitted) {
      if (node->mark == kMarkAdmitted) node->mark = kMarkNone;
      return true;
    }
    if (rememberable) Remember(k);
    return false;
  }

  // A branch run: the lowest non-negative key of the branch.
  bool Branch(CQNDocNode* node, int k, int b) {
    if (b >= k) {
      if (!Passes(*node)) return false;
      if (node->mark == kMarkAdmitted) node->mark = kMarkNone;
      return true;
    }
    if (k >= 0 && (!remembered_ || k < key_) && Passes(*node)) Remember(k);
    return false;
  }

  // The whole tree: non-negative keys lowest first, then negative keys nearest to
  // zero first.
  bool Plain(CQNDocNode* node, int k, int b) {
    if (k < 0) {
      if (b < 0 && k >= b) return Passes(*node);
      if ((!remembered_ || (key_ < 0 && k > key_)) && Passes(*node)) Remember(k);
      return false;
    }
    if (b >= k) return Passes(*node);
    if ((!remembered_ || key_ < 0 || k < key_) && Passes(*node)) Remember(k);
    return false;
  }

  const QNSelection& s_;
  CQNDocNode* top_;
  bool down_;
  bool markedKinds_;
  bool remembered_ = false;
  int key_ = 0;
};

}  // namespace

CQNDocNode* TakeBySelectionWalk(const QNSelection& selection) {
  if (!selection.tree.root) return nullptr;
  WalkYield yield(selection.speedLevel);
  SelectionWalk walk(selection);
  if (CQNDocNode* node = walk.Pass(0, yield)) return node;
  if (!walk.HasRemembered()) return nullptr;
  return walk.Pass(walk.Remembered(), yield);
}

}  // namespace qn
