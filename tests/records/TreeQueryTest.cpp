#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/DocTree.h"
#include "records/TreeFiles.h"
#include "records/TreeStats.h"
#include "settings/FileTypes.h"
#include "support/TempDir.h"

namespace qn {
namespace {

CQNDocNode* Add(CQNDocTree& tree, CQNDocNode* parent, const std::string& title,
                const std::string& url = "") {
  CQNDocNode* node = tree.AddFolder(parent, true);
  node->title = title;
  node->url = url;
  return node;
}

TEST(TreeQuery, FindByUrlToleratesOneTrailingSeparatorOnly) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* dir = Add(tree, root, "dir", "http://a/b/");
  CQNDocNode* page = Add(tree, dir, "page", "http://a/B/page.htm");

  EXPECT_EQ(tree.FindByUrl("http://a/b"), dir);
  EXPECT_EQ(tree.FindByUrl("HTTP://A/B/"), dir);
  EXPECT_EQ(tree.FindByUrl("http://a/bc"), nullptr);
  EXPECT_EQ(tree.FindByUrl("http://a/b/page.htm"), page);
  EXPECT_EQ(tree.FindByUrl(""), nullptr);
  CQNDocTree empty;
  EXPECT_EQ(empty.FindByUrl("http://a/b"), nullptr);
}

TEST(TreeQuery, FindTextFlagsAndDirections) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("Project");
  CQNDocNode* a = Add(tree, root, "Start art", "http://h/art.htm");
  CQNDocNode* b = Add(tree, a, "Modern Art", "http://h/modern.htm");
  CQNDocNode* c = Add(tree, root, "art gallery", "http://h/x.htm");
  c->localFile = "/tmp/site/gallery.htm";

  // Whole words look at the first occurrence only: "Start art" holds "art" inside
  // "Start" first, so it does not match.
  EXPECT_EQ(tree.FindText(root, "art", kFindTitles | kFindWholeWord, true), b);
  EXPECT_EQ(tree.FindText(root, "art", kFindTitles, true), a);
  EXPECT_EQ(tree.FindText(root, "art", kFindTitles | kFindMatchCase | kFindWholeWord, true), c);
  EXPECT_EQ(tree.FindText(root, "ART", kFindTitles | kFindMatchCase, true), nullptr);
  EXPECT_EQ(tree.FindText(root, "modern", kFindUrls, true), b);
  EXPECT_EQ(tree.FindText(root, "gallery.htm", kFindLocalFiles, true), c);
  EXPECT_EQ(tree.FindText(root, "gallery.htm", kFindTitles | kFindUrls, true), nullptr);

  // Forward finds only nodes after the start, without wrapping round.
  EXPECT_EQ(tree.FindText(b, "art", kFindTitles, true), c);
  EXPECT_EQ(tree.FindText(c, "art", kFindTitles, true), nullptr);
  // Backward finds nodes before the start, down to the root; from the root nothing.
  EXPECT_EQ(tree.FindText(c, "art", kFindTitles, false), b);
  EXPECT_EQ(tree.FindText(a, "project", kFindTitles, false), root);
  EXPECT_EQ(tree.FindText(root, "project", kFindTitles, false), nullptr);
  EXPECT_EQ(tree.FindText(nullptr, "art", kFindTitles, false), c);
  EXPECT_EQ(tree.FindText(root, "", kFindTitles, true), nullptr);
}

TEST(TreeQuery, BulkChangesOverTreeOrBranch) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* branch = Add(tree, root, "branch");
  CQNDocNode* inside = Add(tree, branch, "inside");
  CQNDocNode* sibling = Add(tree, root, "sibling");
  branch->state = kStateTaken;
  inside->state = kStateFailed;
  inside->tries = 3;
  sibling->state = kStateTaken;
  sibling->tries = 2;

  tree.SetStates(branch, kStatePending, kStateTaken);
  EXPECT_EQ(branch->state, kStatePending);
  EXPECT_EQ(inside->state, kStateFailed);
  EXPECT_EQ(sibling->state, kStateTaken);  // outside the branch

  tree.SetMarks(branch, kStateFailed, kMarkSelected);
  EXPECT_EQ(inside->mark, kMarkSelected);
  EXPECT_EQ(inside->tries, 0);

  inside->tries = 4;
  tree.SetStates(nullptr, kStatePending, kStateAny);
  for (const CQNDocNode* n : {root, branch, inside, sibling}) {
    EXPECT_EQ(n->state, kStatePending);
    EXPECT_EQ(n->tries, 0);
  }
  sibling->tries = 1;
  tree.SetStates(nullptr, kStateDone, kStateAny);
  EXPECT_EQ(sibling->tries, 1);  // only a change to pending resets the tries
}

TEST(TreeQuery, Statistics) {
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  root->state = kStateDone;  // the root never counts
  root->size = 1000;
  CQNDocNode* page = Add(tree, root, "page");
  page->type = kCatHtml;
  page->state = kStateDone;
  page->size = 100;
  CQNDocNode* image = Add(tree, page, "image");
  image->type = kCatImage;
  image->state = kStateDone;
  image->size = 20;
  CQNDocNode* failed = Add(tree, page, "failed");
  failed->state = kStateFailed;
  failed->mark = kMarkSelected;
  CQNDocNode* open = Add(tree, page, "open");
  CQNDocNode* page2 = Add(tree, root, "page2");
  page2->type = kCatHtml;

  const QNTreeStats all = TreeStatistics(tree);
  EXPECT_EQ(all.nodes, 5);
  EXPECT_EQ(all.done, 2);
  EXPECT_EQ(all.bytes, 120);
  const QNTreeStats images = TreeStatistics(tree, kCatImage);
  EXPECT_EQ(images.done, 2);
  EXPECT_EQ(images.bytes, 20);
  EXPECT_EQ(images.types, kCatHtml | kCatImage);

  std::vector<CQNDocNode*> asked;
  const QNStartModeStats start = StartModeStatistics(tree, [&](CQNDocNode& n) {
    asked.push_back(&n);
    return &n == page2;
  });
  EXPECT_EQ(start.marked, 1);
  EXPECT_EQ(start.failed, 1);
  EXPECT_TRUE(start.anyOpen);
  EXPECT_EQ(asked, (std::vector<CQNDocNode*>{open, page2}));  // neither done nor failed
  EXPECT_FALSE(StartModeStatistics(tree, [](CQNDocNode&) { return false; }).anyOpen);

  EXPECT_EQ(tree.CountPages(root), 2);
  EXPECT_EQ(tree.CountPages(page), 1);
  EXPECT_EQ(tree.CountPages(image), 0);
}

TEST(TreeQuery, FileWalks) {
  test::TempDir dir;
  CQNDocTree tree;
  CQNDocNode* root = tree.CreateRoot("p");
  CQNDocNode* page = Add(tree, root, "page", "http://h/");
  page->type = kCatHtml;
  page->state = kStateDone;
  page->localFile = (dir / "index.htm").string();
  CQNDocNode* script = Add(tree, page, "script", "http://h/a.js");
  script->type = kCatJava;
  script->state = kStateDone;
  script->localFile = (dir / "a.JS").string();
  CQNDocNode* applet = Add(tree, page, "applet", "http://h/a.class");
  applet->type = kCatJava;
  applet->state = kStateDone;
  applet->localFile = (dir / "a.class").string();
  CQNDocNode* pending = Add(tree, page, "pending", "http://h/b.htm");
  pending->type = kCatHtml;
  Add(tree, root, "user folder");
  for (const CQNDocNode* n : {page, script, applet}) test::WriteFile(n->localFile, "x");

  std::vector<int> percents;
  std::vector<CQNDocNode*> converted;
  EXPECT_TRUE(ForEachConvertible(
      tree,
      [&](int percent) {
        percents.push_back(percent);
        return true;
      },
      [&](CQNDocNode& n) { converted.push_back(&n); }));
  EXPECT_EQ(converted, (std::vector<CQNDocNode*>{page, script}));
  EXPECT_EQ(percents, (std::vector<int>{20, 40, 60, 80, 100, 100}));
  int calls = 0;
  EXPECT_FALSE(ForEachConvertible(
      tree, [&](int) { return ++calls < 2; }, [](CQNDocNode&) {}));
  EXPECT_EQ(calls, 2);

  std::vector<CQNDocNode*> withUrl;
  ForEachUrlNode(tree, [&](CQNDocNode& n) { withUrl.push_back(&n); });
  EXPECT_EQ(withUrl, (std::vector<CQNDocNode*>{page, script, applet, pending}));

  int saved = 0;
  ForEachSavedFile(page, [&](CQNDocNode&) { ++saved; });
  EXPECT_EQ(saved, 3);
  DeleteSavedFiles(script);
  EXPECT_FALSE(std::filesystem::exists(dir / "a.JS"));
  EXPECT_TRUE(script->localFile.empty());
  EXPECT_TRUE(std::filesystem::exists(dir / "index.htm"));
}

}  // namespace
}  // namespace qn
