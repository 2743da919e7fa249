#include <gtest/gtest.h>

#include <algorithm>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/DocFixture.h"
#include "records/TreeWalk.h"

namespace qn {
namespace {

// Workers add the links of "their" pages and take nodes at the same time, as the
// workers of a run do. Part of the addresses is shared by all threads, so the same
// new address keeps arriving from several threads at once.
void RunWorkers(bool withMap) {
  constexpr int kThreads = 32;
  constexpr int kShared = 2000;
  constexpr int kSharers = 4;
  constexpr int kOwn = 1500;  // kShared + kThreads x kOwn = 50000 addresses
  constexpr int kBatch = 50;
  constexpr int kTakeEvery = 7;  // batches added per node taken

  test::DocFixture f;
  f.settings.QN_OFFSITE = 1;
  f.settings.QN_FASTPARSE = withMap ? 1 : 0;
  if (withMap) f.doc.BuildUrlMap();
  std::vector<std::vector<CQNDocNode*>> taken(kThreads);
  std::latch start(kThreads);

  auto worker = [&](int t) {
    std::vector<QNFoundLink> links;
    for (int i = 0; i < kOwn; ++i)
      links.push_back({"http://t" + std::to_string(t) + "/p" + std::to_string(i) + ".htm", 3});
    // Each shared address comes from kSharers threads, half of them in reverse order.
    constexpr int kGroups = kThreads / kSharers;
    for (int i = 0; i < kShared / kGroups; ++i) {
      const int slot = (t / kGroups) % 2 ? kShared / kGroups - 1 - i : i;
      links.push_back(
          {"http://shared/s" + std::to_string(slot * kGroups + t % kGroups) + ".htm", 3});
    }
    start.arrive_and_wait();
    CQNDocNode* page = f.Root();
    for (std::size_t b = 0; b < links.size(); b += kBatch) {
      const std::vector<QNFoundLink> batch(links.begin() + b,
                                           links.begin() + std::min(links.size(), b + kBatch));
      f.doc.AddFoundLinks(page, "http://h/", batch);
      if (b % (kBatch * kTakeEvery) != 0) continue;
      if (CQNDocNode* node = f.doc.TakeNextLink()) {
        taken[t].push_back(node);
        page = node;  // the next links are found on the page just taken
      }
    }
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(worker, t);
  for (std::thread& thread : threads) thread.join();

  std::vector<CQNDocNode*> all;
  for (const auto& list : taken) all.insert(all.end(), list.begin(), list.end());
  const std::set<CQNDocNode*> unique(all.begin(), all.end());
  EXPECT_EQ(unique.size(), all.size()) << "a node was handed out twice";
  EXPECT_GT(all.size(), 100u);

  int nodes = 0, pending = 0, takenInTree = 0;
  std::set<std::string> urls;
  for (const CQNDocNode* node : PreOrder(static_cast<const CQNDocNode*>(f.Root()))) {
    if (node == f.Root()) continue;
    ++nodes;
    urls.insert(node->url);
    if (node->state == kStatePending) ++pending;
    if (node->state == kStateTaken) {
      ++takenInTree;
      EXPECT_TRUE(unique.count(const_cast<CQNDocNode*>(node))) << node->url;
    }
  }
  EXPECT_EQ(nodes, 50000);
  EXPECT_EQ(f.doc.Tree().count, nodes);
  EXPECT_EQ(urls.size(), 50000u) << "an address was added twice";
  EXPECT_EQ(takenInTree, static_cast<int>(all.size()));
  EXPECT_EQ(pending + takenInTree, nodes) << "a node was lost";
  EXPECT_EQ(f.observer.added.size(), 50000u);
}

TEST(Concurrency, WorkersAddAndTakeWithTheUrlMap) {
  RunWorkers(true);
}

}  // namespace
}  // namespace qn
