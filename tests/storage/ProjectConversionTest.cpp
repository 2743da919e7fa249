// A small site laid out on disk as a download leaves it (contents tree and saved
// files), converted for offline browsing and printing, then checked link by link.

#include <gtest/gtest.h>

#include <filesystem>

#include "records/DocTree.h"
#include "seams/Observer.h"
#include "settings/FileTypes.h"
#include "settings/ProjectSettings.h"
#include "storage/LinkChecker.h"
#include "storage/LocalNaming.h"
#include "storage/PrintFolder.h"
#include "storage/ProjectConversion.h"
#include "support/TempDir.h"

namespace qn {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

constexpr const char* kHome =
    "<HTML><HEAD><BASE HREF=\"http://host/\"><TITLE>Home</TITLE></HEAD>\r\n"
    "<A HREF=\"docs/page.htm#part\">page</A> <A HREF=\"http://host/docs/\">docs</A>\r\n"
    "<IMG SRC=\"img/logo.gif\"> <A HREF=\"missing.htm\">missing</A>\r\n"
    "<A HREF=\"http://elsewhere/x.htm\">out</A>\r\n";
constexpr const char* kPage =
    "<A HREF=\"../\">home</A><IMG SRC=\"/img/logo.gif\">\r\n"
    "<SCRIPT SRC=\"../js/app.js\"></SCRIPT>\r\n";
constexpr const char* kScript = "function go() { location = \"/docs/default.htm\"; }\n";
constexpr const char* kPlainScript = "var next = \"/docs/default.htm\";\n";

class SiteTest : public ::testing::Test {
 protected:
  SiteTest() {
    settings.DownloadDir = dir.str();
    // Full folders: both start pages would be the root's default page otherwise.
    settings.QN_DIRSTR = 1;
    settings.QN_START_URL[0] = "http://host/";
    settings.QN_START_URL[1] = "http://second/";
    settings.StartUrlCount = 2;
    naming = QNNamingContext::From(settings, "http://host/", "");
    tree.CreateRoot("Site");
    start = Add(tree.root, "http://host/", kCatHtml, kHome);
    docsPage = Add(start, "http://host/docs/page.htm", kCatHtml, kPage);
    script = Add(docsPage, "http://host/js/app.js", kCatJava, kScript);
    plain = Add(docsPage, "http://host/js/plain.js", kCatJava, kPlainScript);
    Add(start, "http://host/docs/", kCatHtml, "<A HREF=\"page.htm\">page</A>\r\n");
    Add(start, "http://host/img/logo.gif", kCatImage, "GIF89a");
    CQNDocNode* missing = Add(start, "http://host/missing.htm", kCatHtml, nullptr);
    missing->state = kStateFailed;
    gone = Add(start, "http://host/docs/gone.htm", kCatHtml, "<A HREF=\"../\">x</A>");
    fs::remove(gone->localFile);
    naming.startFolder = "http://second/";
    second = Add(tree.root, "http://second/", kCatHtml, "<A HREF=\"http://second/b.htm\">b</A>");
    Add(second, "http://second/b.htm", kCatHtml, "b");
  }

  // A node as a run leaves it: done, with its file saved under its local name.
  CQNDocNode* Add(CQNDocNode* parent, std::string url, int type, const char* content) {
    CQNDocNode* node = tree.NewNode();
    node->kind = type == kCatHtml ? kNodeFolder : kNodeLink;
    node->type = type;
    node->state = kStateDone;
    node->level = parent == tree.root ? 0 : parent->level + 1;
    node->localFile = LocalPathForAddress(url, true, type == kCatHtml, naming);
    node->SetUrl(url);
    if (content) {
      WriteFile(node->localFile, content);
    } else {
      node->localFile.clear();
    }
    tree.InsertLast(node, parent);
    ++tree.count;
    return node;
  }

  test::TempDir dir;
  CQNSettings settings;
  QNNamingContext naming;
  CQNDocTree tree;
  CQNDocNode* start = nullptr;
  CQNDocNode* docsPage = nullptr;
  CQNDocNode* script = nullptr;
  CQNDocNode* plain = nullptr;
  CQNDocNode* gone = nullptr;
  CQNDocNode* second = nullptr;
};

TEST_F(SiteTest, ConvertedCopyBrowsesOffline) {
  const auto stamp = fs::last_write_time(start->localFile) - std::chrono::hours(48);
  fs::last_write_time(start->localFile, stamp);
  std::vector<int> percents;
  const QNConversionResult result = ConvertProject(tree, settings, "", [&](int percent) {
    percents.push_back(percent);
    return true;
  });

  // Home, the docs page, both scripts and the docs folder page; the lost page fails.
  EXPECT_EQ(result.converted, 5);
  EXPECT_EQ(result.failed, 1);
  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(ReadFile(start->localFile),
            "<HTML><HEAD><!--BASE HREF=\"http://host/\"--><TITLE>Home</TITLE></HEAD>\r\n"
            "<A HREF=\"docs/page.htm#part\">page</A> <A HREF=\"docs/default.htm\">docs</A>\r\n"
            "<IMG SRC=\"img/logo.gif\"> <A HREF=\"missing.htm\">missing</A>\r\n"
            "<A HREF=\"http://elsewhere/x.htm\">out</A>\r\n");
  EXPECT_EQ(fs::last_write_time(start->localFile), stamp);
  EXPECT_EQ(ReadFile(docsPage->localFile),
            "<A HREF=\"../default.htm\">home</A><IMG SRC=\"../img/logo.gif\">\r\n"
            "<SCRIPT SRC=\"../js/app.js\"></SCRIPT>\r\n");
  // Relative to the page that loads the script, not to the script's own folder.
  EXPECT_EQ(ReadFile(script->localFile), "function go() { location = \"default.htm\"; }\n");
  EXPECT_EQ(ReadFile(plain->localFile), kPlainScript);
  // Single-address mode: the second start address's branch is not touched.
  EXPECT_EQ(ReadFile(second->localFile), "<A HREF=\"http://second/b.htm\">b</A>");

  // Progress over the tree's node count, once per visited node of the branch.
  ASSERT_EQ(percents.size(), 8u);
  EXPECT_EQ(percents.front(), 10);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 80);

  // The only broken local link is the one the site itself had broken.
  const QNLinkCheck check = CheckLocalLinks(dir.path(), start->localFile, settings);
  EXPECT_EQ(check.pages, 3);
  ASSERT_EQ(check.broken.size(), 1u);
  EXPECT_EQ(check.broken[0].link, "missing.htm");
  EXPECT_EQ(check.broken[0].page, fs::path(start->localFile));
}

TEST_F(SiteTest, EveryStartAddressWithItsOwnStartFolder) {
  settings.QN_SINGLE_URL = 0;
  std::vector<int> percents;
  const QNConversionResult result = ConvertProject(tree, settings, "", [&](int percent) {
    percents.push_back(percent);
    return true;
  });
  EXPECT_EQ(result.converted, 7);
  EXPECT_EQ(ReadFile(second->localFile), "<A HREF=\"b.htm\">b</A>");
  EXPECT_EQ(percents.back(), 100);
}

TEST_F(SiteTest, ARangedStartAddressCoversThePagesItExpandsTo) {
  settings.QN_SINGLE_URL = 0;
  settings.QN_START_URL[2] = "http://third/p{:1-2}.htm";
  settings.StartUrlCount = 3;
  naming.startFolder = "http://third/";
  CQNDocNode* pattern = Add(tree.root, "http://third/p{:1-2}.htm", kCatHtml, nullptr);
  pattern->state = kStateFailed;
  // The download adds the expansions under the root, beside the pattern's node.
  const char* link = "<A HREF=\"http://third/p1.htm\">1</A>";
  CQNDocNode* p1 = Add(tree.root, "http://third/p1.htm", kCatHtml, link);
  CQNDocNode* p2 = Add(tree.root, "http://third/p2.htm", kCatHtml, link);
  CQNDocNode* p3 = Add(tree.root, "http://third/p3.htm", kCatHtml, link);

  const std::vector<CQNDocNode*> branches = StartBranchesOf(tree, 2, settings.QN_START_URL[2]);
  EXPECT_EQ(branches, (std::vector<CQNDocNode*>{pattern, p1, p2}));
  ConvertProject(tree, settings, "");
  EXPECT_EQ(ReadFile(p1->localFile), "<A HREF=\"p1.htm\">1</A>");
  EXPECT_EQ(ReadFile(p2->localFile), "<A HREF=\"p1.htm\">1</A>");
  EXPECT_EQ(ReadFile(p3->localFile), link);  // no start address covers it
}

TEST_F(SiteTest, StopEndsTheWalkAndNoRootConvertsNothing) {
  int calls = 0;
  const QNConversionResult result =
      ConvertProject(tree, settings, "", [&](int) { return ++calls < 1; });
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ReadFile(docsPage->localFile), kPage);

  CQNDocTree empty;
  EXPECT_EQ(ConvertProject(empty, settings, "").converted, 0);
}

TEST_F(SiteTest, ConvertingTwiceChangesNothing) {
  ConvertProject(tree, settings, "");
  const std::string once = ReadFile(start->localFile);
  ConvertProject(tree, settings, "");
  EXPECT_EQ(ReadFile(start->localFile), once);
  EXPECT_TRUE(CheckLocalLinks(dir.path(), start->localFile, settings).broken.size() == 1);
}

// Links below a BASE that names another folder, and a file whose name holds a "%":
// the converted links name the files saved for them, as the link checker finds.
TEST_F(SiteTest, LinksUnderABaseAndNamesWithAPercentFindTheirFiles) {
  CQNDocNode* based =
      Add(start, "http://host/docs/based.htm", kCatHtml,
          "<BASE HREF=\"http://host/other/\"><A HREF=\"x.htm\">x</A><A HREF=\"a%2541.htm\">a</A>");
  CQNDocNode* x = Add(based, "http://host/other/x.htm", kCatHtml, "x");
  CQNDocNode* percent = Add(based, "http://host/other/a%2541.htm", kCatHtml, "a");
  EXPECT_EQ(fs::path(percent->localFile).filename(), "a%41.htm");
  EXPECT_EQ(fs::path(x->localFile).parent_path().filename(), "other");

  ConvertProject(tree, settings, "");
  EXPECT_EQ(ReadFile(based->localFile),
            "<!--BASE HREF=\"http://host/other/\"--><A HREF=\"../other/x.htm\">x</A>"
            "<A HREF=\"../other/a%2541.htm\">a</A>");
  const QNLinkCheck check = CheckLocalLinks(dir.path(), based->localFile, settings);
  EXPECT_TRUE(check.broken.empty());
  EXPECT_EQ(check.localLinks, 2);
}

TEST_F(SiteTest, StatusLineThroughTheObserver) {
  struct Recorder : IQNObserver {
    void OnStatus(const QNStatus& status) override {
      EXPECT_EQ(status.mask, QNStatus::kStatusText);
      lines.push_back(status.text3);
    }
    std::vector<std::string> lines;
  } observer;
  ConvertProject(tree, settings, "", StatusLineProgress(observer, "Converting Links..."));
  ASSERT_FALSE(observer.lines.empty());
  EXPECT_EQ(observer.lines.front(), "Converting Links... (10%)");
  EXPECT_EQ(observer.lines.back(), "Converting Links... (80%)");
}

TEST_F(SiteTest, PrintFileWithPageBreaks) {
  // A frame set cannot be printed and is left out.
  CQNDocNode* frames = Add(start, "http://host/frames.htm", kCatHtml, "<FRAME SRC=\"docs/\">");
  (void)frames;
  const auto printed = BuildPrintFile(PrintPagesOf(*start), settings, "", "http://host/");
  ASSERT_TRUE(printed);
  const std::string text = ReadFile(*printed);
  fs::remove(*printed);
  EXPECT_EQ(printed->extension(), ".htm");
  EXPECT_EQ(text.rfind(std::string(kPageBreakStyle) + "<HTML>", 0), 0u);
  // Home, the docs page and the docs folder page: two breaks.
  std::size_t breaks = 0;
  for (auto at = text.find(kPageBreak); at != std::string::npos; at = text.find(kPageBreak, at + 1))
    ++breaks;
  EXPECT_EQ(breaks, 2u);
  EXPECT_NE(text.find("<A HREF=\"file://" + dir.str() + "/host/docs/page.htm\">page</A>"),
            std::string::npos);
  EXPECT_EQ(text.find("FRAME"), std::string::npos);
  // The saved pages themselves stay as they were.
  EXPECT_EQ(ReadFile(start->localFile), kHome);
}

TEST_F(SiteTest, PrintFileWithoutBreaksAndStopped) {
  settings.QN_PAGEBREAK = 0;
  const auto printed = BuildPrintFile(PrintPagesOf(*docsPage), settings, "", "http://host/");
  ASSERT_TRUE(printed);
  EXPECT_EQ(ReadFile(*printed), "<A HREF=\"file://" + dir.str() +
                                    "/host/default.htm\">home</A><IMG SRC=\"file://" + dir.str() +
                                    "/host/img/logo.gif\">\r\n<SCRIPT SRC=\"file://" + dir.str() +
                                    "/host/js/app.js\"></SCRIPT>\r\n");
  fs::remove(*printed);
  EXPECT_FALSE(
      BuildPrintFile(PrintPagesOf(*start), settings, "", "http://host/", [] { return false; }));
}

TEST(LinkCheckerTest, ReportsLinksToNoFile) {
  test::TempDir dir;
  CQNSettings settings;
  WriteFile(dir / "index.htm",
            "<A HREF=\"a/one.htm\">1</A><IMG SRC=\"pic.gif\"><A HREF=\"http://net/x.htm\">n</A>");
  WriteFile(dir / "a/one.htm", "<A HREF=\"../index.htm#top\">back</A><A HREF=\"two.htm\">2</A>");
  WriteFile(dir / "a/unreached.htm", "<A HREF=\"nothing.htm\">x</A>");
  // A browser drops the query of a local link and decodes its escapes.
  WriteFile(dir / "a/my page.htm", "<A HREF=\"one.htm?month=3\">1</A>");
  WriteFile(dir / "index.htm", ReadFile(dir / "index.htm") + "<A HREF=\"a/my%20page.htm\">p</A>");
  const QNLinkCheck check = CheckLocalLinks(dir.path(), "index.htm", settings);
  EXPECT_EQ(check.pages, 3);
  EXPECT_EQ(check.localLinks, 6);
  ASSERT_EQ(check.broken.size(), 2u);
  EXPECT_EQ(check.broken[0].link, "pic.gif");
  EXPECT_EQ(check.broken[1].link, "two.htm");
  EXPECT_EQ(check.broken[1].target, dir / "a/two.htm");
}

}  // namespace
}  // namespace qn
