#pragma once

// A node's identity: it names the node as long as the node lives and never names
// another one, even after the tree has been cleared, so a value that waited in a
// queue (an observer's event on its way to the GUI thread) can be looked up later
// under the tree lock (CQNDocTree::Resolve, CQNDoc::ResolveNodes) and found stale.
// The none value (generation 0) names no node.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace qn {

struct QNNodeId {
  std::uint32_t slot = 0;
  std::uint32_t generation = 0;

  bool IsNone() const { return generation == 0; }
  bool operator==(const QNNodeId&) const = default;
};

struct QNNodeIdHash {
  std::size_t operator()(const QNNodeId& id) const {
    return std::hash<std::uint64_t>()((std::uint64_t{id.generation} << 32) | id.slot);
  }
};

}  // namespace qn
