#pragma once

// Walks over the contents tree. Every walk is iterative: a site can nest pages far
// deeper than a thread's stack would allow a recursive walk to go.

#include <cstddef>
#include <iterator>

#include "records/DocTree.h"

namespace qn {

// The node after `node` in pre-order (node, its children, then its next siblings),
// staying inside the subtree of `top`; null at the end of that subtree.
template <typename Node>
Node* NextPreOrder(Node* node, const CQNDocNode* top) {
  if (node->firstChild) return node->firstChild;
  while (node && node != top) {
    if (node->nextSibling) return node->nextSibling;
    node = node->parent;
  }
  return nullptr;
}

// The node after `node` in pre-order when its own subtree is skipped.
template <typename Node>
Node* SkipSubtree(Node* node, const CQNDocNode* top) {
  while (node && node != top) {
    if (node->nextSibling) return node->nextSibling;
    node = node->parent;
  }
  return nullptr;
}

// The last child of a node, or null.
CQNDocNode* LastChild(const CQNDocNode* node);
// The last node of the subtree in pre-order (the subtree's root when it has no children).
CQNDocNode* LastInSubtree(const CQNDocNode* node);
// The node before `node` in pre-order over the whole tree; null before the root.
CQNDocNode* PrevPreOrder(const CQNDocNode* node);

// A subtree in pre-order, for range-for. The tree must not change during the loop.
template <typename Node>
class PreOrderRange {
 public:
  class iterator {
   public:
    using value_type = Node*;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    iterator(Node* node, const CQNDocNode* top) : node_(node), top_(top) {}
    Node* operator*() const { return node_; }
    iterator& operator++() {
      node_ = NextPreOrder(node_, top_);
      return *this;
    }
    void operator++(int) { ++*this; }
    bool operator==(const iterator& other) const { return node_ == other.node_; }

   private:
    Node* node_ = nullptr;
    const CQNDocNode* top_ = nullptr;
  };

  explicit PreOrderRange(Node* top) : top_(top) {}
  iterator begin() const { return iterator(top_, top_); }
  iterator end() const { return iterator(); }

 private:
  Node* top_;
};

// Pre-order over the subtree of `top` (empty for null).
inline PreOrderRange<CQNDocNode> PreOrder(CQNDocNode* top) {
  return PreOrderRange<CQNDocNode>(top);
}
inline PreOrderRange<const CQNDocNode> PreOrder(const CQNDocNode* top) {
  return PreOrderRange<const CQNDocNode>(top);
}

// Counts the nodes a long walk visits and, every 1000 of them, sleeps
// (10 - speed) x 20 ms so that a slow speed setting leaves time to other threads.
class WalkYield {
 public:
  explicit WalkYield(int speedLevel);
  void Visit() {
    if (--untilPause_ == 0) {
      untilPause_ = 1000;
      if (pauseMs_ > 0) Pause();
    }
  }

 private:
  void Pause() const;
  int pauseMs_;
  int untilPause_ = 1000;
};

}  // namespace qn
