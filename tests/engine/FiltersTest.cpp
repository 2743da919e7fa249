#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Filters.h"
#include "engine/SitePosition.h"
#include "support/TempDir.h"

namespace qn {
namespace {

CQNUrlFilter Filter(int include, int protocol, std::string server, std::string directory,
                    std::string file) {
  return {include, protocol, std::move(server), std::move(directory), std::move(file)};
}

TEST(UrlFilters, Patterns) {
  EXPECT_TRUE(PatternMatches("www.Example.com", "WWW.example.COM"));
  EXPECT_FALSE(PatternMatches("www.example.com", "example.com"));  // whole part without wildcards
  EXPECT_TRUE(PatternMatches("www.example.com", "*.example.com"));
  EXPECT_TRUE(PatternMatches("a.gif", "*.GIF"));
  EXPECT_FALSE(PatternMatches("a.gif.htm", "*.gif"));
  EXPECT_TRUE(PatternMatches("page1.htm", "page^.htm"));
  EXPECT_FALSE(PatternMatches("page12.htm", "page^.htm"));
  EXPECT_FALSE(PatternMatches("page.htm", "page^.htm"));
  EXPECT_TRUE(PatternMatches("docs/2001/a", "docs*a"));
  EXPECT_TRUE(PatternMatches("abcabcx", "*abcx"));  // a failed attempt gives characters back
  EXPECT_TRUE(PatternMatches("", "*"));
  EXPECT_FALSE(PatternMatches("", "^"));
}

TEST(UrlFilters, SplitAddress) {
  QNUrlParts p = SplitForFilter("https://Host.example/docs/2001/page.htm?x=a/b.c");
  EXPECT_EQ(p.protocol, 2);
  EXPECT_EQ(p.server, "Host.example");
  EXPECT_EQ(p.directory, "docs/2001");
  EXPECT_EQ(p.file, "page.htm");
  p = SplitForFilter("http://h/docs/intro/");
  EXPECT_EQ(p.protocol, 1);
  EXPECT_EQ(p.directory, "docs/intro");
  EXPECT_EQ(p.file, "");
  p = SplitForFilter("ftp://h/readme");
  EXPECT_EQ(p.protocol, 4);
  EXPECT_EQ(p.directory, "readme");
  p = SplitForFilter("http://h");
  EXPECT_EQ(p.server, "h");
  EXPECT_EQ(p.directory, "");
  EXPECT_EQ(SplitForFilter("file://C|/x/a.htm").protocol, 8);
}

TEST(UrlFilters, SpecificityDecides) {
  const std::string gif = "http://ads.example/img/banner.gif";
  EXPECT_EQ(UrlFilterDecision({}, gif), UrlVerdict::NoMatch);
  // A server-only exclusion loses to a file-pattern inclusion (4 >= 2)...
  std::vector<CQNUrlFilter> filters = {Filter(0, 15, "ads.example", "", ""),
                                       Filter(1, 15, "", "", "*.gif")};
  EXPECT_EQ(UrlFilterDecision(filters, gif), UrlVerdict::Load);
  EXPECT_EQ(UrlFilterDecision(filters, "http://ads.example/a.htm"), UrlVerdict::Skip);
  EXPECT_EQ(UrlFilterDecision(filters, "http://other/a.htm"), UrlVerdict::NoMatch);
  // ...and wins ties; a more specific exclusion wins.
  filters = {Filter(1, 15, "ads.example", "", ""), Filter(0, 15, "*", "", "")};
  EXPECT_EQ(UrlFilterDecision(filters, gif), UrlVerdict::Load);
  filters.push_back(Filter(0, 15, "", "img", ""));
  EXPECT_EQ(UrlFilterDecision(filters, gif), UrlVerdict::Skip);
  // The last matching filter of a kind gives that kind's specificity.
  filters = {Filter(1, 15, "", "", "*.gif"), Filter(0, 15, "", "img", ""),
             Filter(1, 15, "", "", "")};
  EXPECT_EQ(UrlFilterDecision(filters, gif), UrlVerdict::Skip);
  // Protocols.
  filters = {Filter(1, 2, "", "", "")};
  EXPECT_EQ(UrlFilterDecision(filters, gif), UrlVerdict::NoMatch);
  EXPECT_EQ(UrlFilterDecision(filters, "https://h/a.gif"), UrlVerdict::Load);
  filters = {Filter(1, 15, "", "", "")};
  EXPECT_EQ(UrlFilterDecision(filters, gif), UrlVerdict::Load);
  EXPECT_EQ(UrlFilterDecision(filters, "https://h/a.gif"), UrlVerdict::Load);
}

class NodeFilters : public ::testing::Test {
 protected:
  CQNDocNode& Node(const std::string& url, int type, int level, int sitePos) {
    node.url = url;
    node.type = type;
    node.level = level;
    node.sitePos = sitePos;
    node.mark = kMarkNone;
    node.wanted = 1;
    return node;
  }
  bool Eligible() { return PassesEligibility(node, s, scope); }
  bool LevelOk() { return PassesLevel(node, s, scope); }

  CQNSettings s;
  QNFilterScope scope{kKindNew, false, "h"};
  CQNDocNode node;
};

TEST_F(NodeFilters, Eligibility) {
  Node("http://H/a.htm", kCatHtml, 1, 0);
  EXPECT_TRUE(Eligible());
  node.wanted = 0;
  EXPECT_FALSE(Eligible());

  // Pages pass whatever QN_FILE_TYPES says; other files need their bit.
  s.QN_FILE_TYPES = kCatImage;
  Node("http://h/a.htm", kCatHtml, 1, 0);
  EXPECT_TRUE(Eligible());
  Node("http://h/a.gif", kCatImage, 1, 0);
  EXPECT_TRUE(Eligible());
  Node("http://h/a.mp3", kCatAudio, 1, 0);
  EXPECT_FALSE(Eligible());
  s.QN_FILE_TYPES = kAllCategories;

  // Another server: refused unless all servers are allowed or a filter includes it.
  Node("http://other/a.htm", kCatHtml, 0, kOffsiteBase - 1);
  EXPECT_FALSE(Eligible());
  s.QN_URL_FILTER = {Filter(1, 15, "other", "", "")};
  EXPECT_TRUE(Eligible());
  EXPECT_EQ(node.mark, kMarkAdmitted);
  s.QN_URL_FILTER = {Filter(0, 15, "h", "", "")};
  Node("http://h/a.htm", kCatHtml, 0, 0);
  EXPECT_FALSE(Eligible());
  s.QN_URL_FILTER.clear();
  s.QN_OFFSITE = 1;
  Node("http://other/a.htm", kCatHtml, 0, kOffsiteBase - 1);
  EXPECT_TRUE(Eligible());
  EXPECT_EQ(node.mark, kMarkNone);

  // QN_DOWN keeps to the start directory and below.
  s.QN_DOWN = 1;
  Node("http://h/up.htm", kCatHtml, 0, -1);
  EXPECT_FALSE(Eligible());
  Node("http://h/dir/sub.htm", kCatHtml, 0, 1);
  EXPECT_TRUE(Eligible());

  // A preview without detailed scanning looks at pages only.
  scope.preview = true;
  Node("http://h/dir/a.gif", kCatImage, 0, 1);
  EXPECT_FALSE(Eligible());
  s.QN_DETPREV = 1;
  EXPECT_TRUE(Eligible());
}

TEST_F(NodeFilters, SelectedAndFailedRunsIgnoreFiltersAndLevels) {
  s.QN_URL_FILTER = {Filter(0, 15, "", "", "")};
  s.QN_LIM_L = 1;
  s.QN_MAX_L = 0;
  Node("http://other/a.exe", kCatOther, 7, kOffsiteBase - 1).wanted = 0;
  EXPECT_FALSE(Eligible());
  EXPECT_FALSE(LevelOk());
  for (int kind : {kKindSelected, kKindFailed}) {
    scope.downloadKind = kind;
    EXPECT_TRUE(Eligible());
    EXPECT_TRUE(LevelOk());
  }
}

TEST_F(NodeFilters, Levels) {
  s.QN_LIM_L = 1;
  s.QN_MAX_L = 2;
  Node("http://h/p.htm", kCatHtml, 3, 0);
  EXPECT_FALSE(LevelOk());
  Node("http://h/p.htm", kCatHtml, 2, 0);
  EXPECT_TRUE(LevelOk());
  Node("http://h/i.gif", kCatImage, 3, 0);  // linked from a page of level 2
  EXPECT_TRUE(LevelOk());
  Node("http://h/i.gif", kCatImage, 4, 0);
  EXPECT_FALSE(LevelOk());
  Node("http://h/p.htm", kCatHtml, kUnset, 0);
  EXPECT_FALSE(LevelOk());

  // Off-site: QN_MAX_OL for pages, QN_MAX_L + 1 for other files.
  s.QN_LIM_OL = 1;
  s.QN_MAX_OL = 1;
  s.QN_MAX_L = 3;
  Node("http://o/i.gif", kCatImage, 4, kOffsiteBase);
  EXPECT_TRUE(LevelOk());
  Node("http://o/p.htm", kCatHtml, 2, kOffsiteBase);
  EXPECT_FALSE(LevelOk());
  s.QN_LIM_OL = 0;
  EXPECT_TRUE(LevelOk());
  s.QN_LIM_L = 0;
  Node("http://h/p.htm", kCatHtml, 99, 0);
  EXPECT_TRUE(LevelOk());
}

TEST(SizeFilters, ExtensionAndGlobalLimits) {
  CQNSettings s;
  s.QN_LIM_MAXFS = 1;
  s.QN_MAX_MAXFS = 1000;
  s.QN_LIM_MINFS = 1;
  s.QN_MAX_MINFS = 100;
  // An entry written in capitals applies to a lower-case extension.
  for (CQNExtEntry& e : s.QN_FILE_EXT[1]) {
    if (e.extension == "gif") e = {"GIF", 1, 1, 5000, 0, 0};
  }

  QNSizeTest t = ExtensionSizeTest(s, 4000, "http://h/a.gif", SizeKind::Maximum);
  EXPECT_TRUE(t.passes);
  EXPECT_TRUE(t.hadLimit);
  t = ExtensionSizeTest(s, 6000, "http://h/a.gif?x=1", SizeKind::Maximum);
  EXPECT_FALSE(t.passes);
  t = ExtensionSizeTest(s, 6000, "http://h/a.gif", SizeKind::Minimum);
  EXPECT_TRUE(t.passes);
  EXPECT_FALSE(t.hadLimit);
  EXPECT_FALSE(ExtensionSizeTest(s, 1, "http://h/dir/", SizeKind::Maximum).hadLimit);
  EXPECT_FALSE(ExtensionSizeTest(s, 1, "http://h/a.jpg", SizeKind::Maximum).hadLimit);

  // The entry's maximum replaces the global maximum; the global minimum still applies.
  EXPECT_EQ(PreDownloadSizeDecision(s, 4000, "http://h/a.gif", 0), SizeVerdict::Ok);
  EXPECT_EQ(PreDownloadSizeDecision(s, 50, "http://h/a.gif", 0), SizeVerdict::TooSmall);
  EXPECT_EQ(PreDownloadSizeDecision(s, 4000, "http://h/a.jpg", 0), SizeVerdict::TooLarge);
  EXPECT_EQ(PreDownloadSizeDecision(s, 500, "http://h/a.jpg", 0), SizeVerdict::Ok);
  s.QN_LIM_MAXFS = 0;
  EXPECT_EQ(PreDownloadSizeDecision(s, 4000, "http://h/a.jpg", 0), SizeVerdict::Ok);

  s.QN_MAX_DS = 10000;
  EXPECT_TRUE(PassesDiskSpace(s, 10000));
  EXPECT_EQ(PreDownloadSizeDecision(s, 500, "http://h/a.jpg", 10001), SizeVerdict::DiskFull);
  s.QN_LIM_DS = 0;
  EXPECT_EQ(PreDownloadSizeDecision(s, 500, "http://h/a.jpg", 10001), SizeVerdict::Ok);
}

TEST(SizeFilters, RejectedPageLosesItsFileAndEmptiedFolder) {
  test::TempDir dir;
  CQNSettings s;
  CQNDocNode page;
  page.type = kCatHtml;
  page.url = "http://h/sub/index.htm";
  page.localFile = (dir / "sub/index.htm").string();
  test::WriteFile(page.localFile, "<html>");

  EXPECT_TRUE(KeepHtmlAfterDownload(page, 6, s));
  EXPECT_TRUE(std::filesystem::exists(page.localFile));

  // Only images wanted: the page was scanned, but its file does not stay.
  s.QN_FILE_TYPES = kCatImage;
  EXPECT_FALSE(KeepHtmlAfterDownload(page, 6, s));
  EXPECT_TRUE(page.localFile.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "sub"));
  EXPECT_TRUE(std::filesystem::exists(dir.path()));

  // Too large, too small, unwanted; other files are never judged here.
  s.QN_FILE_TYPES = kAllCategories;
  s.QN_MAX_MAXFS = 100;
  EXPECT_FALSE(KeepHtmlAfterDownload(page, 101, s));
  s.QN_LIM_MINFS = 1;
  s.QN_MAX_MINFS = 10;
  EXPECT_FALSE(KeepHtmlAfterDownload(page, 9, s));
  EXPECT_TRUE(KeepHtmlAfterDownload(page, 50, s));
  page.wanted = 0;
  EXPECT_FALSE(KeepHtmlAfterDownload(page, 50, s));
  CQNDocNode image;
  image.type = kCatImage;
  image.wanted = 0;
  EXPECT_TRUE(KeepHtmlAfterDownload(image, 1 << 30, s));
}

TEST(SitePositions, RelativeToTheStartDirectory) {
  const std::string start = "http://h/docs/";
  EXPECT_EQ(SitePosition("http://h/docs/a.htm", start), 0);
  EXPECT_EQ(SitePosition("http://H/DOCS/sub/a.htm", start), 1);
  EXPECT_EQ(SitePosition("http://h/docs/sub/deeper/", start), 2);
  EXPECT_EQ(SitePosition("http://h/a.htm", start), -1);
  // Beside the start directory: up one step and down one.
  EXPECT_EQ(SitePosition("http://h/pics/a.gif", start), -2);
  const int beside = SitePosition("http://h/x/y/z/a.gif", start);
  EXPECT_LT(beside, -2);
  EXPECT_GT(beside, kOffsiteBase);
  EXPECT_EQ(SitePosition("http://other/x/y.gif", start), kOffsiteBase - 2);
  EXPECT_EQ(SitePosition("http://h/a.htm", ""), kOffsiteBase);
}

TEST(SitePositions, LevelsOfFoundLinks) {
  CQNDocNode page;
  page.sitePos = 0;
  page.level = 4;
  EXPECT_EQ(FoundLinkLevel(page, 1, false), 5);
  EXPECT_EQ(FoundLinkLevel(page, 1, true), 4);
  EXPECT_EQ(FoundLinkLevel(page, kOffsiteBase - 1, false), 0);
  page.sitePos = kOffsiteBase - 1;  // an off-site page counts on
  EXPECT_EQ(FoundLinkLevel(page, kOffsiteBase - 2, false), 5);
  EXPECT_EQ(FoundLinkLevel(page, 0, false), 5);
  page.level = kUnset;  // never past the unset value
  EXPECT_EQ(FoundLinkLevel(page, 0, false), 0);
  page.sitePos = 0;
  EXPECT_EQ(FoundLinkLevel(page, 0, true), 0);
}

}  // namespace
}  // namespace qn
