// The download queue: taking the next address and the bulk changes of a run's start.
#include "engine/Doc.h"

namespace qn {

CQNDocNode* CQNDoc::TakeNextLink() {
  auto queue = locks_.Hold(DocLock::Queue);
  return queue_.Take({tree_, settings_, scope_, branch_, speedLevel});
}

void CQNDoc::SetNodeState(CQNDocNode* node, int state) {
  auto queue = locks_.Hold(DocLock::Queue);
  node->state = state;
  queue_.Changed(node, tree_);
}

void CQNDoc::SetNodeMark(CQNDocNode* node, int mark) {
  auto queue = locks_.Hold(DocLock::Queue);
  node->mark = mark;
  queue_.Changed(node, tree_);
}

bool CQNDoc::QueueMayHaveWork() {
  auto queue = locks_.Hold(DocLock::Queue);
  return queue_.MayHaveWork({tree_, settings_, scope_, branch_, speedLevel});
}

void CQNDoc::SetStates(int newState, int oldState) {
  auto queue = locks_.Hold(DocLock::Queue);
  if (tree_.root) tree_.SetStates(branch_, newState, oldState);
}

void CQNDoc::SetMarks(int state, int mark) {
  auto queue = locks_.Hold(DocLock::Queue);
  if (tree_.root) tree_.SetMarks(branch_, state, mark);
}

}  // namespace qn
