// Conversion of saved pages and scripts: where the converter is asked, how its
// answer is spliced in, and that everything else is copied byte for byte.

#include <gtest/gtest.h>

#include <sstream>

#include "ScanTestSupport.h"
#include "web/Splice.h"

namespace qn {
namespace {

using test::ConvertPage;
using Strings = std::vector<std::string>;

QNLinkConverter Refuse() {
  return [](const QNLinkToConvert&) -> std::optional<std::string> { return std::nullopt; };
}

TEST(HtmlConverterTest, ConvertsLinkValuesInPlace) {
  test::PrefixConverter converter;
  const std::string page =
      "<HTML>\r\n<A HREF=\"a.htm\" onclick=\"go('b.htm')\">A</A>\r\n"
      "<IMG SRC=pic.gif ALT='pic.gif'> text a.htm\r\n"
      "<A HREF=\"mailto:me@host\">m</A><P style=\"background:url(bg.gif)\">\r\n";
  EXPECT_EQ(ConvertPage(page, converter.Function()),
            "<HTML>\r\n<A HREF=\"L/a.htm\" onclick=\"go('L/b.htm')\">A</A>\r\n"
            "<IMG SRC=L/pic.gif ALT='L/pic.gif'> text a.htm\r\n"
            "<A HREF=\"mailto:me@host\">m</A><P style=\"background:url(L/bg.gif)\">\r\n");
  // The converter learns the page, and whether the value belongs to an IMG tag.
  ASSERT_EQ(converter.values, Strings({"a.htm", "b.htm", "pic.gif", "bg.gif"}));
  EXPECT_TRUE(converter.calls[0].notImage);
  EXPECT_FALSE(converter.calls[2].notImage);
  EXPECT_EQ(converter.bases[0], "http://host/dir/");
  EXPECT_EQ(converter.calls[0].pagePath, "/site/dir/page.htm");
  EXPECT_EQ(converter.calls[0].form, QNLinkForm::Relative);
}

TEST(HtmlConverterTest, TheConverterSeesTheValueAsTheScannerFoundIt) {
  // The download fetched "?a=1&b=2" for this link, so its file is asked for under
  // that address; the whole written value is what gets replaced.
  test::PrefixConverter converter;
  EXPECT_EQ(ConvertPage("<A HREF=\"cal.htm?a=1&amp;b=2\">c</A>", converter.Function()),
            "<A HREF=\"L/cal.htm?a=1&b=2\">c</A>");
  EXPECT_EQ(converter.values, Strings({"cal.htm?a=1&b=2"}));
}

TEST(HtmlConverterTest, RefusedLinksLeaveTheDocumentUnchanged) {
  const std::string page = std::string(
                               "<TITLE>x</TITLE>\n<A HREF=never.htm\n<IMG\r\nSRC=\"a.gif\"\n"
                               "ALT=x>url(open.gif <!-- <A HREF=c.htm> -->\n<FORM ACTION=f.asp>"
                               "<INPUT NAME=q>\n</FORM><APPLET CODE=x.class>") +
                           std::string("\0\0<A HREF=z.htm>\n", 17) + std::string(5000, 'y') +
                           "<A HREF=\ttab.htm>";
  bool ok = false;
  EXPECT_EQ(ConvertPage(page, Refuse(), QNLinkForm::Relative, &ok), page);
  EXPECT_TRUE(ok);
}

TEST(HtmlConverterTest, BaseTagsAreCommentedOut) {
  test::PrefixConverter converter;
  EXPECT_EQ(ConvertPage("<BASE HREF=\"http://other/dir/\"><A HREF=x.htm>", converter.Function()),
            "<!--BASE HREF=\"http://other/dir/\"--><A HREF=L/x.htm>");
  EXPECT_EQ(converter.values, Strings({"x.htm"}));
}

TEST(HtmlConverterTest, AbsoluteFormForPrinting) {
  const QNLinkConverter local = [](const QNLinkToConvert& link) -> std::optional<std::string> {
    EXPECT_EQ(link.form, QNLinkForm::Absolute);
    return "C:\\site\\" + std::string(link.value);
  };
  bool ok = false;
  EXPECT_EQ(ConvertPage("<A HREF=\"x.htm\">", local, QNLinkForm::Absolute, &ok),
            "<A HREF=\"file://C:/site/x.htm\">");
  EXPECT_TRUE(ok);
  // A frame set cannot be printed as one page.
  ConvertPage("<A HREF=x.htm><FRAME SRC=f.htm>", local, QNLinkForm::Absolute, &ok);
  EXPECT_FALSE(ok);
  test::PrefixConverter converter;
  EXPECT_EQ(ConvertPage("<FRAME SRC=f.htm>", converter.Function(), QNLinkForm::Relative, &ok),
            "<FRAME SRC=L/f.htm>");
  EXPECT_TRUE(ok);
}

TEST(HtmlConverterTest, NestedTagsAreConvertedInsideTheirOuterTag) {
  test::PrefixConverter converter;
  EXPECT_EQ(ConvertPage("<TD style=\"background:url(cell.gif)\">"
                        "<FORM ACTION=go.asp>\n<INPUT TYPE=image SRC=\"b.gif\">\n</FORM>",
                        converter.Function()),
            "<TD style=\"background:url(L/cell.gif)\">"
            "<FORM ACTION=L/go.asp>\n<INPUT TYPE=image SRC=\"L/b.gif\">\n</FORM>");
  // Submission addresses are offered to the converter but never occur in the text.
  CQNSettings settings;
  settings.ProcessForms = 1;
  test::PrefixConverter forms;
  const std::string form =
      "<FORM METHOD=POST ACTION=s.asp><SELECT NAME=n><OPTION>A</SELECT></FORM>";
  EXPECT_EQ(ConvertPage(form, forms.Function(), QNLinkForm::Relative, nullptr, settings), form);
  EXPECT_EQ(forms.values, Strings({"s.asp?qnpost.n=A"}));
}

TEST(HtmlConverterTest, SpliceReplacesOnlyDelimitedOccurrences) {
  std::string tag = "<A HREF=a.htm TITLE=\"old a.htm\" X=xa.htm Y='a.htm' Z=(a.htm) W=a.htmx>";
  EXPECT_TRUE(SpliceReplacement(tag, "a.htm", "new/a.htm"));
  EXPECT_EQ(tag,
            "<A HREF=new/a.htm TITLE=\"old new/a.htm\" X=xa.htm Y='new/a.htm' Z=(new/a.htm) "
            "W=a.htmx>");
  std::string quotes = "<IMG SRC=\"a.gif' ALT=(a.gif>";
  SpliceReplacement(quotes, "a.gif", "b.gif");
  EXPECT_EQ(quotes, "<IMG SRC=\"a.gif' ALT=(a.gif>");

  std::string same = "<A HREF=A.HTM>";
  EXPECT_TRUE(SpliceReplacement(same, "A.HTM", "a.htm"));
  EXPECT_EQ(same, "<A HREF=A.HTM>");
  EXPECT_FALSE(SpliceReplacement(same, "", "x"));

  // Many values at once give what one call per value gives.
  const std::string text =
      "<SCRIPT> a='x.gif'; b=\"y.gif\" c=(z.gif) d= x.gif e=xx.gif f='a b.gif' g=\"x.gif\"";
  const std::vector<std::pair<std::string, std::string>> replacements = {
      {"x.gif", "1.gif"},   {"y.gif", "2.gif"}, {"z.gif", "3.gif"},
      {"a b.gif", "4.gif"}, {"x.gif", "9.gif"}, {"q.gif", "Q.GIF"}};
  std::string together = text;
  SpliceAll(together, replacements);
  std::string oneByOne = text;
  for (const auto& [from, to] : replacements) SpliceReplacement(oneByOne, from, to);
  EXPECT_EQ(together, oneByOne);
  EXPECT_EQ(together,
            "<SCRIPT> a='1.gif'; b=\"2.gif\" c=(3.gif) d= 1.gif e=xx.gif f='4.gif' g=\"1.gif\"");
}

TEST(HtmlConverterTest, ScriptFiles) {
  test::PrefixConverter converter;
  std::istringstream in(
      "var a = 'pic.gif';\r\nfunction f() { return \"http://x/y.htm\"; }\r\n"
      "var s = 'plain';\n");
  std::ostringstream out;
  const QNConvertPage page{"http://host/dir/page.htm", "http://host/dir/", "/site/page.htm",
                           QNLinkForm::Relative};
  EXPECT_TRUE(ConvertScriptFile(in, out, page, {}, converter.Function()));
  EXPECT_EQ(out.str(),
            "var a = 'L/pic.gif';\r\nfunction f() { return \"L/http://x/y.htm\"; }\r\n"
            "var s = 'plain';\n");
}

}  // namespace
}  // namespace qn
