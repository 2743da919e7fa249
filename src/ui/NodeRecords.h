#pragma once

// What the contents pane reads of the nodes, copied under the tree lock so that no
// node is touched after the lock is let go. Long reads go in batches: between two
// batches the run's threads may add nodes, and the read goes on from the identity
// of the last node it copied.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "records/DocTree.h"
#include "ui/NodePictures.h"
#include "ui/TreeEvents.h"

namespace qn {

class CQNDoc;

// The settings that decide which nodes the display holds.
struct QNDisplayLimits {
  bool htmlOnly = false;  // QN_TR_HTML 1: only the root and HTML nodes
  int maxItems = 0;       // QN_TR_LIMIT_F with QN_TR_MAX_F; 0: no limit
  int update = 0;         // QN_TR_UPDATE: 0 no updates during a run, 1 expand, 2 and 3 collapse

  // Whether a node is shown at all (the root always is).
  bool Admits(int kind, int type) const;
  // Whether one more item may be put in beside `items` already shown.
  bool HasRoom(int items) const { return maxItems == 0 || items <= maxItems; }
};
QNDisplayLimits DisplayLimitsOf(CQNDoc& doc);

struct QNNodeRecord {
  QNNodeId id;
  QNNodeId parent;  // none for the root
  // The node's earlier siblings, nearest first, as far as needed to place it: the
  // list ends at the first one already in the display or read before in the batch.
  std::vector<QNNodeId> before;
  std::string title;
  QNNodeLook look;
};

// The nodes a display rebuilt now would hold, in pre-order (a parent before its
// children, siblings in their order), within the limits. Nothing when the tree has
// no root, or was discarded between two batches.
std::optional<std::vector<QNNodeRecord>> ReadDisplayNodes(CQNDoc& doc,
                                                          const QNDisplayLimits& limits);

// The nodes named by the node events, each with its subtree when the event asks for
// it, in event order; nodes that are gone are left out. `shown` tells whether a node
// already has an item in the display.
std::vector<QNNodeRecord> ReadEventNodes(CQNDoc& doc, const std::vector<QNTreeEvent>& events,
                                         const std::function<bool(const QNNodeId&)>& shown);

}  // namespace qn
