// The download queue: taking the next address and the bulk changes of a run's start.
#include "engine/Doc.h"
#include "engine/Selection.h"

namespace qn {

CQNDocNode* CQNDoc::TakeNextLink() {
  auto queue = locks_.Hold(DocLock::Queue);
  return TakeBySelectionWalk({tree_, settings_, scope_, branch_, speedLevel});
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
