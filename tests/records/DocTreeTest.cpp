#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "records/DocTree.h"
#include "records/TreeWalk.h"
#include "support/TempDir.h"
#include "text/Texts.h"

namespace qn {
namespace {

std::vector<std::string> Titles(const CQNDocNode* parent) {
  std::vector<std::string> titles;
  for (const CQNDocNode* c = parent->firstChild; c; c = c->nextSibling) titles.push_back(c->title);
  return titles;
}

CQNDocNode* Folder(CQNDocTree& tree, CQNDocNode* ref, bool into, const std::string& title) {
  CQNDocNode* node = tree.AddFolder(ref, into);
  node->title = title;
  return node;
}

CQNDocNode* Link(CQNDocTree& tree, CQNDocNode* ref, bool into, const std::string& title) {
  CQNDocNode* node = tree.AddLink(ref, into, "");
  node->title = title;
  return node;
}

// Every node reachable from the root, checked against the hierarchy's invariants.
int CheckedNodeCount(const CQNDocTree& tree) {
  int nodes = 0;
  for (const CQNDocNode* node : PreOrder(static_cast<const CQNDocNode*>(tree.root))) {
    if (node->prevSibling) {
      EXPECT_EQ(node->prevSibling->nextSibling, node);
    }
    if (node->nextSibling) {
      EXPECT_EQ(node->nextSibling->prevSibling, node);
    }
    if (node->parent && !node->prevSibling) {
      EXPECT_EQ(node->parent->firstChild, node);
    }
    for (const CQNDocNode* c = node->firstChild; c; c = c->nextSibling) {
      EXPECT_EQ(c->parent, node);
    }
    ++nodes;
  }
  return nodes - 1;
}

TEST(DocTree, NewNodesAndRoot) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot(RootTitle(QNTexts(), ""));
  EXPECT_EQ(root->kind, kNodeRoot);
  EXPECT_EQ(root->title, "New Project");
  EXPECT_EQ(tree.count, 0);
  EXPECT_EQ(tree.CreateRoot("Site")->title, "Site");

  const CQNDocNode* node = tree.NewNode();
  EXPECT_EQ(node->kind, 0);
  EXPECT_EQ(node->wanted, 1);
  EXPECT_EQ(node->sitePos, kUnset);
  EXPECT_EQ(node->level, kUnset);
  EXPECT_EQ(node->state, kStatePending);
  EXPECT_EQ(node->ordinal, 0);
  EXPECT_EQ(node->parent, nullptr);
  EXPECT_EQ(tree.count, 0);

  CQNDocNode url;
  url.SetUrl("http://h/a.htm#part#more");
  EXPECT_EQ(url.url, "http://h/a.htm");
}

TEST(DocTree, InsertionRule) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* a = Folder(tree, root, false, "a");  // the root always takes children
  CQNDocNode* b = Folder(tree, root, true, "b");
  Link(tree, a, true, "a1");
  Link(tree, a, true, "a2");
  EXPECT_EQ(Titles(root), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Titles(a), (std::vector<std::string>{"a1", "a2"}));

  // A collapsed folder with children takes the new node as its next sibling; the
  // folder's later siblings stay behind the new node.
  Link(tree, a, false, "after-a");
  EXPECT_EQ(Titles(root), (std::vector<std::string>{"a", "after-a", "b"}));
  // A link always takes the new node after itself, "into" or not.
  CQNDocNode* a1 = a->firstChild;
  Folder(tree, a1, true, "after-a1");
  EXPECT_EQ(Titles(a), (std::vector<std::string>{"a1", "after-a1", "a2"}));
  Link(tree, b, true, "b1");
  EXPECT_EQ(Titles(b), (std::vector<std::string>{"b1"}));
  EXPECT_EQ(tree.count, 7);
  EXPECT_EQ(CheckedNodeCount(tree), 7);
}

TEST(DocTree, AddStopsAtTheNodeLimit) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  tree.count = kMaxNodes - 1;  // pretend the tree is nearly full
  EXPECT_NE(tree.AddLink(root, true, ""), nullptr);
  EXPECT_EQ(tree.count, kMaxNodes);
  EXPECT_EQ(tree.AddLink(root, true, ""), nullptr);
  EXPECT_EQ(tree.AddFolder(root, true), nullptr);
  EXPECT_EQ(tree.count, kMaxNodes);
}

TEST(DocTree, DeleteUnlinksAndCounts) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* f = Folder(tree, root, true, "f");
  CQNDocNode* first = Folder(tree, f, true, "first");
  Link(tree, first, true, "grandchild");
  Link(tree, f, true, "second");
  Link(tree, f, true, "third");
  ASSERT_EQ(tree.count, 5);

  tree.Delete(first, false);
  EXPECT_EQ(Titles(f), (std::vector<std::string>{"second", "third"}));
  EXPECT_EQ(f->firstChild->prevSibling, nullptr);
  EXPECT_EQ(tree.count, 3);
  EXPECT_EQ(tree.StoredNodes(), 4u);

  tree.Delete(f->firstChild->nextSibling, false);  // the last child
  EXPECT_EQ(Titles(f), (std::vector<std::string>{"second"}));
  tree.Delete(root, false);  // refused
  EXPECT_EQ(tree.count, 2);
  EXPECT_EQ(CheckedNodeCount(tree), 2);

  tree.Clear();
  EXPECT_EQ(tree.root, nullptr);
  EXPECT_EQ(tree.count, 0);
  EXPECT_EQ(tree.StoredNodes(), 0u);
}

TEST(DocTree, AnIdentityGoesStaleWithItsNodeAndNeverNamesAnother) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  // More nodes than one block of storage holds.
  std::vector<CQNDocNode*> nodes;
  for (int i = 0; i < 2500; ++i) nodes.push_back(Folder(tree, root, true, std::to_string(i)));
  CQNDocNode* child = Folder(tree, nodes[7], true, "child");
  std::vector<QNNodeId> ids{NodeIdOf(*root), NodeIdOf(*child)};
  for (CQNDocNode* node : nodes) ids.push_back(NodeIdOf(*node));
  std::unordered_set<QNNodeId, QNNodeIdHash> distinct(ids.begin(), ids.end());
  EXPECT_EQ(distinct.size(), ids.size());
  EXPECT_EQ(tree.Resolve(NodeIdOf(*nodes[2400])), nodes[2400]);
  EXPECT_EQ(tree.Resolve(NodeIdOf(*child)), child);
  EXPECT_EQ(tree.Resolve(QNNodeId{}), nullptr);
  EXPECT_EQ(tree.Resolve(QNNodeId{1u << 30, ids.back().generation}), nullptr);

  // A deleted node's place is taken again, by a node with an identity of its own.
  const QNNodeId gone = NodeIdOf(*nodes[7]);
  const QNNodeId goneChild = NodeIdOf(*child);
  tree.Delete(nodes[7], false);
  EXPECT_EQ(tree.Resolve(gone), nullptr);
  EXPECT_EQ(tree.Resolve(goneChild), nullptr);
  CQNDocNode* again = Folder(tree, root, true, "again");
  CQNDocNode* againToo = Folder(tree, root, true, "again too");
  std::set<std::uint32_t> reused{NodeIdOf(*again).slot, NodeIdOf(*againToo).slot};
  EXPECT_EQ(reused, (std::set<std::uint32_t>{gone.slot, goneChild.slot}));
  EXPECT_EQ(tree.Resolve(gone), nullptr);
  EXPECT_EQ(tree.Resolve(goneChild), nullptr);
  EXPECT_FALSE(distinct.contains(NodeIdOf(*again)));
  EXPECT_FALSE(distinct.contains(NodeIdOf(*againToo)));

  // After a clear the same places hold new nodes, and no earlier identity names one.
  tree.Clear();
  CQNDocNode* newRoot = tree.CreateRoot("q");
  for (int i = 0; i < 2500; ++i) Folder(tree, newRoot, true, std::to_string(i));
  EXPECT_EQ(NodeIdOf(*newRoot).slot, ids[0].slot);
  for (const QNNodeId& id : ids) EXPECT_EQ(tree.Resolve(id), nullptr);
  EXPECT_FALSE(distinct.contains(NodeIdOf(*newRoot)));
}

TEST(DocTree, DeleteWithFilesRemovesEmptiedFolders) {
  test::TempDir dir;
  const auto page = dir / "site/index.htm";
  const auto image = dir / "site/img/a.gif";
  const auto kept = dir / "other/b.gif";
  const auto neighbour = dir / "other/c.gif";
  for (const auto& f : {page, image, kept, neighbour}) test::WriteFile(f, "x");

  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* p = Folder(tree, root, true, "page");
  p->localFile = page.string();
  tree.AddLink(p, true, image.string());
  tree.AddLink(p, true, kept.string());
  tree.AddLink(p, true, (dir / "missing/none.gif").string());  // skipped silently
  tree.AddLink(root, true, neighbour.string());

  tree.Delete(p, true);
  EXPECT_FALSE(std::filesystem::exists(image));
  EXPECT_FALSE(std::filesystem::exists(dir / "site/img"));
  EXPECT_FALSE(std::filesystem::exists(dir / "site"));  // emptied by its page, deleted last
  EXPECT_FALSE(std::filesystem::exists(kept));
  EXPECT_TRUE(std::filesystem::exists(neighbour));  // its folder still holds a file
  EXPECT_EQ(tree.count, 1);

  CQNDocNode* last = root->firstChild;
  tree.Delete(last, false);
  EXPECT_TRUE(std::filesystem::exists(neighbour));
  EXPECT_EQ(tree.count, 0);
}

TEST(DocTree, MoveKeepsSubtreeAndRefusesCycles) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* a = Folder(tree, root, true, "a");
  CQNDocNode* b = Folder(tree, root, true, "b");
  CQNDocNode* c = Folder(tree, root, true, "c");
  CQNDocNode* a1 = Link(tree, a, true, "a1");

  EXPECT_TRUE(tree.Move(a, c));
  EXPECT_EQ(Titles(root), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(a->firstChild, a1);
  EXPECT_TRUE(tree.Move(a1, b));
  EXPECT_EQ(Titles(root), (std::vector<std::string>{"b", "a1", "c", "a"}));
  EXPECT_EQ(a->firstChild, nullptr);

  CQNDocNode* a2 = Link(tree, a, true, "a2");
  EXPECT_FALSE(tree.Move(a, a2));    // into its own subtree
  EXPECT_FALSE(tree.Move(a, root));  // the root has no siblings
  EXPECT_FALSE(tree.Move(root, a));
  EXPECT_EQ(tree.count, 5);
  EXPECT_EQ(CheckedNodeCount(tree), 5);
}

TEST(DocTree, PositionsDepthAndAncestry) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  EXPECT_EQ(tree.LastNode(), root);
  CQNDocNode* s1 = Folder(tree, root, true, "s1");
  CQNDocNode* s2 = Folder(tree, root, true, "s2");
  CQNDocNode* deep = Link(tree, Folder(tree, s1, true, "s1a"), true, "deep");

  EXPECT_EQ(tree.ChildByPosition(1), s1);
  EXPECT_EQ(tree.ChildByPosition(2), s2);
  EXPECT_EQ(tree.ChildByPosition(3), nullptr);
  EXPECT_EQ(tree.ChildByPosition(0), nullptr);
  EXPECT_EQ(tree.LastNode(), s2);
  EXPECT_EQ(Depth(root), 0);
  EXPECT_EQ(Depth(s1), 0);
  EXPECT_EQ(Depth(deep), 2);
  EXPECT_TRUE(IsInside(deep, deep));
  EXPECT_TRUE(IsInside(deep, s1));
  EXPECT_TRUE(IsInside(deep, root));
  EXPECT_FALSE(IsInside(deep, s2));
  EXPECT_FALSE(IsInside(s1, deep));
}

TEST(DocTree, DeepAndWideTreesNeedNoStack) {
  // A chain as deep as the tree may grow: walks, search, deletion and destruction
  // must all manage without recursion.
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* node = root;
  for (int i = 0; i < kMaxNodes; ++i) {
    node = tree.AddFolder(node, true);
    node->url = "http://h/" + std::to_string(i);
  }
  ASSERT_EQ(tree.count, kMaxNodes);
  EXPECT_EQ(tree.LastNode(), node);
  EXPECT_EQ(Depth(node), kMaxNodes - 1);
  EXPECT_EQ(tree.FindByUrl("http://h/99999"), node);
  EXPECT_EQ(tree.FindText(root, "99998", kFindUrls, true), node->parent);
  EXPECT_EQ(tree.FindText(node, "http://h/0", kFindUrls | kFindWholeWord, false), root->firstChild);
  tree.SetStates(nullptr, kStateDone, kStateAny);
  EXPECT_EQ(node->state, kStateDone);
  tree.Delete(root->firstChild->firstChild, false);
  EXPECT_EQ(tree.count, 1);

  // A page with very many links keeps them in the order they were added.
  for (int i = 0; i < 50000; ++i) tree.AddLink(root, true, "")->size = i;
  EXPECT_EQ(tree.LastNode()->size, 49999);
  EXPECT_EQ(root->firstChild->nextSibling->size, 0);
}

}  // namespace
}  // namespace qn
