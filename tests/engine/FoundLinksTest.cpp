#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/DocFixture.h"
#include "records/TreeWalk.h"
#include "web/Address.h"

namespace qn {
namespace {

std::vector<QNFoundLink> Links(std::initializer_list<std::string> texts, int tag = 3) {
  std::vector<QNFoundLink> links;
  for (const std::string& t : texts) links.push_back({t, tag});
  return links;
}

std::vector<std::string> ChildUrls(const CQNDocNode* page) {
  std::vector<std::string> urls;
  for (const CQNDocNode* c = page->firstChild; c; c = c->nextSibling) urls.push_back(c->url);
  return urls;
}

class FoundLinks : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    f.settings.QN_FASTPARSE = GetParam() ? 1 : 0;
    page = f.Node(nullptr, "http://h/dir/index.htm", 2, 0);
    if (GetParam()) f.doc.BuildUrlMap();
    ASSERT_EQ(f.doc.HasUrlMap(), GetParam());
  }
  void Add(CQNDocNode* from, const std::vector<QNFoundLink>& links) {
    f.doc.AddFoundLinks(from, GetBaseDirectory(from->url), links);
  }
  test::DocFixture f;
  CQNDocNode* page = nullptr;
};

TEST_P(FoundLinks, AddressesAreAddedOnce) {
  Add(page, Links({"a.htm", "a.htm#part", "http://h/dir/a.htm/", "HTTP://H/DIR/A.HTM", "sub/",
                   "sub", "mailto:me@h", "javascript:go()", "", "#top"}));
  EXPECT_EQ(ChildUrls(page),
            (std::vector<std::string>{"http://h/dir/a.htm", "http://h/dir/sub/", "http://h/dir/"}));
  // A known address is found again from another page, with or without the map.
  CQNDocNode* other = f.Node(nullptr, "http://h/other.htm", 1, -1);
  Add(other, Links({"dir/a.htm", "/dir/sub"}));
  EXPECT_EQ(other->firstChild, nullptr);
  EXPECT_EQ(f.doc.FindNodeByUrl("http://h/dir/a.htm#x", true), page->firstChild);
  EXPECT_EQ(f.doc.FindNodeByUrl("http://h/dir/sub", false), page->firstChild->nextSibling);
  EXPECT_EQ(f.observer.added.size(), 3u);
  EXPECT_EQ(f.doc.Tree().count, 5);
}

TEST_P(FoundLinks, KindTypeTitleAndLevels) {
  Add(page, Links({"p.htm", "pic.GIF", "s.js", "m.swf", "x.exe", "data.dat", "http://far/x.htm",
                   "../up.htm"}));
  Add(page, Links({"frame.htm"}, kTagFrameSrc));
  struct Expect {
    int kind, type, level;
    std::string title;
  };
  const std::vector<Expect> expected = {
      {kNodeFolder, kCatHtml, 3, "p.htm"},    {kNodeLink, kCatImage, 3, "pic.GIF"},
      {kNodeFolder, kCatJava, 3, "s.js"},     {kNodeFolder, kCatOther, 3, "m.swf"},
      {kNodeLink, kCatOther, 3, "x.exe"},     {kNodeLink, kCatNone, 3, "data.dat"},
      {kNodeFolder, kCatHtml, 0, "x.htm"},    {kNodeFolder, kCatHtml, 3, "up.htm"},
      {kNodeFolder, kCatHtml, 2, "frame.htm"}};
  std::size_t i = 0;
  for (const CQNDocNode* c = page->firstChild; c; c = c->nextSibling, ++i) {
    ASSERT_LT(i, expected.size());
    SCOPED_TRACE(c->url);
    EXPECT_EQ(c->kind, expected[i].kind);
    EXPECT_EQ(c->type, expected[i].type);
    EXPECT_EQ(c->level, expected[i].level);
    EXPECT_EQ(c->title, expected[i].title);
    EXPECT_EQ(c->wanted, 1);
    EXPECT_EQ(c->state, kStatePending);
  }
  EXPECT_EQ(i, expected.size());
  const CQNDocNode* offsite = f.doc.FindNodeByUrl("http://far/x.htm", GetParam());
  ASSERT_NE(offsite, nullptr);
  EXPECT_LE(offsite->sitePos, kOffsiteBase);
  EXPECT_EQ(f.doc.FindNodeByUrl("http://h/dir/p.htm", GetParam())->sitePos, 1);
  EXPECT_EQ(f.doc.FindNodeByUrl("http://h/up.htm", GetParam())->sitePos, 0);

  // An off-site page passes its level on, a link back to the start server too;
  // a page on the start server sends off-site links back to level 0.
  CQNDocNode* far = f.doc.FindNodeByUrl("http://far/x.htm", GetParam());
  Add(far, Links({"y.htm", "http://h/back.htm"}));
  EXPECT_EQ(f.doc.FindNodeByUrl("http://far/y.htm", GetParam())->level, 1);
  EXPECT_EQ(f.doc.FindNodeByUrl("http://h/back.htm", GetParam())->level, 1);
}

TEST_P(FoundLinks, BaseTagRedirectsTheFollowingLinks) {
  Add(page,
      {{"before.htm", kTagAnchor}, {"http://h/base/", kTagBaseHref}, {"after.htm", kTagAnchor}});
  EXPECT_EQ(ChildUrls(page),
            (std::vector<std::string>{"http://h/dir/before.htm", "http://h/base/after.htm"}));
}

TEST_P(FoundLinks, PendingTitlesAreRefreshed) {
  Add(page, Links({"a.htm", "b.htm"}));
  CQNDocNode* a = page->firstChild;
  CQNDocNode* b = a->nextSibling;
  b->state = kStateDone;
  CQNDocNode* other = f.Node(nullptr, "http://h/o.htm", 1);
  Add(other, Links({"dir/A.htm", "./dir/b.htm"}));
  EXPECT_EQ(other->firstChild, nullptr);
  EXPECT_EQ(a->title, "A.htm");
  EXPECT_EQ(b->title, "b.htm");
}

TEST_P(FoundLinks, SeamsForLocalNamesAndContentProbe) {
  std::vector<std::string> named;
  f.doc.SetLocalNamer([&](const std::string& address, bool page) {
    named.push_back(address + (page ? " as a page" : ""));
    const std::string name = GetFileName(address);
    return "/dl/" + (name.empty() ? std::string(page ? "default.htm" : "default.") : name);
  });
  std::vector<std::string> asked;
  const CQNDoc::ContentProbeFn probe = [&](const std::string& address) {
    asked.push_back(address);
    return address.ends_with(".dat") || address.ends_with("/pic/") ? kCatImage : kCatNone;
  };
  f.doc.AddFoundLinks(page, "http://h/dir/", Links({"folder/", "thing.dat"}), probe);
  // Without a run the server is not asked: a name that tells nothing is taken as the
  // page's name tells it.
  EXPECT_EQ(named, (std::vector<std::string>{
                       "http://h/dir/folder/", "http://h/dir/folder/ as a page",
                       "http://h/dir/thing.dat", "http://h/dir/thing.dat as a page"}));
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(page->firstChild->type, kCatHtml);
  EXPECT_EQ(page->firstChild->nextSibling->type, kCatNone);

  f.doc.run.running = true;
  f.doc.AddFoundLinks(page, "http://h/dir/",
                      Links({"other.dat", "other.dat", "known.htm", "pic/", "quiet/"}), probe);
  EXPECT_EQ(asked, (std::vector<std::string>{"http://h/dir/other.dat", "http://h/dir/pic/",
                                             "http://h/dir/quiet/"}));
  const CQNDocNode* probed = f.doc.FindNodeByUrl("http://h/dir/other.dat", GetParam());
  ASSERT_NE(probed, nullptr);
  EXPECT_EQ(probed->type, kCatImage);
  EXPECT_EQ(probed->kind, kNodeLink);
  // A folder address is what the server says it is; when it says nothing, a page.
  const CQNDocNode* picture = f.doc.FindNodeByUrl("http://h/dir/pic/", GetParam());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->type, kCatImage);
  const CQNDocNode* quiet = f.doc.FindNodeByUrl("http://h/dir/quiet/", GetParam());
  ASSERT_NE(quiet, nullptr);
  EXPECT_EQ(quiet->type, kCatHtml);
  EXPECT_EQ(quiet->kind, kNodeFolder);
  f.doc.run.running = false;
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutUrlMap, FoundLinks, ::testing::Bool());

TEST(FoundLinksLimit, AFullTreeRefusesNewLinks) {
  test::DocFixture f;
  CQNDocNode* page = f.Node(nullptr, "http://h/index.htm", 0);
  for (int i = 1; i < kMaxNodes; ++i) f.doc.Tree().AddLink(f.Root(), true, "");
  ASSERT_EQ(f.doc.Tree().count, kMaxNodes);
  f.doc.AddFoundLinks(page, "http://h/", Links({"new.htm"}));
  EXPECT_EQ(page->firstChild, nullptr);
  EXPECT_EQ(f.doc.AddLink(page, true), nullptr);
  EXPECT_EQ(f.doc.AddFolder(nullptr, true), nullptr);
  EXPECT_EQ(f.doc.Tree().count, kMaxNodes);
}

TEST(StartNodes, NthStartAddressIsNthChildOfTheRoot) {
  test::DocFixture f;
  f.settings.QN_FASTPARSE = 1;
  f.doc.BuildUrlMap();
  EXPECT_EQ(f.doc.AddStartNode("mailto:me@h", "/dl/x.htm"), nullptr);

  CQNDocNode* first = f.doc.AddStartNode("http://h/", "/dl/h/index.htm");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->kind, kNodeFolder);
  EXPECT_EQ(first->type, kCatHtml);
  EXPECT_EQ(first->title, "index.htm");
  EXPECT_EQ(first->level, 0);
  EXPECT_EQ(first->sitePos, 0);
  EXPECT_EQ(first->localFile, "/dl/h/index.htm");
  EXPECT_EQ(first->state, kStateTaken);
  EXPECT_EQ(f.doc.AddStartNode("http://h", "/dl/h/index.htm"), first);
  EXPECT_EQ(f.doc.FindNodeByUrl("http://h/", true), first);

  f.doc.SetCurrentStart(1, "http://k/pics/");
  CQNDocNode* second = f.doc.AddStartNode("http://k/pics/a.gif", "/dl/k/a.gif");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->kind, kNodeLink);
  EXPECT_EQ(f.doc.Tree().ChildByPosition(2), second);
  EXPECT_EQ(f.observer.added.size(), 2u);
}

TEST(DocTreeOperations, UserNodesDeletesAndNotifications) {
  test::DocFixture f;
  CQNDocNode* page = f.Node(nullptr, "http://h/", 2);
  CQNDocNode* atRoot = f.doc.AddLink(f.Root(), true);
  CQNDocNode* inside = f.doc.AddFolder(page, true);
  EXPECT_EQ(atRoot->level, 0);
  EXPECT_EQ(inside->level, 3);
  EXPECT_TRUE(f.doc.modified);

  f.doc.NodeChanged(nullptr);
  f.doc.NodeChanged(page);
  EXPECT_EQ(f.observer.changed, (std::vector<QNNodeId>{NodeIdOf(*page)}));

  f.doc.run.running = true;
  EXPECT_FALSE(f.doc.DeleteNode(inside, false));
  f.doc.run.running = false;
  f.doc.SetBranch(inside);
  EXPECT_TRUE(f.doc.DeleteNode(page, false));
  EXPECT_EQ(f.doc.Branch(), nullptr);  // the branch went with its page
  EXPECT_FALSE(f.doc.DeleteNode(f.Root(), false));
  EXPECT_EQ(f.doc.Tree().count, 1);
}

TEST(DocTreeOperations, StatisticsUseTheRunCountersWhileRunning) {
  test::DocFixture f;
  CQNDocNode* page = f.Node(nullptr, "http://h/", 0);
  page->state = kStateDone;
  page->size = 10;
  f.doc.CountFile();
  f.doc.CountFile();
  f.doc.CountBytes(5000);
  EXPECT_EQ(f.doc.Statistics().done, 1);
  EXPECT_EQ(f.doc.Statistics().bytes, 10);
  f.doc.run.running = true;
  EXPECT_EQ(f.doc.Statistics().done, 2);
  EXPECT_EQ(f.doc.Statistics().bytes, 5000);
  f.doc.run.running = false;
  f.doc.ResetCounters();
  EXPECT_EQ(f.doc.Counters().files, 0);

  page->state = kStateFailed;
  page->mark = kMarkSelected;
  const QNStartModeStats start = f.doc.StartModeStatistics();
  EXPECT_EQ(start.failed, 1);
  EXPECT_EQ(start.marked, 1);
  EXPECT_FALSE(start.anyOpen);
}

}  // namespace
}  // namespace qn
