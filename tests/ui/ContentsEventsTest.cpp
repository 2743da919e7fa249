// The tree pane takes the engine's node events on the window's thread, long after
// they were made: the nodes they name may be gone, or their places in the tree
// taken by new nodes, by then.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/Doc.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

CQNDocNode* Resolve(CQNDoc& doc, const QNNodeId& id) {
  auto lock = doc.Locks().Hold(DocLock::Tree);
  return doc.Tree().Resolve(id);
}

TEST(ContentsEventsTest, EventsOfNodesGoneBeforeTheyAreHandledAreDropped) {
  WindowRig rig;
  rig.NewProject();
  CQNDoc& doc = rig.Doc();
  QNContentsModel& model = rig.Pane().Model();
  ASSERT_EQ(model.ItemCount(), 1);

  CQNDocNode* root = doc.Tree().root;
  CQNDocNode* folder = doc.AddFolder(root, true);
  const QNNodeId folderId = NodeIdOf(*folder);
  const QNNodeId innerId = NodeIdOf(*doc.AddLink(folder, true));
  const QNNodeId keptId = NodeIdOf(*doc.AddLink(folder, false));
  ASSERT_TRUE(doc.DeleteNode(folder, false));
  // The new node takes a place a deleted one had; the old events must not find it.
  const QNNodeId reusedId = NodeIdOf(*doc.AddLink(root, true));
  EXPECT_TRUE(reusedId.slot == folderId.slot || reusedId.slot == innerId.slot);
  rig.Settle();

  EXPECT_EQ(model.ItemCount(), 3);
  EXPECT_FALSE(model.Shows(folderId));
  EXPECT_FALSE(model.Shows(innerId));
  EXPECT_TRUE(model.Shows(keptId));
  EXPECT_TRUE(model.Shows(reusedId));
  EXPECT_EQ(model.IndexOf(reusedId).parent(), model.RootIndex());

  // Events that waited while a new project replaced the tree name nothing in it.
  const QNNodeId staleId = NodeIdOf(*doc.AddLink(doc.Tree().root, true));
  rig.NewProject();
  EXPECT_EQ(Resolve(doc, staleId), nullptr);
  EXPECT_EQ(model.ItemCount(), 1);
  EXPECT_FALSE(model.Shows(staleId));
}

TEST(ContentsEventsTest, NodesAddedAndDeletedOnAnotherThreadWhileTheWindowReads) {
  WindowRig rig;
  rig.NewProject();
  CQNDoc& doc = rig.Doc();
  std::atomic<bool> done{false};
  std::vector<QNNodeId> kept;
  std::thread run([&] {
    CQNDocNode* root = nullptr;
    {
      auto lock = doc.Locks().Hold(DocLock::Tree);
      root = doc.Tree().root;
    }
    for (int i = 0; i < 3000; ++i) {
      CQNDocNode* node = doc.AddLink(root, true);
      if (i % 3 == 0)
        doc.DeleteNode(node, false);
      else
        kept.push_back(NodeIdOf(*node));
    }
    done = true;
  });
  while (!done) rig.Settle();
  run.join();
  rig.Settle();

  // No event of a node still there was lost; a deleted node may still show until
  // the display is rebuilt, but never one the tree does not hold.
  const QNContentsModel& model = rig.Pane().Model();
  for (const QNNodeId& id : kept) ASSERT_TRUE(model.Shows(id));
  rig.frame->Contents().Rebuild();
  EXPECT_EQ(model.ItemCount(), 1 + static_cast<int>(kept.size()));
}

}  // namespace
}  // namespace qn::test
