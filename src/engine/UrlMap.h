#pragma once

// The address map of a run: compare form of an address (NormalizeForCompare) to
// its node, so that duplicate detection needs no walk over the tree. The document
// guards it with its URL-map lock.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "records/DocTree.h"

namespace qn {

class CQNUrlMap {
 public:
  // Fills the map from every node of the tree; false (and no map) when memory ran out.
  bool Build(const CQNDocTree& tree);
  void Drop() { map_.reset(); }
  bool Exists() const { return map_ != nullptr; }
  std::size_t Size() const { return map_ ? map_->size() : 0; }

  // The node entered under the compare form of `address`, or null.
  CQNDocNode* Find(std::string_view address) const;
  // Enters a node under the compare form of its URL (an address already entered
  // keeps its first node); false when memory ran out, and the map is then dropped.
  bool Insert(CQNDocNode* node);

 private:
  void Enter(CQNDocNode* node);
  std::unique_ptr<std::unordered_map<std::string, CQNDocNode*>> map_;
};

}  // namespace qn
