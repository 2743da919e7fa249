// The bookmark file that Netscape wrote and today's browsers export.

#include <gtest/gtest.h>

#include <sstream>

#include "BookmarkOutline.h"
#include "bookmarks/BookmarkFile.h"

namespace qn {
namespace {

using test::Outline;

QNBookmarkTree Read(const std::string& text) {
  std::istringstream in(text);
  return ReadBookmarkFile(in);
}

TEST(BookmarkFileTest, ReadsFoldersLinksAndTitlesAsShown) {
  const std::string longTitle(60, 'x');
  // Each "é" is two bytes: a cut at 50 bytes would split one.
  std::string accented;
  for (int i = 0; i < 60; ++i) accented += "\xC3\xA9";
  const auto tree = Read(
      "\xEF\xBB\xBF<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
      "<TITLE>Bookmarks</TITLE>\r\n"
      "<H1>Bookmarks Menu</H1>\r\n"
      "<DL><p>\r\n"
      "    <DT><A HREF=\"http://news.example/\" ADD_DATE=\"1\">News: Today/Tomorrow</A>\r\n"
      "    <DT><A HREF=\"http://a.example/q?x=1&amp;y=2\">Tom &amp; Jerry\tShow</A>\r\n"
      "    <DT><H3 ADD_DATE=\"2\"></H3>\r\n"
      "    <DL><p>\r\n"
      "        <DT><A HREF=\"http://b.example/" +
      longTitle +
      "\"></A>\r\n"
      "        <DT><A HREF=\"javascript:alert(1)\">Script</A>\r\n"
      "        <DT><A HREF=\"place:sort=8&amp;maxResults=10\">Most Visited</A>\r\n"
      "        <DT><A HREF=\"data:text/html,hi\">Data</A>\r\n"
      "    </DL><p>\r\n"
      "    <DT><H3>  </H3>\r\n"
      "    <DL><p>\r\n"
      "        <DT><A HREF=\"ftp://c.example/\">" +
      longTitle +
      "</A>\r\n"
      "        <DD>A description line\r\n"
      "    </DL><p>\r\n"
      "    <DT><H3 FOLDED>A|B</H3>\r\n"
      "    <DL><p>\r\n"
      "        <DT><A HREF=\"https://d.example/\">" +
      accented +
      "</A>\r\n"
      "    </DL><p>\r\n"
      "    <HR>\r\n"
      // Browsers end the top list with "</DL>" alone: the last link still counts.
      "    <DT><A HREF=\"https://e.example/\">Last</A>\r\n"
      "</DL>\r\n");
  std::string cutAccented;
  for (int i = 0; i < 50; ++i) cutAccented += "\xC3\xA9";
  EXPECT_EQ(Outline(tree),
            "Bookmarks Menu/\n"
            "  News$ Today$Tomorrow = http://news.example/\n"
            "  Tom & Jerry Show = http://a.example/q?x=1&y=2\n"
            "  Folder (1)/\n"
            "    http$$$b.example$" +
                std::string(33, 'x') + " = http://b.example/" + longTitle + "\n" +
                "  Folder (2)/\n"
                "    " +
                std::string(50, 'x') +
                " = ftp://c.example/\n"
                "  A$B/\n"
                "    " +
                cutAccented +
                " = https://d.example/\n"
                "  Last = https://e.example/\n");
}

TEST(BookmarkFileTest, FilesWithoutATitleLineGiveNothing) {
  EXPECT_TRUE(Read("").items.empty());
  EXPECT_TRUE(Read("<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\n</DL><p>\n").items.empty());
  EXPECT_TRUE(Read("<H1>Bookmarks\n<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\n").items.empty());
  // A link without its closing quote is no link; the reading goes on.
  EXPECT_EQ(Outline(Read("<H1>B</H1>\n<DL><p>\n<DT><A HREF=\"http://a/>a</A>\n"
                         "<DT><A HREF=\"http://b/\">b\n")),
            "B/\n  b = http://b/\n");
}

TEST(BookmarkFileTest, DeepNestingIsBoundedAndKeepsEveryLink) {
  constexpr int kDepth = 10000;
  std::string text = "<H1>Top</H1>\n<DL><p>\n";
  for (int i = 0; i < kDepth; ++i)
    text += "<DT><H3>f</H3>\n<DL><p>\n<DT><A HREF=\"http://h/" + std::to_string(i) + "\">l</A>\n";
  for (int i = 0; i < kDepth; ++i) text += "</DL><p>\n";
  text += "<DT><A HREF=\"http://h/after\">after</A>\n</DL><p>\n";
  const auto tree = Read(text);

  int folders = 0;
  int deepest = 0;
  for (const QNBookmarkItem& item : tree.items) {
    folders += item.kind == QNBookmarkKind::Folder ? 1 : 0;
    deepest = std::max(deepest, item.depth);
  }
  EXPECT_EQ(folders, kMaxBookmarkDepth);
  EXPECT_EQ(deepest, kMaxBookmarkDepth);
  ASSERT_EQ(tree.items.size(), static_cast<std::size_t>(kMaxBookmarkDepth + kDepth + 1));
  // The links below the limit share the deepest folder, in order; the link after
  // all the lists closed is back at the top.
  EXPECT_EQ(tree.items[tree.items.size() - 2].address, "http://h/" + std::to_string(kDepth - 1));
  EXPECT_EQ(tree.items[tree.items.size() - 2].depth, kMaxBookmarkDepth);
  EXPECT_EQ(tree.items.back().address, "http://h/after");
  EXPECT_EQ(tree.items.back().parent, 0);
}

TEST(BookmarkTreeTest, CutsOnCharacterBoundaries) {
  EXPECT_EQ(CutCharacters("abc", 2), "ab");
  EXPECT_EQ(CutCharacters("\xE2\x82\xAC\xE2\x82\xAC", 1), "\xE2\x82\xAC");
  EXPECT_EQ(CutCharacters("\xF0\x9F\x98\x80x", 1), "\xF0\x9F\x98\x80");
  // Bytes that start no valid sequence count one each, so a cut stays bounded.
  EXPECT_EQ(CutCharacters(std::string(100, '\x80'), 50), std::string(50, '\x80'));
  EXPECT_EQ(CutCharacters("\xE2\x82x", 2), "\xE2\x82");
}

}  // namespace
}  // namespace qn
