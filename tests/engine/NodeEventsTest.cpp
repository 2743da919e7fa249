// What a front end that queues the engine's events onto its own thread relies on:
// node events name nodes by identity, resolved later in batches under the tree lock
// (and found stale when the node has gone), and the tree-ready moment.
#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

#include "engine/RunRig.h"

namespace qn::test {
namespace {

// A start page with two pages, one of which links two more.
std::map<std::string, Resource> FivePages() {
  return {
      {"/index.html", {"<a href=\"a.html\">a</a><a href=\"b.html\">b</a>", "text/html"}},
      {"/a.html", {"<a href=\"a1.html\">1</a><a href=\"a2.html\">2</a>", "text/html"}},
      {"/b.html", {"<p>b</p>", "text/html"}},
      {"/a1.html", {"<p>a1</p>", "text/html"}},
      {"/a2.html", {"<p>a2</p>", "text/html"}},
  };
}

// The identities in `ids` that resolve to a node, each checked to name that node.
std::set<std::string> ResolveAll(CQNDoc& doc, const std::vector<QNNodeId>& ids) {
  std::set<std::string> found;
  doc.ResolveNodes(ids, [&](const QNNodeId& id, const CQNDocNode* node) {
    if (!node) return;
    EXPECT_EQ(NodeIdOf(*node), id);
    // What a tree pane reads of a node, while workers write the atomic members.
    found.insert(node->url + " " + std::to_string(node->state) + " " + std::to_string(node->size));
  });
  return found;
}

TEST(NodeEvents, QueuedEventsResolveUnderTheTreeLockAndAreDroppedForGoneNodes) {
  RunRig rig;
  HttpTestServer server;
  RequestCounter counter;
  const auto files = FivePages();
  ServeFiles(server, files, counter);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_THREADS = 3;

  // The GUI thread drains the queue in batches while the run goes on.
  std::atomic<bool> stop{false};
  std::atomic<int> resolved{0};
  std::thread gui([&] {
    while (!stop) {
      resolved += static_cast<int>(ResolveAll(rig.doc, rig.observer.TakeNodeEvents()).size());
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const bool ended = rig.Download();
  stop = true;
  gui.join();
  // The run's last events may come after the GUI thread's last look.
  resolved += static_cast<int>(ResolveAll(rig.doc, rig.observer.TakeNodeEvents()).size());
  ASSERT_TRUE(ended);
  ASSERT_EQ(rig.NodesIn(kStateDone).size(), 5u);
  EXPECT_GT(resolved, 0);

  // Events still queued for a branch the user deletes name nothing once it is gone,
  // even when new nodes take the places the deleted ones had.
  CQNDocNode* a = rig.doc.FindNodeByUrl(server.Url("/a.html"), false);
  ASSERT_NE(a, nullptr);
  std::vector<QNNodeId> queued{NodeIdOf(*a), NodeIdOf(*a->firstChild),
                               NodeIdOf(*a->firstChild->nextSibling)};
  const QNNodeId rootId = NodeIdOf(*rig.doc.Tree().root);
  queued.push_back(rootId);
  ASSERT_TRUE(rig.doc.DeleteNode(a, false));
  CQNDocNode* added = rig.doc.AddFolder(nullptr, true);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(ResolveAll(rig.doc, queued).size(), 1u);  // the root only
  std::vector<QNNodeId> events = rig.observer.TakeNodeEvents();
  ASSERT_EQ(events.size(), 1u);  // the user's folder
  EXPECT_EQ(events[0], NodeIdOf(*added));

  // A cleared tree leaves every identity stale, the root's too; the new tree's
  // nodes are named anew.
  rig.doc.ClearTree();
  rig.doc.CreateRoot();
  queued.push_back(events[0]);
  ResolveAll(rig.doc, queued);
  int live = 0;
  rig.doc.ResolveNodes(queued, [&](const QNNodeId&, const CQNDocNode* node) { live += !!node; });
  EXPECT_EQ(live, 0);
  EXPECT_NE(NodeIdOf(*rig.doc.Tree().root), rootId);
}

TEST(NodeEvents, TheTreeIsReadyAfterItsDisplayRebuiltItself) {
  RunRig rig;
  rig.observer.TakeTreeEvents();

  // Without a display the tree is ready as soon as it holds a project again; a
  // tree being discarded is never ready to start from.
  rig.doc.TreeReplaced();
  EXPECT_EQ(rig.observer.TakeTreeEvents(),
            (std::vector<std::string>{"usable", "cleared", "ready"}));
  rig.doc.ClearTree();
  EXPECT_EQ(rig.observer.TakeTreeEvents(), (std::vector<std::string>{"discarded", "cleared"}));
  EXPECT_TRUE(rig.doc.TreeReady());
  rig.doc.CreateRoot();

  // A display rebuilds itself first.
  rig.observer.display = true;
  rig.doc.TreeReplaced();
  EXPECT_EQ(rig.observer.TakeTreeEvents(), (std::vector<std::string>{"usable", "cleared"}));
  EXPECT_FALSE(rig.doc.TreeReady());
  rig.doc.TreeDisplayReady();
  EXPECT_EQ(rig.observer.TakeTreeEvents(), (std::vector<std::string>{"ready"}));

  // A run that reinitialises the tree waits for a display still rebuilding, and
  // the tree is ready again once the display has shown the new one.
  HttpTestServer server;
  RequestCounter counter;
  const auto files = FivePages();
  ServeFiles(server, files, counter);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_TR_INIT = 1;
  rig.settings.QN_TR_UPDATE = 1;
  rig.doc.TreeDisplayReady();
  ASSERT_TRUE(rig.doc.TreeReady());
  rig.doc.AddFolder(nullptr, true);
  rig.doc.ResetDisplay();  // the display is rebuilding when the run starts
  rig.observer.TakeTreeEvents();
  ASSERT_TRUE(rig.doc.StartDownload());
  EXPECT_FALSE(rig.doc.WaitForRunEnd(std::chrono::milliseconds(300)));
  EXPECT_EQ(rig.observer.TakeTreeEvents(), std::vector<std::string>{});
  EXPECT_EQ(rig.doc.Tree().count, 1);  // the user's folder is still there

  rig.doc.TreeDisplayReady();
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));
  std::vector<std::string> events = rig.observer.TakeTreeEvents();
  // This thread's moment, whenever the run went on.
  const auto ready = std::find(events.begin(), events.end(), "ready");
  ASSERT_NE(ready, events.end());
  events.erase(ready);
  EXPECT_EQ(events,
            (std::vector<std::string>{"rebuilt", "discarded", "cleared", "usable", "cleared"}));
  EXPECT_FALSE(rig.doc.TreeReady());
  EXPECT_EQ(rig.doc.Tree().count, 5);  // the new tree, without the folder
  rig.doc.TreeDisplayReady();
  EXPECT_EQ(rig.observer.TakeTreeEvents(), (std::vector<std::string>{"ready"}));

  // A forced stop does not wait for a display that never rebuilds itself.
  rig.doc.ResetDisplay();
  ASSERT_TRUE(rig.doc.StartDownload());
  EXPECT_TRUE(rig.doc.ForcedStop());
  EXPECT_FALSE(rig.doc.LeftBehindThreadsRunning());
  ASSERT_TRUE(rig.doc.LastRunEnd());
  EXPECT_FALSE(rig.doc.LastRunEnd()->started);
}

}  // namespace
}  // namespace qn::test
