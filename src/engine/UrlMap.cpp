#include "engine/UrlMap.h"

#include <new>

#include "records/TreeWalk.h"
#include "web/Address.h"

namespace qn {

void CQNUrlMap::Enter(CQNDocNode* node) {
  if (node->url.empty()) return;
  map_->emplace(NormalizeForCompare(node->url), node);
}

bool CQNUrlMap::Build(const CQNDocTree& tree) {
  // Running out of memory is a normal outcome here: the caller then works without
  // the map, so the allocation failure is turned into a return value.
  try {
    map_ = std::make_unique<std::unordered_map<std::string, CQNDocNode*>>();
    map_->reserve(static_cast<std::size_t>(tree.count) + 1);
    for (CQNDocNode* node : PreOrder(tree.root)) Enter(node);
    return true;
  } catch (const std::bad_alloc&) {
    map_.reset();
    return false;
  }
}

CQNDocNode* CQNUrlMap::Find(std::string_view address) const {
  if (!map_) return nullptr;
  const auto it = map_->find(NormalizeForCompare(address));
  return it == map_->end() ? nullptr : it->second;
}

bool CQNUrlMap::Insert(CQNDocNode* node) {
  if (!map_) return false;
  try {
    Enter(node);
    return true;
  } catch (const std::bad_alloc&) {
    map_.reset();
    return false;
  }
}

}  // namespace qn
