// Pages built to hurt a scanner: they must be scanned and converted completely,
// with the links that can be found found, and copied unchanged where nothing is
// converted. The times of the full-size pages are measured in bench/ScanBench.

#include <gtest/gtest.h>

#include <sstream>

#include "ScanTestSupport.h"

namespace qn {
namespace {

using Strings = std::vector<std::string>;

std::string Repeat(std::string_view piece, std::size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

std::string Unchanged(const std::string& page) {
  return test::ConvertPage(
      page, [](const QNLinkToConvert&) -> std::optional<std::string> { return std::nullopt; });
}

TEST(PathologicalPagesTest, PageWithoutAnyClosingBracket) {
  const std::string page = "<A HREF=first.htm " + Repeat("x<y ", 250000) + "url(tail.gif)";
  // The anchor never ends; the scan goes on after it and reaches the end.
  EXPECT_EQ(test::ScanPage(page).Texts(), Strings({"tail.gif"}));
  EXPECT_EQ(Unchanged(page), page);

  // Thousands of tags that never end: the scan gives up after its restarts.
  const std::string tags = Repeat("<IMG ", 200000) + "\nurl(tail.gif)";
  test::RecordingSink sink;
  std::istringstream in(tags);
  EXPECT_TRUE(ScanHtml(in, test::kPageAddress, {}, {}, sink));
  EXPECT_TRUE(sink.links.empty());
  EXPECT_EQ(Unchanged(tags), tags);
}

TEST(PathologicalPagesTest, HundredThousandNestedAnchors) {
  const std::string page = Repeat("<A ", 100000) + "HREF=deep.htm>";
  const auto found = test::ScanPage(page);
  ASSERT_FALSE(found.links.empty());
  for (const auto& link : found.links) EXPECT_EQ(link.address, "http://host/dir/deep.htm");

  test::PrefixConverter converter;
  const std::string converted = test::ConvertPage(page, converter.Function());
  EXPECT_EQ(converted, Repeat("<A ", 100000) + "HREF=L/deep.htm>");
}

// The line is read in 250 pieces of the 4160-byte buffer; no tag is lost where a
// piece ends, not even one whose start token the piece would cut.
TEST(PathologicalPagesTest, MegabyteLine) {
  std::string page;
  const int count = 1024 * 1024 / 20;
  for (int i = 0; i < count; ++i) page += "<A HREF=p" + std::to_string(i) + ".htm>";
  const auto found = test::ScanPage(page);
  ASSERT_EQ(found.links.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(found.links.front().text, "p0.htm");
  EXPECT_EQ(found.links.back().text, "p" + std::to_string(count - 1) + ".htm");

  const auto converter = [](const QNLinkToConvert& link) -> std::optional<std::string> {
    return std::string(link.value).insert(0, "L/");
  };
  const std::string converted = test::ConvertPage(page, converter);
  EXPECT_EQ(converted.size(), page.size() + 2 * count);
  EXPECT_EQ(converted.substr(0, 19), "<A HREF=L/p0.htm><A");
}

TEST(PathologicalPagesTest, ZeroBytes) {
  const std::string piece("<A HREF=a.htm>\0\0<IMG\0SRC=b.gif><IMG SRC=\"c\0.gif\">\0", 50);
  const std::string page = Repeat(piece, 2000);
  const auto found = test::ScanPage(page);
  // A tag name followed by a zero byte is no tag; a value holding one is no address.
  EXPECT_EQ(found.links.size(), 2000u);
  for (const auto& link : found.links) EXPECT_EQ(link.text, "a.htm");
  EXPECT_EQ(Unchanged(page), page);
}

TEST(PathologicalPagesTest, OverlappingTagsInEveryLine) {
  const std::string line = Repeat("<IMG ", 800) + "SRC=x.gif>\n";
  const std::string page = Repeat(line, 50);
  // The first IMG of a line reads the SRC; the scan goes on after that value.
  EXPECT_EQ(test::ScanPage(page).links.size(), 50u);
  // Without a value every IMG is tried, one character after the one before.
  const std::string empty = Repeat(Repeat("<IMG ", 800) + ">\n", 50);
  EXPECT_TRUE(test::ScanPage(empty).links.empty());
  EXPECT_EQ(Unchanged(empty), empty);

  const std::string cells = Repeat(Repeat("<A <TD =a. ", 400) + ">\n", 50);
  EXPECT_EQ(Unchanged(cells), cells);
  test::ScanPage(cells);

  // One huge form whose text holds a hundred thousand cells.
  const std::string form = "<FORM " + Repeat("<TD ", 100000) + "BACKGROUND=b.gif>/FORM>";
  EXPECT_FALSE(test::ScanPage(form).links.empty());
}

}  // namespace
}  // namespace qn
