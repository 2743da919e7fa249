#pragma once

// The engine's tree notifications on their way to the GUI thread. Run threads push
// them; the contents pane takes them all at once on its own thread and handles
// them in order. A node is named by its identity only: by the time the pane reads
// it, the node may be gone, which the identity then tells.

#include "seams/NodeId.h"
#include "ui/EventQueue.h"

namespace qn {

struct QNTreeEvent {
  enum Kind {
    kCleared,    // clear the display; it is built again once the tree is usable
    kUsable,     // the tree may be read again
    kDiscarded,  // the tree is being discarded: read nothing until it is usable
    kRebuild,    // build the display again from the nodes
    kNode,       // a node was added or changed (with everything below it: subtree)
  };
  Kind kind = kNode;
  QNNodeId node;
  bool subtree = false;
};

using QNTreeEventQueue = QNEventQueue<QNTreeEvent>;

}  // namespace qn
