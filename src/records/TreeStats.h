#pragma once

// Counts over the contents tree for the status line, the report and the choice of
// download kind.

#include <cstdint>
#include <functional>

#include "records/DocTree.h"

namespace qn {

struct QNTreeStats {
  int nodes = 0;           // nodes other than the root
  int done = 0;            // nodes in state done
  std::int64_t bytes = 0;  // sizes of the done nodes (of the masked types only, with a mask)
  int types = 0;           // bit-or of the types of all done nodes
};

// Over the whole tree, root excluded. With `typeMask` only done nodes whose type
// has a bit in the mask add their size.
QNTreeStats TreeStatistics(const CQNDocTree& tree, int typeMask = -1);

// What the choice of download kind needs to know.
struct QNStartModeStats {
  int marked = 0;        // nodes selected for the next download (mark 1)
  int failed = 0;        // nodes in state failed
  bool anyOpen = false;  // some node neither done nor failed still passes the filters
};
QNStartModeStats StartModeStatistics(const CQNDocTree& tree,
                                     const std::function<bool(CQNDocNode&)>& passesFilters);

}  // namespace qn
