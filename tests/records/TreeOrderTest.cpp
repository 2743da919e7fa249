#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "records/DocTree.h"
#include "records/TreeOrder.h"
#include "records/TreeWalk.h"

namespace qn {
namespace {

// The list of beginnings and ends must run exactly as the tree does: a node's
// beginning, its subtree, its end, with labels growing all along.
void ExpectLabelsFollowTheTree(const CQNDocTree& tree) {
  std::vector<const QNOrderEntry*> expected;
  const CQNDocNode* node = tree.root;
  expected.push_back(&node->orderOpen);
  for (;;) {
    if (node->firstChild) {
      node = node->firstChild;
      expected.push_back(&node->orderOpen);
      continue;
    }
    expected.push_back(&node->orderClose);
    while (node != tree.root && !node->nextSibling) {
      node = node->parent;
      expected.push_back(&node->orderClose);
    }
    if (node == tree.root) break;
    node = node->nextSibling;
    expected.push_back(&node->orderOpen);
  }
  const QNOrderEntry* entry = &tree.root->orderOpen;
  for (std::size_t i = 0; i < expected.size(); ++i, entry = entry->next) {
    ASSERT_EQ(entry, expected[i]) << "entry " << i;
    if (i > 0) {
      ASSERT_LT(entry->prev->label, entry->label) << "entry " << i;
    }
  }
  EXPECT_EQ(entry, nullptr);
}

TEST(TreeOrder, LabelsFollowInsertionsMovesAndCrowding) {
  CQNDocTree tree;
  tree.CreateRoot("r");
  LabelTreeOrder(tree);
  std::vector<CQNDocNode*> nodes{tree.root};
  std::mt19937 rng(5);
  auto any = [&] {
    return nodes[std::uniform_int_distribution<std::size_t>(0, nodes.size() - 1)(rng)];
  };
  auto add = [&](CQNDocNode* ref, bool into) {
    CQNDocNode* node = tree.AddFolder(ref, into);
    LabelNewLeaf(node);
    nodes.push_back(node);
    return node;
  };

  // A page's links all land at one spot, the end of the page's subtree; a chain
  // puts each new node right after the last. Both crowd the labels there.
  CQNDocNode* hub = add(tree.root, true);
  for (int i = 0; i < 3000; ++i) add(hub, true);
  CQNDocNode* chain = add(tree.root, true);
  for (int i = 0; i < 2000; ++i) chain = add(chain, true);
  for (int i = 0; i < 3000; ++i) {
    CQNDocNode* ref = any();
    add(ref, std::uniform_int_distribution<int>(0, 3)(rng) != 0);
  }
  ExpectLabelsFollowTheTree(tree);

  for (int i = 0; i < 2000; ++i) {
    const CQNDocNode* a = any();
    const CQNDocNode* b = any();
    EXPECT_EQ(InsideSubtree(a, b), IsInside(a, b));
  }

  // A moved subtree is labelled again with the whole tree.
  ASSERT_TRUE(tree.Move(hub, chain));
  LabelTreeOrder(tree);
  ExpectLabelsFollowTheTree(tree);
  EXPECT_TRUE(BeforeInTreeOrder(chain, hub));
  EXPECT_TRUE(InsideSubtree(hub->firstChild, hub));
}

}  // namespace
}  // namespace qn
