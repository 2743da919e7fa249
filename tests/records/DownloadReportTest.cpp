// The download report: its path, the fragments it appends, escaping of values that
// come from outside, and the logo written beside it.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "records/DocTree.h"
#include "records/ReportLogo.h"
#include "settings/FileTypes.h"
#include "settings/ProjectSettings.h"
#include "storage/DownloadReport.h"
#include "support/TempDir.h"
#include "text/TimeText.h"

namespace qn {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

std::tm Jan7th2001() {
  std::tm t{};
  t.tm_year = 101;
  t.tm_mon = 0;
  t.tm_mday = 7;
  t.tm_hour = 9;
  return t;
}

TEST(ReportPathTest, PlaceholdersAndTitle) {
  EXPECT_EQ(ReportPathFor("/sites/[%d]", "News", Jan7th2001()),
            "/sites/010701/_QNReport/News_Report.htm");
  EXPECT_EQ(ReportPathFor("/sites/News/", "News", Jan7th2001()),
            "/sites/News/_QNReport/News_Report.htm");
  // A title never names a file outside the report folder.
  EXPECT_EQ(ReportPathFor("/s", "../../etc/x", Jan7th2001()),
            "/s/_QNReport/_._.._etc_x_Report.htm");
  EXPECT_EQ(ReportPathFor("", "News", Jan7th2001()), "");
}

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    settings.QN_REPORT = 1;
    settings.QN_PROJECT_DIR = (dir / "[%d]").string();
    settings.QN_TITLE = "News";
    settings.QN_START_URL[0] = "http://host/";
    settings.QN_START_URL[1] = "http://two/";
    settings.StartUrlCount = 2;
    node.SetUrl("http://host/a.htm");
    node.type = kCatHtml;
    node.level = 2;
  }
  test::TempDir dir;
  CQNSettings settings;
  CQNDownloadReport report{QNTexts()};
  CQNDocNode node;
  fs::path path() const { return dir / "010701/_QNReport/News_Report.htm"; }
};

TEST_F(ReportTest, StartMakesFoldersFileAndLogo) {
  ASSERT_TRUE(report.Start(settings, Jan7th2001()));
  EXPECT_EQ(report.Path(), path().string());
  EXPECT_TRUE(report.Exists());
  EXPECT_EQ(ReadFile(path()), "");
  EXPECT_EQ(ReadFile(path().parent_path() / "qnlogo.gif"), ReportLogoGif());
  // A new download truncates the old report.
  report.WriteEnd();
  ASSERT_TRUE(report.Start(settings, Jan7th2001()));
  EXPECT_EQ(ReadFile(path()), "");
}

TEST_F(ReportTest, SettingOffMakesNothing) {
  settings.QN_REPORT = 0;
  EXPECT_TRUE(report.Start(settings, Jan7th2001()));
  EXPECT_FALSE(report.Exists());
  EXPECT_FALSE(fs::exists(dir / "010701"));
  report.WriteEnd();
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(ReportTest, ReportThatCannotBeMadeIsNeverWritten) {
  test::WriteFile(dir / "blocker", "a file where the folder should be");
  settings.QN_PROJECT_DIR = (dir / "blocker").string();
  EXPECT_FALSE(report.Start(settings, Jan7th2001()));
  report.WriteEnd();
  EXPECT_FALSE(report.Exists());
  // A report deleted after its start is not made again by an append.
  ASSERT_TRUE(report.StartAt((dir / "r.htm").string()));
  fs::remove(dir / "r.htm");
  report.WriteEnd();
  EXPECT_FALSE(fs::exists(dir / "r.htm"));
}

TEST_F(ReportTest, HeaderFragmentsExactly) {
  const QNReportHeader header =
      MakeReportHeader(settings, "/p/News.qnp", "9:00 AM, January 7, 2001");
  EXPECT_EQ(header.startAddresses, std::vector<std::string>{"http://host/"});
  const std::string text = report.HeaderText(header);
  const std::string head =
      "<HTML>\r\n<HEAD>\r\n\t<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;\">\r\n"
      "\t<META NAME=\"Generator\" CONTENT=\"Quillorne v2.8a\">\r\n"
      "\t<TITLE>Quillorne Download Report</TITLE>\r\n</HEAD>\r\n<BODY>\r\n\r\n"
      "<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
      ".clsHeading {\r\n   font-family:Arial;\r\n   font-size:16pt;\r\n   font-weight:bold; }\r\n"
      "TD.clsTitle {\r\n   vertical-align:top;\r\n   background-color:#FFFFFF;\r\n   padding:1px;"
      "\r\n   font-size:8pt;\r\n   font-family:Arial; }\r\n"
      "TD.clsTitleB {\r\n   vertical-align:top;\r\n   background-color:#FFFFFF;\r\n   padding:1px;"
      "\r\n   font-size:8pt;\r\n   font-family:Arial;\r\n   font-weight:bold; }\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  const std::string project =
      "-->\r\n</STYLE>\r\n\r\n"
      "<TABLE>\r\n<TR>\r\n<TD class=\"clsTitle\" WIDTH=\"120\"><IMG SRC=\"qnlogo.gif\" "
      "ALIGN=\"top\"></TD>\r\n<TD class=\"clsTitle\"><DIV class=clsHeading>Download Report</DIV>"
      "</TD>\r\n</TR>\r\n</TABLE>\r\n\r\n<TABLE CELLSPACING=\"1\" CELLPADDING=\"0\">\r\n<TR>\r\n"
      "<TD class=\"clsTitleB\" WIDTH=\"120\">Project:</TD>\r\n<TD class=\"clsTitle\">/p/News.qnp"
      "</TD>\r\n</TR>\r\n<TR>\r\n<TD class=\"clsTitleB\">Title:</TD>\r\n<TD class=\"clsTitle\">"
      "News</TD>\r\n</TR>\r\n<TR>\r\n<TD class=\"clsTitleB\">URL:</TD>\r\n<TD class=\"clsTitle\">"
      "http://host/</TD>\r\n</TR>\r\n<TR>\r\n<TD class=\"clsTitleB\">Directory:</TD>\r\n"
      "<TD class=\"clsTitle\">" +
      dir.str() +
      "/[%d]</TD>\r\n</TR>\r\n<TR>\r\n<TD class=\"clsTitleB\">Started:</TD>\r\n"
      "<TD class=\"clsTitle\">9:00 AM, January 7, 2001</TD>\r\n</TR>\r\n</TABLE>\r\n\r\n"
      "<BR>\r\n\r\n<TABLE>\r\n<TR>\r\n<TH WIDTH=\"10%\"><B>Status</B></TH>\r\n"
      "<TH WIDTH=\"40%\"><B>URL</B></TH>\r\n<TH WIDTH=\"10%\"><B>File Type</B></TH>\r\n"
      "<TH WIDTH=\"10%\"><B>Size</B></TH>\r\n<TH WIDTH=\"15%\"><B>Modified</B></TH>\r\n"
      "<TH WIDTH=\"5%\"><B>Level</B></TH>\r\n</TR>\r\n\r\n";
  ASSERT_GE(text.size(), project.size());
  EXPECT_EQ(text.substr(text.size() - project.size()), project);
  EXPECT_NE(text.find("BODY {\r\n   font-size:8pt;\r\n   font-family:Arial; }\r\n-->"),
            std::string::npos);
  // All start addresses when not in single-address mode.
  settings.QN_SINGLE_URL = 0;
  EXPECT_EQ(MakeReportHeader(settings, "", "").startAddresses,
            (std::vector<std::string>{"http://host/", "http://two/"}));
}

TEST_F(ReportTest, RowsForEveryOutcome) {
  auto row = [](const char* status, const std::string& url, const char* type, const char* size,
                const std::string& modified, const char* level) {
    return "<TR>\r\n<TD><CENTER>" + std::string(status) + "</CENTER></TD>\r\n<TD>" + url +
           "</TD>\r\n<TD><CENTER>" + type + "</CENTER></TD>\r\n<TD><CENTER>" + size +
           "</CENTER></TD>\r\n<TD><CENTER>" + modified + "</CENTER></TD>\r\n<TD><CENTER>" + level +
           "</CENTER></TD>\r\n</TR>\r\n\r\n";
  };
  const std::time_t when = 978858000;
  std::tm local{};
  localtime_r(&when, &local);
  const std::string whenText = FormatTimeText(QNTexts(), local, LocaleUses24HourClock());

  QNReportEntry downloaded{&node, "", false, 0, kReportDownloaded, when, 2048};
  EXPECT_EQ(report.RowText(downloaded),
            row("Downloaded", "http://host/a.htm", "HTML", "2.0 KB", whenText, "2"));
  QNReportEntry skipped{&node, "", false, 0, kReportSkipped, std::nullopt, 0};
  EXPECT_EQ(report.RowText(skipped),
            row("Skipped", "http://host/a.htm", "HTML", "0 bytes", "&nbsp;", "2"));
  QNReportEntry unchanged{&node, "", false, 0, kReportUnchanged, when, 10};
  EXPECT_EQ(report.RowText(unchanged),
            row("Unchanged", "http://host/a.htm", "HTML", "10 bytes", whenText, "2"));
  // A failure without a node: the row's own address, no type and no level.
  QNReportEntry failed{nullptr, "http://host/x.htm", true, 404, kReportDownloaded, {}, 0};
  EXPECT_EQ(report.RowText(failed),
            row("Error 404", "http://host/x.htm", "&nbsp;", "0 bytes", "&nbsp;", "&nbsp;"));
  // A type without a name leaves the column empty.
  node.type = 0;
  EXPECT_EQ(report.RowText(skipped),
            row("Skipped", "http://host/a.htm", "", "0 bytes", "&nbsp;", "2"));
}

TEST_F(ReportTest, ValuesFromOutsideAreEscaped) {
  QNReportEntry hostile{
      nullptr, "http://evil/<script>alert('x')</script>?a=1&b=\"2\"", true, 500, 0, {}, 0};
  const std::string text = report.RowText(hostile);
  EXPECT_EQ(text.find("<script"), std::string::npos);
  EXPECT_NE(text.find("<TD>http://evil/&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;?a=1&amp;"
                      "b=&quot;2&quot;</TD>"),
            std::string::npos);
  settings.QN_TITLE = "<b>News</b>";
  settings.QN_START_URL[0] = "http://h/\"><img src=x onerror=alert(1)>";
  const std::string header = report.HeaderText(MakeReportHeader(settings, "/p/a&b.qnp", "now"));
  EXPECT_EQ(header.find("<b>"), std::string::npos);
  EXPECT_EQ(header.find("<img"), std::string::npos);
  EXPECT_NE(header.find("&lt;b&gt;News&lt;/b&gt;"), std::string::npos);
  EXPECT_NE(header.find("/p/a&amp;b.qnp"), std::string::npos);
}

TEST_F(ReportTest, TheLoginPasswordIsMasked) {
  settings.QN_PASSWORD = "pw&1";
  ASSERT_TRUE(report.Start(settings, Jan7th2001()));
  node.SetUrl("http://host/login.asp?qnlogin.user=ann&pass=pw&1");
  QNReportEntry login{&node, "", true, 404, kReportDownloaded, std::nullopt, 0};
  const std::string text = report.RowText(login);
  EXPECT_EQ(text.find("pw&amp;1"), std::string::npos) << text;
  EXPECT_NE(text.find("<TD>http://host/login.asp?qnlogin.user=ann&amp;pass=*****</TD>"),
            std::string::npos)
      << text;
}

TEST_F(ReportTest, AppendsInOrderThenTheEnd) {
  ASSERT_TRUE(report.Start(settings, Jan7th2001()));
  const QNReportHeader header = MakeReportHeader(settings, "/p/News.qnp", "now");
  report.WriteHeader(header);
  QNReportEntry skipped{&node, "", false, 0, kReportSkipped, std::nullopt, 0};
  report.WriteRow(skipped);
  report.WriteEnd();
  EXPECT_EQ(ReadFile(path()), report.HeaderText(header) + report.RowText(skipped) +
                                  "</TABLE>\r\n\r\n</BODY>\r\n</HTML>\r\n\r\n");
}

// Decodes the GIF's LZW data and checks every pixel is one of the palette's colours.
TEST(ReportLogoTest, IsAWellFormedGif) {
  const std::string gif = ReportLogoGif();
  ASSERT_GT(gif.size(), 40u);
  EXPECT_EQ(gif.substr(0, 6), "GIF89a");
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gif.at(i)); };
  const int width = byte(6) | byte(7) << 8, height = byte(8) | byte(9) << 8;
  EXPECT_EQ(width, 32);
  EXPECT_EQ(height, 32);
  ASSERT_EQ(byte(10) & 0x80, 0x80);
  const std::size_t colours = 2u << (byte(10) & 7);
  std::size_t at = 13 + 3 * colours;
  ASSERT_EQ(gif.at(at), ',');
  at += 10;
  const int minCode = byte(at++);
  std::vector<unsigned char> data;
  while (byte(at) != 0) {
    const std::size_t n = byte(at);
    data.insert(data.end(), gif.begin() + at + 1, gif.begin() + at + 1 + n);
    at += n + 1;
  }
  EXPECT_EQ(gif.substr(at), std::string("\0;", 2));

  const int clear = 1 << minCode, end = clear + 1;
  std::vector<std::vector<unsigned char>> table;
  std::vector<unsigned char> pixels, previous;
  int width_bits = minCode + 1;
  std::size_t bit = 0;
  for (;;) {
    ASSERT_LE(bit + width_bits, data.size() * 8) << "data ends before the end code";
    int code = 0;
    for (int i = 0; i < width_bits; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    if (code == clear) {
      table.clear();
      for (int i = 0; i < clear + 2; ++i) table.push_back({static_cast<unsigned char>(i)});
      width_bits = minCode + 1;
      previous.clear();
      continue;
    }
    if (code == end) break;
    ASSERT_FALSE(table.empty()) << "data starts without a clear code";
    std::vector<unsigned char> entry;
    if (code < static_cast<int>(table.size())) {
      entry = table[code];
    } else {
      ASSERT_EQ(code, static_cast<int>(table.size()));
      ASSERT_FALSE(previous.empty());
      entry = previous;
      entry.push_back(previous[0]);
    }
    if (!previous.empty()) {
      std::vector<unsigned char> added = previous;
      added.push_back(entry[0]);
      table.push_back(added);
      if (table.size() == (1u << width_bits) && width_bits < 12) ++width_bits;
    }
    pixels.insert(pixels.end(), entry.begin(), entry.end());
    previous = entry;
  }
  ASSERT_EQ(pixels.size(), static_cast<std::size_t>(width * height));
  for (unsigned char p : pixels) EXPECT_LT(p, colours);
  // The picture is more than a blank tile.
  EXPECT_GE(std::set<unsigned char>(pixels.begin(), pixels.end()).size(), 3u);
}

}  // namespace
}  // namespace qn
