#include "records/TreeOrder.h"

#include <array>

#include "records/TreeWalk.h"

namespace qn {
namespace {

// Labels lie below this bound; an entry at the end of the list has it as its
// upper neighbour.
constexpr std::uint64_t kSpan = std::uint64_t{1} << 62;
constexpr int kSpanBits = 62;

// How many entries a stretch of 2^bits labels may hold before it must grow:
// (4/3)^bits, the density bound 1.5^-bits of the list labelling.
constexpr std::array<std::uint64_t, kSpanBits + 1> MakeCapacities() {
  std::array<std::uint64_t, kSpanBits + 1> capacity{};
  double c = 1;
  for (int bits = 0; bits <= kSpanBits; ++bits) {
    capacity[bits] = static_cast<std::uint64_t>(c);
    c = c * 4 / 3;
  }
  return capacity;
}
constexpr std::array<std::uint64_t, kSpanBits + 1> kCapacity = MakeCapacities();

void LinkAfter(QNOrderEntry* at, QNOrderEntry* entry) {
  entry->prev = at;
  entry->next = at->next;
  if (at->next) at->next->prev = entry;
  at->next = entry;
}

// Finds the smallest aligned stretch of labels around `entry` that is sparse
// enough, and spaces its entries evenly.
void Spread(QNOrderEntry* entry) {
  entry->label = entry->prev->label;
  QNOrderEntry* first = entry;
  QNOrderEntry* last = entry;
  std::uint64_t count = 1;
  for (int bits = 1; bits <= kSpanBits; ++bits) {
    const std::uint64_t size = std::uint64_t{1} << bits;
    const std::uint64_t base = entry->label & ~(size - 1);
    while (first->prev && first->prev->label >= base) {
      first = first->prev;
      ++count;
    }
    while (last->next && last->next->label - base < size) {
      last = last->next;
      ++count;
    }
    if (count > kCapacity[bits]) continue;
    const std::uint64_t step = size / count;
    std::uint64_t label = base;
    for (QNOrderEntry* e = first;; e = e->next) {
      e->label = label;
      label += step;
      if (e == last) return;
    }
  }
}

// Labels `entry`, just linked into the list, between its neighbours.
void Place(QNOrderEntry* entry) {
  const std::uint64_t low = entry->prev->label;
  const std::uint64_t high = entry->next ? entry->next->label : kSpan;
  if (high - low >= 2) {
    entry->label = low + (high - low) / 2;
  } else {
    Spread(entry);
  }
}

}  // namespace

void LabelTreeOrder(const CQNDocTree& tree) {
  if (!tree.root) return;
  // The linked nodes are counted by a walk: the queue labels under its own lock, and
  // links change only under it, while the count of stored nodes grows under the tree
  // lock alone (a node is made before it is linked).
  std::uint64_t linked = 0;
  for ([[maybe_unused]] const CQNDocNode* each :
       PreOrder(static_cast<const CQNDocNode*>(tree.root)))
    ++linked;
  const std::uint64_t step = kSpan / (2 * linked + 2);
  std::uint64_t label = 0;
  QNOrderEntry* prev = nullptr;
  const auto put = [&](QNOrderEntry& entry) {
    label += step;
    entry.label = label;
    entry.prev = prev;
    entry.next = nullptr;
    if (prev) prev->next = &entry;
    prev = &entry;
  };
  CQNDocNode* node = tree.root;
  for (;;) {
    put(node->orderOpen);
    if (node->firstChild) {
      node = node->firstChild;
      continue;
    }
    put(node->orderClose);
    while (node != tree.root && !node->nextSibling) {
      node = node->parent;
      put(node->orderClose);
    }
    if (node == tree.root) return;
    node = node->nextSibling;
  }
}

void LabelNewLeaf(CQNDocNode* node) {
  QNOrderEntry* after =
      node->prevSibling ? &node->prevSibling->orderClose : &node->parent->orderOpen;
  LinkAfter(after, &node->orderOpen);
  Place(&node->orderOpen);
  LinkAfter(&node->orderOpen, &node->orderClose);
  Place(&node->orderClose);
}

}  // namespace qn
