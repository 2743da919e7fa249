// Discovery in HTML pages: which tags are recognised, how values are read and
// cleaned, and which addresses reach the link table.

#include <gtest/gtest.h>

#include <sstream>

#include "ScanTestSupport.h"
#include "web/EntityTable.h"
#include "web/LineReader.h"
#include "web/LinkReporter.h"
#include "web/TagTable.h"
#include "web/TagWalk.h"

namespace qn {
namespace {

using test::ScanPage;
using Strings = std::vector<std::string>;

TEST(HtmlScannerTest, RecognisesTagsOnlyWithTheWordRule) {
  EXPECT_EQ(ScanPage("<a href=x.htm>").Texts(), Strings({"x.htm"}));
  EXPECT_EQ(ScanPage("<A HREF=X.HTM>").Addresses(), Strings({"http://host/dir/X.HTM"}));
  // No blank after the start token: not a tag.
  EXPECT_TRUE(ScanPage("<A>x.htm</A><ABBR title=y.htm>").links.empty());
  EXPECT_TRUE(ScanPage("<IMG\tSRC=a.gif>").links.empty());
  EXPECT_EQ(ScanPage("<IMG SRC=a.gif>").Texts(), Strings({"a.gif"}));
  // A tag name at the very end of a line counts, and the line joins the next.
  EXPECT_EQ(ScanPage("<IMG\nSRC=a.gif>").Texts(), Strings({"a.gif"}));
  EXPECT_EQ(ScanPage("<IMG\r\nSRC=b.gif>").Texts(), Strings({"b.gif"}));
}

TEST(HtmlScannerTest, AnchorsTakeTheirValueAndAddressLikePieces) {
  // An unquoted HREF is the link, not the first quoted string after it.
  EXPECT_EQ(ScanPage("<A HREF=x.htm TARGET=\"_top\">").Texts(), Strings({"x.htm"}));
  EXPECT_EQ(ScanPage("<A HREF=\"x.htm\" TARGET=\"_top\">").Texts(), Strings({"x.htm"}));
  EXPECT_EQ(ScanPage("<A HREF=javascript:openWindow('pop.htm')>").Texts(), Strings({"pop.htm"}));
  EXPECT_EQ(ScanPage("<A HREF=\"a.htm\" title='a picture' rel='c.htm'>").Texts(),
            Strings({"a.htm", "c.htm"}));
  EXPECT_EQ(ScanPage("<A HREF = 'a.htm' other.htm more.gif>").Texts(),
            Strings({"a.htm", "other.htm", "more.gif"}));
  // The "=" must follow HREF; an IMG inside the anchor text gives its SRC.
  EXPECT_TRUE(ScanPage("<A HREF x=\"y.htm\">").links.empty());
  EXPECT_EQ(ScanPage("<A NAME=top <IMG SRC=\"i.gif\">").Texts(), Strings({"i.gif"}));
  // Links the engine cannot follow are not reported.
  EXPECT_TRUE(ScanPage("<A HREF=\"mailto:me@host\">").links.empty());
  EXPECT_EQ(ScanPage("<A HREF=\"page.asp?t=10:30\">").Texts(), Strings({"page.asp?t=10:30"}));
}

TEST(HtmlScannerTest, EventAttributesNeedAnEnabledExtension) {
  EXPECT_EQ(ScanPage("<A HREF=\"a.htm\" onclick=\"window.open('pop.htm')\">").Texts(),
            Strings({"a.htm", "pop.htm"}));
  EXPECT_EQ(ScanPage("<BODY onload=\"img.src='b.gif'\">").Texts(), Strings({"b.gif"}));
  CQNSettings settings;
  test::DisableExtension(settings, "gif");
  EXPECT_TRUE(ScanPage("<BODY onload=\"img.src='b.gif'\">", settings).links.empty());
  // Strings with parentheses, "@" or ";" never look like addresses.
  EXPECT_TRUE(ScanPage("<BODY onload=\"go('a;b.htm')\">").links.empty());
  EXPECT_EQ(ScanPage("<AREA HREF=map1.htm onmouseover=\"s='http://x/y'\">").Texts(),
            Strings({"map1.htm", "http://x/y"}));
}

TEST(HtmlScannerTest, AttributeNamesAreWholeWords) {
  // SRC is not found inside LOWSRC, nor CODE inside CODEBASE.
  EXPECT_EQ(ScanPage("<IMG LOWSRC=low.gif SRC=high.gif>").Texts(),
            Strings({"high.gif", "low.gif"}));
  for (const char* page : {"<APPLET CODEBASE=\"classes\" CODE=\"Main.class\"></APPLET>",
                           "<APPLET CODE=Main.class CODEBASE=classes/></APPLET>"})
    EXPECT_EQ(ScanPage(page).Texts(), Strings({"classes/Main.class"})) << page;
  EXPECT_EQ(ScanPage("<APPLET CODE=Main.class CODEBASE=./ ></APPLET>").Texts(),
            Strings({"Main.class"}));
}

TEST(HtmlScannerTest, AppletObjectAndEmbedValues) {
  const auto applet = ScanPage(
      "<APPLET CODE=\"Game.class\" CODEBASE=\"http://cdn/j\">\n"
      "<PARAM NAME=\"value\" VALUE=\"level1.dat\">\n"
      "<PARAM NAME=bg VALUE=\"back.gif\">\n"
      "<PARAM NAME=n VALUE=\"7\">\n"
      "</APPLET>");
  EXPECT_EQ(applet.Texts(), Strings({"http://cdn/j/Game.class", "back.gif"}));

  const auto object = ScanPage(
      "<OBJECT CODEBASE=\"media/\" CODE=\"Player.class\" "
      "WIDTH=5><PARAM NAME=movie VALUE=\"intro.swf\"><EMBED SRC=\"intro.swf\"></OBJECT>");
  EXPECT_EQ(object.Texts(),
            Strings({"media/Player.class", "media/intro.swf", "intro.swf", "Player.class"}));

  // An attribute whose value cannot be read makes IMG, APPLET and OBJECT give up.
  EXPECT_TRUE(ScanPage("<IMG SRC=\"broken.gif LOWSRC=low.gif>").links.empty());
  EXPECT_TRUE(ScanPage("<EMBED WIDTH=3>").links.empty());
  EXPECT_EQ(ScanPage("<EMBED SRC=movie.swf>").Texts(), Strings({"movie.swf"}));
}

TEST(HtmlScannerTest, StyleUrlsFramesMetaRefreshAndTables) {
  EXPECT_EQ(ScanPage("<STYLE>body { background: URL(images/bg.gif) }</STYLE>").Texts(),
            Strings({"images/bg.gif"}));
  EXPECT_EQ(ScanPage("<P style=\"background:url('tile.png')\">").Texts(), Strings({"tile.png"}));

  const auto frames =
      ScanPage("<FRAMESET><FRAME SRC=\"left.htm\"><FRAME SRC=right.htm></FRAMESET>");
  ASSERT_EQ(frames.links.size(), 2u);
  EXPECT_EQ(frames.links[0].tag, kTagFrameSrc);
  EXPECT_EQ(frames.links[1].address, "http://host/dir/right.htm");

  const auto meta = ScanPage("<META HTTP-EQUIV=\"refresh\" CONTENT=\"5; URL=next.htm\">");
  EXPECT_EQ(meta.Texts(), Strings({"next.htm"}));
  EXPECT_EQ(meta.links[0].tag, kTagMeta);

  EXPECT_EQ(ScanPage("<TABLE BACKGROUND=\"t.jpg\"><TD BACKGROUND=c.gif TITLE=\"x.gif\">").Texts(),
            Strings({"t.jpg", "c.gif", "c.gif", "x.gif"}));
  // A style URL inside a cell is found by the scan of the cell's own text.
  EXPECT_EQ(ScanPage("<TD style=\"background:url(cell.gif)\">").Texts(), Strings({"cell.gif"}));
  EXPECT_EQ(ScanPage("<LINK REL=stylesheet HREF=\"site.css\"><BGSOUND SRC=tune.mid>").Texts(),
            Strings({"site.css", "tune.mid"}));
}

TEST(HtmlScannerTest, ScriptsAndInputs) {
  const auto script = ScanPage(
      "<SCRIPT SRC=\"lib.js\">\n"
      "var pics = ['a.gif', 'b.jpg', 'not a link'];\n"
      "var home = \"http://host/home\"; var e = \"x\\\";\n"
      "</SCRIPT>");
  EXPECT_EQ(script.Texts(), Strings({"lib.js", "http://host/home", "a.gif", "b.jpg"}));
  EXPECT_TRUE(ScanPage("<SCRIPT>var x = 'plain';</SCRIPT>").links.empty());

  EXPECT_EQ(ScanPage("<INPUT TYPE=image SRC=\"go.gif\" onclick=\"f('next.htm')\">").Texts(),
            Strings({"go.gif", "next.htm", "next.htm"}));
  EXPECT_TRUE(ScanPage("<INPUT TYPE=text VALUE=\"hello\">").links.empty());
  EXPECT_EQ(ScanPage("<SELECT onchange=\"go('a.htm')\"><OPTION VALUE=\"b.htm\">B"
                     "<OPTION VALUE=\"nodot\">C</SELECT>")
                .Texts(),
            Strings({"a.htm", "b.htm"}));
}

TEST(HtmlScannerTest, CommentsAreSkipped) {
  EXPECT_TRUE(ScanPage("<!-- <A HREF=in.htm> -->").links.empty());
  EXPECT_TRUE(ScanPage("<!--\n<A HREF=in.htm>\n-->").links.empty());
  // Without a blank after "<!--" there is no comment tag.
  EXPECT_EQ(ScanPage("<!--<A HREF=in.htm>-->").Texts(), Strings({"in.htm"}));
  // Comments inside a tag's text are removed before its values are read, except
  // inside a script.
  EXPECT_EQ(ScanPage("<APPLET <!-- CODE=no.class --> CODE=yes.class></APPLET>").Texts(),
            Strings({"yes.class"}));
  EXPECT_EQ(ScanPage("<FORM ACTION=a.asp><SCRIPT LANGUAGE=js> <!-- var i='in.gif'; --> "
                     "</SCRIPT><!-- <IMG SRC=out.gif> --></FORM>")
                .Texts(),
            Strings({"a.asp", "in.gif", "in.gif"}));
}

TEST(HtmlScannerTest, LinesJoinAndUnterminatedTagsAreSkipped) {
  // An unquoted value at the end of a line is glued to the first word of the next.
  EXPECT_EQ(ScanPage("<A HREF=dir/\npage.htm>").Texts(), Strings({"dir/page.htm"}));
  // A tag without an end is skipped and the rest is still scanned.
  EXPECT_EQ(ScanPage("<APPLET CODE=x.class>\n<IMG SRC=after.gif>\n").Texts(),
            Strings({"after.gif"}));
  EXPECT_EQ(ScanPage("url(never.gif\n<IMG SRC=after.gif>\n<IMG SRC=\"last.gif\">").Texts(),
            Strings({"after.gif", "last.gif"}));
  // Tags that end in a later line.
  EXPECT_EQ(ScanPage("<FORM ACTION=go.asp>\n<INPUT NAME=q>\n</FORM>\n<IMG SRC=z.gif>").Texts(),
            Strings({"go.asp", "z.gif"}));
}

TEST(HtmlScannerTest, RestartsEndAfterTheirLimit) {
  std::string page;
  for (int i = 0; i < kMaxRestarts; ++i) page += "url(x.gif ";
  const std::string tail = "\n<IMG SRC=late.gif>\n";
  EXPECT_EQ(ScanPage(page + tail).Texts(), Strings({"late.gif"}));
  EXPECT_TRUE(ScanPage(page + "url(y.gif " + tail).links.empty());
}

TEST(HtmlScannerTest, ValuesAreCleaned) {
  EXPECT_EQ(ScanPage("<A HREF=\"a.htm?x=1&amp;y=2\">").Texts(), Strings({"a.htm?x=1&y=2"}));
  EXPECT_EQ(ScanPage("<A HREF=\"&#65;.htm\">").Texts(), Strings({"A.htm"}));
  EXPECT_EQ(ScanPage("<A HREF=\"&#x41;.htm\">").Texts(), Strings({"&#x41;.htm"}));
  EXPECT_EQ(ScanPage("<A HREF=\"in\tdex.htm\">").Texts(), Strings({"index.htm"}));
  const auto longValue = ScanPage("<A HREF=\"" + std::string(3000, 'a') + ".htm\">");
  ASSERT_EQ(longValue.links.size(), 1u);
  EXPECT_EQ(longValue.links[0].text.size(), 1039u);

  std::string text = "&amp;lt; &quot;x&quot; &eacute; &#233; &#0; &#65 ;z &#256;";
  DecodeEntities(text);
  EXPECT_EQ(text, std::string("< \"x\" \xE9 \xE9 &#0; Az ") + '\0');
  // A value with a zero byte is no address.
  EXPECT_FALSE(CleanLinkValue(std::string("a\0b.htm", 7)).has_value());
}

TEST(HtmlScannerTest, BaseTagsChangeTheBaseDirectory) {
  const auto page = ScanPage(
      "<A HREF=one.htm><BASE HREF=\"http://other/dir/\"><A HREF=two.htm>"
      "<BASE HREF=\"sub/\"><A HREF=three.htm><BASE HREF=\"\"><A HREF=#top>");
  EXPECT_EQ(page.Addresses(),
            Strings({"http://host/dir/one.htm", "http://other/dir/two.htm",
                     "http://other/dir/sub/three.htm", "http://other/dir/sub/page.htm#top"}));
  // The link table learns each base as an absolute address.
  std::vector<std::string> bases;
  for (const auto& link : page.links)
    if (link.tag == kTagBaseHref) bases.push_back(link.text);
  EXPECT_EQ(bases, Strings({"http://other/dir/", "http://other/dir/sub/"}));
}

TEST(HtmlScannerTest, TitlesAndTheScanFrame) {
  const auto page = ScanPage("<TITLE>Caf&eacute; &amp; more</TITLE><A HREF=x/>");
  EXPECT_EQ(page.titles, Strings({"Caf\xE9 & more"}));
  ASSERT_EQ(page.links.size(), 1u);
  EXPECT_EQ(page.links[0].title, "http://host/dir/x/");
  EXPECT_EQ(page.analyzing, 1);
  EXPECT_EQ(page.analysed, 1);

  EXPECT_EQ(ComposePageTitle("page.htm", "Home"), "Home (page.htm)");
  EXPECT_FALSE(ComposePageTitle("Home (page.htm)", "Home"));
  EXPECT_FALSE(ComposePageTitle("", "Home"));
  EXPECT_FALSE(ComposePageTitle("page.htm", ""));

  test::RecordingSink sink;
  CQNSettings settings;
  EXPECT_FALSE(ScanHtmlFile(test::kPageAddress, "/nonexistent/qn/page.htm", settings, {}, sink));
  EXPECT_EQ(sink.analyzing, 0);
}

TEST(HtmlScannerTest, StopFlagAndThrottleAreHonoured) {
  std::string page;
  for (int i = 0; i < 250; ++i) page += "<A HREF=p" + std::to_string(i) + ".htm>\n";
  int polls = 0;
  QNScanControl stopAfterTen{[&polls] { return ++polls > 10; }, {}};
  test::RecordingSink sink;
  std::istringstream in(page);
  EXPECT_FALSE(ScanHtml(in, test::kPageAddress, {}, stopAfterTen, sink));
  EXPECT_LT(sink.links.size(), 250u);
  EXPECT_EQ(sink.analysed, 1);

  // The speed is asked after every tag and every 100 lines; at full speed nothing waits.
  int asked = 0;
  QNScanControl full{{}, [&asked] {
                       ++asked;
                       return 10;
                     }};
  EXPECT_EQ(ScanPage(page, {}, test::kPageAddress, full).links.size(), 250u);
  EXPECT_EQ(asked, 252);
}

TEST(HtmlScannerTest, LinePreparation) {
  const auto prepared = [](std::string line) {
    PrepareLine(line);
    return line;
  };
  EXPECT_EQ(prepared("<IMG\rSRC=a.gif>\n"), "<IMG SRC=a.gif>");
  EXPECT_EQ(prepared("a\rb<x\r"), "ab<x");
  EXPECT_EQ(prepared("<A;\rx"), "<A; x");
  EXPECT_EQ(prepared("text <IMG\n"), "text <IMG ");
  EXPECT_EQ(prepared("<b>more\n"), "<b>more");
  EXPECT_EQ(prepared("<TITLE>Home\n"), "<TITLE>Home ");
  EXPECT_EQ(prepared("\n"), "");

  // Lines are read in pieces of the 4160-byte buffer.
  std::istringstream in(std::string(5000, 'x') + "\r\nend");
  QNLineReader reader(in, true);
  std::string line;
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line.size(), kLineBufferSize - 1);
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line, std::string(5000 - (kLineBufferSize - 1), 'x') + "\n");
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line, "end");
  EXPECT_FALSE(reader.Next(line));

  // A piece never ends inside a start token, nor right after one.
  for (const std::string tail : {"<", "<i", "<IMG", "url", "<tITLE>"}) {
    std::istringstream cut(std::string(kLineBufferSize - 1 - tail.size(), 'x') + tail + " SRC");
    QNLineReader pieces(cut, false);
    ASSERT_TRUE(pieces.Next(line));
    EXPECT_EQ(line.size(), kLineBufferSize - 1 - tail.size()) << tail;
    ASSERT_TRUE(pieces.Next(line));
    EXPECT_EQ(line, tail + " SRC");
  }
}

TEST(HtmlScannerTest, ScanKinds) {
  EXPECT_EQ(ScanKindFor(kCatHtml, "/s/x.gif"), QNScanKind::Html);
  EXPECT_EQ(ScanKindFor(kCatJava, "/s/lib.JS"), QNScanKind::Script);
  EXPECT_EQ(ScanKindFor(kCatJava, "/s/Main.class"), QNScanKind::Binary);
  EXPECT_EQ(ScanKindFor(kCatOther, "/s/movie.swf"), QNScanKind::Binary);
  EXPECT_EQ(ScanKindFor(kCatOther, "/s/data.json"), QNScanKind::None);
  EXPECT_EQ(ScanKindFor(kCatImage, "/s.js/readme"), QNScanKind::None);
}

}  // namespace
}  // namespace qn
