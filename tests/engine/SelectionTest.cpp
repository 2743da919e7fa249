#include <gtest/gtest.h>

#include "engine/DocFixture.h"

namespace qn {
namespace {

using Order = std::vector<std::string>;

TEST(Selection, LowestLevelFirstThenTreeOrder) {
  test::DocFixture f;
  CQNDocNode* a = f.Node(nullptr, "http://h/a", 2);
  f.Node(a, "http://h/c", 3);
  f.Node(a, "http://h/d", 1);
  f.Node(nullptr, "http://h/b", 1);
  // The level-3 page is alone in the end and still comes, from the second pass.
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/d", "http://h/b", "http://h/a", "http://h/c"}));
  EXPECT_EQ(f.doc.TakeNextLink(), nullptr);
  EXPECT_EQ(a->state, kStateTaken);
}

TEST(Selection, NegativeKeysComeLastNearestToZeroFirst) {
  test::DocFixture f;
  f.Node(nullptr, "http://h/x", kUnset, -3);  // no level: the site position is the key
  f.Node(nullptr, "http://h/y", 5);
  f.Node(nullptr, "http://h/z", kUnset, -1);
  f.Node(nullptr, "http://h/w", kUnset, -1);
  f.Node(nullptr, "http://h/u", kUnset, kUnset);
  EXPECT_EQ(f.TakeAll(),
            (Order{"http://h/y", "http://h/u", "http://h/z", "http://h/w", "http://h/x"}));
}

TEST(Selection, SkipsNodesTheFiltersRefuse) {
  test::DocFixture f;
  f.settings.QN_LIM_L = 1;
  f.settings.QN_MAX_L = 1;
  f.Node(nullptr, "http://other/a.htm", 0, kOffsiteBase - 1);  // QN_OFFSITE is 0
  f.Node(nullptr, "http://h/deep.htm", 2);                     // beyond QN_MAX_L
  f.Node(nullptr, "http://h/img.gif", 2, 0, kCatImage);        // files go one level deeper
  CQNDocNode* unwanted = f.Node(nullptr, "http://h/x.exe", 0, 0, kCatOther);
  unwanted->wanted = 0;
  f.Node(nullptr, "http://h/ok.htm", 1);
  CQNDocNode* done = f.Node(nullptr, "http://h/done.htm", 0);
  done->state = kStateDone;
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/ok.htm", "http://h/img.gif"}));
}

TEST(Selection, DownPrefersShallowDirectoriesAndNeverGoesAbove) {
  test::DocFixture f;
  f.settings.QN_DOWN = 1;
  f.Node(nullptr, "http://h/sub/p.htm", 0, 1);  // the key is the site position, not the level
  f.Node(nullptr, "http://h/q.htm", 5, 0);
  CQNDocNode* above = f.Node(nullptr, "http://h/n.htm", 1, -1);
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/q.htm", "http://h/sub/p.htm"}));
  EXPECT_EQ(above->state, kStatePending);
}

TEST(Selection, DownTakesAnAddressAnIncludingFilterAdmits) {
  test::DocFixture f;
  f.settings.QN_DOWN = 1;
  f.settings.QN_URL_FILTER.push_back({1, 15, "", "", "n.htm"});
  f.Node(nullptr, "http://h/sub/p.htm", 1, 1);
  f.Node(nullptr, "http://h/q.htm", 1, 0);
  CQNDocNode* above = f.Node(nullptr, "http://h/n.htm", 1, -2);
  // The admitted address goes as soon as the walk meets it, whatever its key.
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/q.htm", "http://h/n.htm", "http://h/sub/p.htm"}));
  EXPECT_EQ(above->mark, kMarkNone);
}

TEST(Selection, BranchRunStaysInsideTheBranch) {
  test::DocFixture f;
  CQNDocNode* outside = f.Node(nullptr, "http://h/out", 0);
  CQNDocNode* branch = f.Node(nullptr, "http://h/branch", 1);
  f.Node(branch, "http://h/b2", 3);
  f.Node(branch, "http://h/b1", 2);
  f.doc.SetBranch(branch);
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/branch", "http://h/b1", "http://h/b2"}));
  EXPECT_EQ(outside->state, kStatePending);

  // QN_DOWN does not lift the branch limit.
  f.settings.QN_DOWN = 1;
  f.doc.SetStates(kStatePending, kStateAny);
  EXPECT_EQ(f.TakeAll().size(), 3u);
  EXPECT_EQ(outside->state, kStatePending);

  // The root as branch means no limit.
  f.doc.SetBranch(f.Root());
  EXPECT_EQ(f.doc.Branch(), nullptr);
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/out"}));
}

TEST(Selection, SelectedAndFailedRunsTakeMarkedNodesInTreeOrder) {
  test::DocFixture f;
  f.settings.QN_LIM_L = 1;
  f.settings.QN_MAX_L = 0;
  CQNDocNode* deep = f.Node(nullptr, "http://other/deep", 9, kOffsiteBase - 3);
  CQNDocNode* plain = f.Node(nullptr, "http://h/plain", 0);
  CQNDocNode* failed = f.Node(nullptr, "http://h/failed", 1);
  CQNDocNode* done = f.Node(nullptr, "http://h/done", 1);
  deep->mark = kMarkSelected;
  failed->mark = kMarkSelected;
  failed->state = kStateFailed;
  done->state = kStateDone;
  done->mark = kMarkSelected;

  // Kind 4: every node marked 1, whatever its state, level or server.
  f.doc.SetDownloadKind(kKindSelected);
  EXPECT_EQ(f.TakeAll(), (Order{"http://other/deep", "http://h/failed", "http://h/done"}));
  EXPECT_EQ(deep->mark, kMarkNone);
  EXPECT_EQ(plain->state, kStatePending);

  // Kind 8: failed nodes marked at the start of the run.
  deep->state = kStateFailed;
  failed->state = kStateFailed;
  done->state = kStateDone;
  f.doc.SetMarks(kStateFailed, kMarkSelected);
  done->mark = kMarkSelected;
  f.doc.SetDownloadKind(kKindFailed);
  EXPECT_EQ(f.TakeAll(), (Order{"http://other/deep", "http://h/failed"}));
  EXPECT_EQ(done->mark, kMarkSelected);
}

TEST(Selection, LinkOrderOneTakesTreeOrder) {
  test::DocFixture f;
  f.settings.LinkOrder = 1;
  CQNDocNode* a = f.Node(nullptr, "http://h/a", 3);
  f.Node(a, "http://h/a1", 4);
  f.Node(nullptr, "http://other/x", 0, kOffsiteBase);
  f.Node(nullptr, "http://h/b", 0);
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/a", "http://h/a1", "http://h/b"}));
}

TEST(Selection, EmptyTreeAndSlowSpeed) {
  test::DocFixture f;
  EXPECT_EQ(f.doc.TakeNextLink(), nullptr);
  f.doc.ClearTree();
  EXPECT_EQ(f.doc.TakeNextLink(), nullptr);
  EXPECT_EQ(f.observer.cleared, 1);

  // A slow speed pauses the walk every 1000 nodes but changes nothing in the order.
  f.doc.CreateRoot();
  for (int i = 0; i < 1500; ++i) f.Node(nullptr, "http://h/" + std::to_string(i), 2)->state = 1;
  f.Node(nullptr, "http://h/last", 1);
  f.doc.speedLevel = 9;
  EXPECT_EQ(f.TakeAll(), (Order{"http://h/last"}));
}

}  // namespace
}  // namespace qn
