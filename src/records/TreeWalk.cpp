#include "records/TreeWalk.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace qn {

CQNDocNode* LastChild(const CQNDocNode* node) {
  CQNDocNode* child = node->firstChild;
  if (!child) return nullptr;
  while (child->nextSibling) child = child->nextSibling;
  return child;
}

CQNDocNode* LastInSubtree(const CQNDocNode* node) {
  auto* last = const_cast<CQNDocNode*>(node);
  while (CQNDocNode* child = LastChild(last)) last = child;
  return last;
}

CQNDocNode* PrevPreOrder(const CQNDocNode* node) {
  if (node->prevSibling) return LastInSubtree(node->prevSibling);
  return node->parent;
}

WalkYield::WalkYield(int speedLevel) : pauseMs_((10 - std::clamp(speedLevel, 1, 10)) * 20) {}

void WalkYield::Pause() const {
  std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs_));
}

}  // namespace qn
