#include <gtest/gtest.h>

#include "web/Address.h"

namespace qn {
namespace {

TEST(BaseDirectory, FromTheDocumentAddress) {
  EXPECT_EQ(GetBaseDirectory("http://host/dir/page.htm"), "http://host/dir/");
  EXPECT_EQ(GetBaseDirectory("http://host/cgi/prog.asp?a=1/2"), "http://host/cgi/");
  EXPECT_EQ(GetBaseDirectory("http://host/cgi/prog.asp^a=1/2"), "http://host/cgi/");
  EXPECT_EQ(GetBaseDirectory("http://host/a/p.asp?x=1^y/z"), "http://host/a/");
  EXPECT_EQ(GetBaseDirectory("http://host"), "http://host/");
  EXPECT_EQ(GetBaseDirectory("http://host.example"), "http://host.example/");
  EXPECT_EQ(GetBaseDirectory("http://host/docs"), "http://host/docs/");
  EXPECT_EQ(GetBaseDirectory("http://host/docs/intro"), "http://host/docs/intro/");
  EXPECT_EQ(GetBaseDirectory("http://host.example/docs"), "http://host.example/docs/");
  EXPECT_EQ(GetBaseDirectory("  http://host/a.htm \r\n"), "http://host/");
  EXPECT_EQ(GetBaseDirectory("host.example/a.htm"), "http://host.example/");
  EXPECT_EQ(GetBaseDirectory("C:\\Sites\\index.htm"), "file://C|\\Sites\\");
  EXPECT_EQ(GetBaseDirectory("/home/u/site/index.htm"), "file:///home/u/site/");
  EXPECT_EQ(GetBaseDirectory("file:///home/u/site/index.htm"), "file:///home/u/site/");
  // A query straight after the server keeps the server.
  EXPECT_EQ(GetBaseDirectory("http://host.example?page=2"), "http://host.example/");
}

TEST(ResolveLink, LinksOfAPage) {
  const std::string doc = "http://host/dir/page.htm";
  const std::string base = GetBaseDirectory(doc);
  auto resolve = [&](std::string_view link) { return ResolveLink(link, base, doc); };
  EXPECT_EQ(resolve("pic.gif"), "http://host/dir/pic.gif");
  EXPECT_EQ(resolve("/img/a.gif"), "http://host/img/a.gif");
  EXPECT_EQ(resolve("../a.htm"), "http://host/a.htm");
  EXPECT_EQ(resolve("../../../a.htm"), "http://host/a.htm");
  EXPECT_EQ(resolve("./b.htm"), "http://host/dir/b.htm");
  EXPECT_EQ(resolve("//other/x.htm"), "http://other/x.htm");
  EXPECT_EQ(resolve("\\\\other\\x.htm"), "http://other/x.htm");
  EXPECT_EQ(resolve("#top"), "http://host/dir/page.htm#top");
  EXPECT_EQ(resolve(""), "http://host/dir/");
  EXPECT_EQ(resolve("#"), "http://host/dir/");
  EXPECT_EQ(resolve("http:other.htm"), "http://host/dir/other.htm");
  EXPECT_EQ(resolve("HTTP://Other.example/X.htm"), "HTTP://Other.example/X.htm");
  EXPECT_EQ(resolve("sub\\deeper\\x.htm"), "http://host/dir/sub/deeper/x.htm");
  EXPECT_EQ(resolve("..\\..\\x.htm"), "http://host/x.htm");
  EXPECT_EQ(resolve("dir2/../x.htm"), "http://host/dir/dir2/../x.htm");  // not folded
  EXPECT_EQ(resolve("  spaced.htm \t"), "http://host/dir/  spaced.htm");
  EXPECT_EQ(resolve("page.htm#sec"), "http://host/dir/page.htm#sec");
  EXPECT_EQ(resolve("go.asp?to=http://other/x"), "http://host/dir/go.asp?to=http://other/x");
}

TEST(ResolveLink, ClimbingCountsEveryOccurrence) {
  const std::string doc = "http://host/a/b/c/page.htm";
  const std::string base = GetBaseDirectory(doc);
  EXPECT_EQ(ResolveLink("../x/../y.htm", base, doc), "http://host/a/y.htm");
  EXPECT_EQ(ResolveLink("../x.htm", "http://host/a/b", doc), "http://host/a/x.htm");
  EXPECT_EQ(ResolveLink("../../x.htm", "http://host/", doc), "http://host/x.htm");
}

TEST(ResolveLink, FragmentRepair) {
  const std::string doc = "http://host/dir/page.htm";
  EXPECT_EQ(ResolveLink("#top", "http://host/dir/page.htm/", doc), "http://host/dir/page.htm#top");
  EXPECT_EQ(ResolveLink("/#top", "http://host.example/dir/", doc), "http://host.example#top");
  // A link that names a directory keeps it; only a bare fragment means this page.
  EXPECT_EQ(ResolveLink("http://other/#x", "http://host/dir/", doc), "http://other/#x");
  EXPECT_EQ(ResolveLink("sub/#x", "http://host/dir/", doc), "http://host/dir/sub/#x");
  EXPECT_EQ(ResolveLink("#x", "", doc), "page.htm#x");
  EXPECT_EQ(ResolveLink("#x", "http://host/dir/", "http://host/dir/"), "http://host/dir/#x");
}

TEST(ResolveLink, LocalDocuments) {
  const std::string doc = "file:///home/u/site/a/page.htm";
  const std::string base = GetBaseDirectory(doc);
  ASSERT_EQ(base, "file:///home/u/site/a/");
  EXPECT_EQ(ResolveLink("b.htm", base, doc), "file:///home/u/site/a/b.htm");
  EXPECT_EQ(ResolveLink("../../../../../x.htm", base, doc), "file:///x.htm");
  EXPECT_EQ(ResolveLink("/img/x.gif", base, doc), "file:///img/x.gif");

  const std::string winDoc = "C:\\Sites\\index.htm";
  const std::string winBase = GetBaseDirectory(winDoc);
  ASSERT_EQ(winBase, "file://C|\\Sites\\");
  EXPECT_EQ(ResolveLink("", winBase, winDoc), "file://C|/Sites/");
  EXPECT_EQ(ResolveLink("a\\b.htm", winBase, winDoc), "file://C|/Sites/a/b.htm");
  EXPECT_EQ(ResolveLink("..\\..\\x.htm", winBase, winDoc), "file://C|/x.htm");
  EXPECT_EQ(ResolveLink("\\img\\x.gif", winBase, winDoc), "file://C|/img/x.gif");
}

TEST(ResolveLink, NeverReturnsABackslash) {
  const std::string bases[] = {"file://C|\\Sites\\", "http://host\\dir\\", "\\\\x\\", ""};
  const std::string links[] = {"",     "#",        "a\\b.htm", "\\x",         "..\\y",
                               ".\\z", "\\\\s\\t", "#frag",    "http://h\\x", "q?x=\\y"};
  for (const auto& base : bases)
    for (const auto& link : links)
      EXPECT_EQ(ResolveLink(link, base, "C:\\doc\\p.htm").find('\\'), std::string::npos)
          << link << " in " << base;
}

TEST(FetchableLink, WhatTheEngineMayFollow) {
  EXPECT_TRUE(IsFetchableLink("page.htm"));
  EXPECT_TRUE(IsFetchableLink("page.asp?t=10:30"));
  EXPECT_TRUE(IsFetchableLink("c:\\x.htm"));
  EXPECT_TRUE(IsFetchableLink("HTTPS://host/"));
  EXPECT_TRUE(IsFetchableLink("ftp://host/x.zip"));
  EXPECT_FALSE(IsFetchableLink("mailto:me"));
  EXPECT_FALSE(IsFetchableLink("javascript:go()"));
  EXPECT_FALSE(IsFetchableLink("news:comp.lang"));
  EXPECT_FALSE(IsFetchableLink("1:x"));
  EXPECT_FALSE(IsFetchableLink(":x"));
}

TEST(RelativeAddress, AgainstTheStartFolder) {
  const std::string start = "http://host/start/";
  EXPECT_EQ(MakeRelativeAddress("http://host/start/a.htm", start), "a.htm");
  EXPECT_EQ(MakeRelativeAddress("http://HOST/start/sub/b.htm", start), "sub/b.htm");
  EXPECT_EQ(MakeRelativeAddress("http://host/x.htm", start), "../x.htm");
  EXPECT_EQ(MakeRelativeAddress("http://host/stop/x.htm", "http://host/start"), "../stop/x.htm");
  EXPECT_EQ(MakeRelativeAddress("http://other/x.htm", start), "http://other/x.htm");
  EXPECT_EQ(MakeRelativeAddress("http://host/a/../x.htm", start), "http://host/a/../x.htm");
  EXPECT_EQ(MakeRelativeAddress("http://host/x.htm", ""), "http://host/x.htm");
  EXPECT_EQ(MakeRelativeAddress("https://host/start/a.htm", start), "https://host/start/a.htm");
}

TEST(RelativeAddress, ReadsBackThroughTheLocalJoin) {
  const std::string start = "http://host/start/";
  const std::string targets[] = {"http://host/start/a.htm",
                                 "http://host/start/v1.2/page.htm",
                                 "http://host/start/sub/",
                                 "http://host/start/",
                                 "http://host/start",
                                 "http://host/x/y.htm",
                                 "http://host",
                                 "http://localhost/x.htm",
                                 "http://other/dir",
                                 "https://host/start/a.htm",
                                 "http://host/start/.hidden/a.htm",
                                 "http://host/start/q.asp?x=1:2",
                                 "ftp://host/start/f.zip"};
  for (const auto& target : targets) {
    const std::string stored = MakeRelativeAddress(target, start);
    EXPECT_EQ(ResolveLocalLink(stored, start), target) << "stored as " << stored;
  }
}

TEST(LocalLink, SimpleRules) {
  const std::string base = "http://host/a/b/";
  EXPECT_EQ(ResolveLocalLink("", base), base);
  EXPECT_EQ(ResolveLocalLink("x.htm", base), "http://host/a/b/x.htm");
  EXPECT_EQ(ResolveLocalLink("/x.htm", base), "http://host/a/b/x.htm");
  EXPECT_EQ(ResolveLocalLink("\\x.htm", base), "http://host/a/b/x.htm");
  EXPECT_EQ(ResolveLocalLink("../x.htm", base), "http://host/a/x.htm");
  EXPECT_EQ(ResolveLocalLink("..\\..\\x.htm", base), "http://host/x.htm");
  EXPECT_EQ(ResolveLocalLink("./x.htm", base), "http://host/a/b/x.htm");
  EXPECT_EQ(ResolveLocalLink("sub/x.htm", base), "http://host/a/b/sub/x.htm");
  EXPECT_EQ(ResolveLocalLink("file:///home/u/x.htm", base), "file:///home/u/x.htm");
  EXPECT_EQ(ResolveLocalLink("http://other.example/x.htm", base), "http://other.example/x.htm");
}

}  // namespace
}  // namespace qn
