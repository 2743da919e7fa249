// The queue against the selection walk: at every take, the node the queue hands out
// must be the one the walk would take from the same tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/DocFixture.h"
#include "engine/Selection.h"
#include "records/TreeWalk.h"
#include "web/Address.h"

namespace qn {
namespace {

// What the walk takes from `tree` as it stands. The walk marks the node it takes
// and may mark nodes it looks at; all of that is undone, so the tree is left as the
// queue knows it.
CQNDocNode* WalkChoice(const CQNDocTree& tree, const CQNSettings& settings,
                       const QNFilterScope& scope, CQNDocNode* branch) {
  if (!tree.root) return nullptr;
  struct Saved {
    CQNDocNode* node;
    int state, mark;
  };
  std::vector<Saved> saved;
  for (CQNDocNode* n : PreOrder(tree.root)) saved.push_back({n, n->state, n->mark});
  CQNDocNode* taken = TakeBySelectionWalk({tree, settings, scope, branch, 10});
  for (const Saved& s : saved) {
    if (s.node->state != s.state) s.node->state = s.state;
    if (s.node->mark != s.mark) s.node->mark = s.mark;
  }
  return taken;
}

std::vector<CQNDocNode*> AllNodes(CQNDocTree& tree) {
  std::vector<CQNDocNode*> nodes;
  for (CQNDocNode* n : PreOrder(tree.root))
    if (n != tree.root) nodes.push_back(n);
  return nodes;
}

const char* const kServers[] = {"http://h/", "http://h/", "http://h/", "http://other1/",
                                "http://other2/"};
const char* const kFolders[] = {"", "d1/", "d1/", "d1/e/", "d1/e/f/", "d2/"};
const char* const kFiles[] = {"p%d.htm", "p%d.htm", "i%d.gif", "x%d.exe", "z%d", "s%d.js"};
const char* const kStarts[] = {"http://h/d1/index.htm", "http://h/", "http://other1/d1/"};

// Random trees and random sequences of everything that changes what the walk
// chooses: links found on pages, user nodes, start nodes, takes and their outcomes
// (done, failed, retried, stopped), marks, bulk changes, moves, deletions, settings,
// download kinds, previews, start addresses and branches.
class RandomRun {
 public:
  explicit RandomRun(unsigned seed) : rng_(seed) {
    f_.settings.QN_FASTPARSE = 0;
    f_.doc.SetCurrentStart(0, kStarts[0]);
    f_.doc.AddStartNode(kStarts[0], "/tmp/qn/index.htm");
    ReadNodes();
  }

  void Play(int steps) {
    using Step = void (RandomRun::*)();
    // Each kind of step with its weight in a hundred.
    static constexpr std::pair<int, Step> kSteps[] = {
        {43, &RandomRun::Take},       {20, &RandomRun::AddLinks},      {15, &RandomRun::Finish},
        {5, &RandomRun::MarkOne},     {5, &RandomRun::ChangeSettings}, {4, &RandomRun::ChangeScope},
        {3, &RandomRun::AddUserNode}, {2, &RandomRun::BulkChange},     {2, &RandomRun::MoveOne},
        {1, &RandomRun::DeleteOne},
    };
    for (step_ = 0; step_ < steps && !HasFailure(); ++step_) {
      int pick = Uniform(0, 99);
      for (const auto& [weight, run] : kSteps) {
        if (pick < weight) {
          (this->*run)();
          break;
        }
        pick -= weight;
      }
    }
    // In the end both agree that nothing is left, whatever the settings.
    while (!HasFailure() && TakeAndCompare()) {
    }
  }

  int takes = 0;

 private:
  static bool HasFailure() { return ::testing::Test::HasFailure(); }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  CQNDocNode* AnyNode() {
    const std::vector<CQNDocNode*> nodes = AllNodes(f_.doc.Tree());
    if (nodes.empty()) return nullptr;
    return nodes[static_cast<std::size_t>(Uniform(0, static_cast<int>(nodes.size()) - 1))];
  }

  std::string AnyAddress() {
    char file[32];
    std::snprintf(file, sizeof file, kFiles[Uniform(0, 5)], Uniform(0, 60));
    return std::string(kServers[Uniform(0, 4)]) + kFolders[Uniform(0, 5)] + file;
  }

  // Nodes as a project file of an older run gives them: any state, often without a
  // level, so that the site position (negative ones too) is their key.
  void ReadNodes() {
    CQNDocTree& tree = f_.doc.Tree();
    for (int i = Uniform(0, 120); i > 0; --i) {
      CQNDocNode* parent = Uniform(0, 3) == 0 ? tree.root : AnyNode();
      CQNDocNode* node = tree.AddFolder(parent ? parent : tree.root, true);
      node->url = AnyAddress();
      node->type = Uniform(0, 2) ? kCatHtml : kCatImage;
      const int levels[] = {kUnset, kUnset, 0, 1, 2, 4};
      node->level = levels[Uniform(0, 5)];
      const int positions[] = {kUnset, -3, -1, 0, 0, 1, 2, kOffsiteBase, kOffsiteBase - 2};
      node->sitePos = positions[Uniform(0, 8)];
      const int states[] = {kStatePending, kStatePending, kStatePending,
                            kStateTaken,   kStateDone,    kStateFailed};
      node->state = states[Uniform(0, 5)];
    }
  }

  void Take() { TakeAndCompare(); }

  bool TakeAndCompare() {
    const CQNDocNode* expected =
        WalkChoice(f_.doc.Tree(), f_.settings, f_.doc.FilterScope(), f_.doc.Branch());
    CQNDocNode* taken = f_.doc.TakeNextLink();
    EXPECT_EQ(taken, expected) << "step " << step_ << ": took " << (taken ? taken->url : "nothing")
                               << ", the walk " << (expected ? expected->url : "nothing");
    if (!taken) return false;
    EXPECT_EQ(taken->state, kStateTaken);
    held_.push_back(taken);
    ++takes;
    return true;
  }

  void AddLinks() {
    if (f_.doc.Tree().count > 400) return;
    CQNDocNode* page = AnyNode();
    if (!page) return;
    std::vector<QNFoundLink> links;
    for (int i = Uniform(0, 8); i > 0; --i)
      links.push_back({AnyAddress(), Uniform(0, 9) == 0 ? kTagFrameSrc : 3});
    f_.doc.AddFoundLinks(page, GetBaseDirectory(page->url), links);
  }

  // One held node ends as a worker ends it.
  void Finish() {
    if (held_.empty()) return;
    const auto i = static_cast<std::size_t>(Uniform(0, static_cast<int>(held_.size()) - 1));
    CQNDocNode* node = held_[i];
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
    switch (Uniform(0, 3)) {
      case 0:
        node->state = kStateDone;
        break;
      case 1:
        f_.doc.SetNodeState(node, kStateFailed);
        break;
      case 2: {
        ++node->tries;
        const int kind = f_.doc.DownloadKind();
        if (kind == kKindSelected || kind == kKindFailed) node->mark = kMarkSelected;
        f_.doc.SetNodeState(node, kStatePending);
        break;
      }
      default:
        f_.doc.SetNodeState(node, kStatePending);
        break;
    }
  }

  void MarkOne() {
    if (CQNDocNode* node = AnyNode()) f_.doc.SetNodeMark(node, Uniform(0, 1));
  }

  void ChangeSettings() {
    CQNSettings& s = f_.settings;
    switch (Uniform(0, 8)) {
      case 0:
      case 1:
        s.QN_DOWN = !s.QN_DOWN;
        break;
      case 2:
        s.LinkOrder = Uniform(0, 4) == 0 ? 1 : 0;
        break;
      case 3:
        s.QN_OFFSITE = !s.QN_OFFSITE;
        break;
      case 4: {
        const int types[] = {kAllCategories, kCatHtml | kCatImage, kCatImage, kCatHtml | kCatOther};
        s.QN_FILE_TYPES = types[Uniform(0, 3)];
        break;
      }
      case 5:
        s.QN_LIM_L = Uniform(0, 1);
        s.QN_MAX_L = Uniform(0, 4);
        break;
      case 6:
        s.QN_LIM_OL = Uniform(0, 1);
        s.QN_MAX_OL = Uniform(0, 2);
        break;
      case 7:
        s.QN_DETPREV = !s.QN_DETPREV;
        break;
      default: {
        const std::vector<std::vector<CQNUrlFilter>> filters = {
            {},
            {{1, 15, "other1", "", ""}},
            {{0, 15, "", "d1/e", ""}, {1, 15, "", "", "*.gif"}},
            {{1, 1, "", "", "p1*.htm"}, {0, 15, "other2", "", ""}},
        };
        s.QN_URL_FILTER = filters[static_cast<std::size_t>(Uniform(0, 3))];
        break;
      }
    }
  }

  void ChangeScope() {
    switch (Uniform(0, 3)) {
      case 0: {
        const int kinds[] = {kKindNew, kKindNew, kKindContinue, kKindSelected, kKindFailed};
        f_.doc.SetDownloadKind(kinds[Uniform(0, 4)]);
        break;
      }
      case 1:
        f_.doc.SetPreview(Uniform(0, 2) == 0);
        break;
      case 2:
        f_.doc.SetBranch(Uniform(0, 2) == 0 ? AnyNode() : nullptr);
        break;
      default: {
        const int index = Uniform(0, 2);
        f_.doc.SetCurrentStart(index, kStarts[index]);
        break;
      }
    }
  }

  void AddUserNode() {
    CQNDocNode* ref = Uniform(0, 4) == 0 ? nullptr : AnyNode();
    const bool into = Uniform(0, 1) == 0;
    if (Uniform(0, 1)) {
      f_.doc.AddFolder(ref, into);
    } else {
      f_.doc.AddLink(ref, into);
    }
  }

  void BulkChange() {
    switch (Uniform(0, 2)) {
      case 0:
        f_.doc.SetStates(kStatePending, kStateAny);
        break;
      case 1:
        f_.doc.SetStates(kStatePending, kStateTaken);
        break;
      default:
        f_.doc.SetMarks(kStateFailed, kMarkSelected);
        break;
    }
    held_.clear();
  }

  void MoveOne() {
    CQNDocNode* node = AnyNode();
    CQNDocNode* after = AnyNode();
    if (node && after) f_.doc.MoveNode(node, after);
  }

  void DeleteOne() {
    CQNDocNode* node = AnyNode();
    if (!node || node->parent == f_.doc.Tree().root) return;
    for (CQNDocNode* gone : PreOrder(node)) std::erase(held_, gone);
    f_.doc.DeleteNode(node, false);
  }

  std::mt19937 rng_;
  int step_ = 0;
  test::DocFixture f_;
  std::vector<CQNDocNode*> held_;  // taken and not yet finished
};

TEST(SelectionQueue, ChoosesAsTheWalkOverRandomRuns) {
  int takes = 0;
  for (unsigned seed = 1; seed <= 120 && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomRun run(seed);
    run.Play(1500);
    takes += run.takes;
  }
  // The runs do reach deep into the queue, not only its first nodes.
  EXPECT_GT(takes, 30000);
}

// Workers add the links of the pages they take, give some back (a retry, a stop)
// and fail others, all at once, while the settings change now and then. Each take
// holds the tree lock, so no link is added between the walk's view and the take.
TEST(SelectionQueue, ChoosesAsTheWalkWhileThreadsAddAndTake) {
  constexpr int kThreads = 6;
  constexpr int kTakesPerThread = 250;
  test::DocFixture f;
  f.settings.QN_OFFSITE = 1;
  f.doc.SetCurrentStart(0, "http://h/index.htm");
  CQNDocNode* start = f.doc.AddStartNode("http://h/index.htm", "/tmp/qn/index.htm");
  std::atomic<int> mismatches{0};
  std::atomic<int> taken{0};
  std::mutex settingsMutex;

  auto worker = [&](int t) {
    std::mt19937 rng(static_cast<unsigned>(t) + 7);
    auto uniform = [&](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(rng);
    };
    CQNDocNode* page = start;
    for (int i = 0; i < kTakesPerThread; ++i) {
      std::vector<QNFoundLink> links;
      for (int k = uniform(1, 6); k > 0; --k) {
        const std::string folder = kFolders[uniform(0, 5)];
        links.push_back(
            {"http://h/" + folder + "p" + std::to_string(uniform(0, 3000)) + ".htm", 3});
      }
      if (f.doc.NodeCount() < 3000) f.doc.AddFoundLinks(page, "http://h/", links);
      if (uniform(0, 40) == 0) {
        std::lock_guard lock(settingsMutex);
        CQNSettings changed = f.doc.SettingsCopy();
        changed.QN_DOWN = !changed.QN_DOWN;
        changed.QN_LIM_L = uniform(0, 1);
        changed.QN_MAX_L = uniform(3, 8);
        f.doc.ApplyChangedSettings(changed);
      }
      const QNFilterScope scope = f.doc.FilterScope();
      CQNDocNode* node = nullptr;
      {
        auto tree = f.doc.Locks().Hold(DocLock::Tree);
        const CQNDocNode* expected = WalkChoice(f.doc.Tree(), f.settings, scope, nullptr);
        node = f.doc.TakeNextLink();
        if (node != expected) ++mismatches;
      }
      if (!node) continue;
      ++taken;
      const int outcome = uniform(0, 5);
      if (outcome < 2) {
        // Under the tree lock, like the takes: a node given back between the walk's
        // view and a take would change the choice.
        auto tree = f.doc.Locks().Hold(DocLock::Tree);
        f.doc.SetNodeState(node, outcome == 0 ? kStatePending : kStateFailed);
      } else {
        node->state = kStateDone;
        page = node;
      }
    }
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(worker, t);
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(taken, kThreads * kTakesPerThread / 2);
}

}  // namespace
}  // namespace qn
