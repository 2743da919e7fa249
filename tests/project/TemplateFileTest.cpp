#include <gtest/gtest.h>

#include <sstream>

#include "settings/TemplateFile.h"
#include "support/TempDir.h"

namespace qn {
namespace {

CQNSettings Defaults() {
  CQNSettings s;
  s.ResetToDefaults("", "/opt/qn");
  return s;
}

bool Read(const std::string& text, CQNSettings& s) {
  std::istringstream in(text);
  return ReadTemplate(in, s);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

TEST(TemplateFile, DefaultsWriteHeaderAndOneLinePerSettingInKeyOrder) {
  const auto lines = Lines(FormatTemplate(Defaults()));
  // Header, one start address, the single settings, the crawling settings.
  ASSERT_EQ(lines.size(), 4u + 1 + 43 + 5);
  EXPECT_EQ(lines[0], std::string(77, '/'));
  EXPECT_EQ(lines[1], "// Quillorne Template");
  EXPECT_EQ(lines[2], "//");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "QN_START_URL \t\t\"\"");
  EXPECT_EQ(lines[5], "QN_SINGLE_URL \t\t1");
  EXPECT_EQ(lines[8], "QN_PROJECT_DIR \t\t\"/opt/qn/Download/\"");
  EXPECT_EQ(lines[10], "QN_THREADS \t\t5");
  EXPECT_EQ(lines[14], "QN_MAX_DS \t\t31457280.000000");
  EXPECT_EQ(lines[23], "QN_TR_UPDATE \t\t3");
  EXPECT_EQ(lines[24], "QN_TR_HTML \t\t0");  // 511, all files
  EXPECT_EQ(lines[42], "QN_AGENTID \t\t\"Quillorne v2.8a\"");
  EXPECT_EQ(lines[43], "QN_DEFFNAME \t\t\"default.htm\"");
  EXPECT_EQ(lines[47], "QN_FASTPARSE \t\t1");
  const std::vector<std::string> crawling(lines.end() - 5, lines.end());
  EXPECT_EQ(crawling,
            (std::vector<std::string>{"QN_ROBOTS \t\t0", "QN_DELAY_MS \t\t0", "QN_LIM_CONN \t\t0",
                                      "QN_MAX_CONN \t\t2", "QN_COOKIES \t\t\"\""}));
}

TEST(TemplateFile, ExtensionAndFilterLinesHoldOnlyTheDifferences) {
  CQNSettings s = Defaults();
  auto& images = s.QN_FILE_EXT[1];
  images.erase(images.begin() + 4);  // bmp
  images.push_back({"heic", 1, 1, 2097152.0, 0, 0});
  s.QN_FILE_EXT[5][1].enabled = 0;  // pdf
  s.QN_FILE_EXT[7].push_back({"bin", 0});
  std::erase_if(s.QN_FILE_EXT[7], [](const CQNExtEntry& e) { return e.extension == "eot"; });
  s.QN_URL_FILTER.push_back({0, 1, "ads.example.com", "", ""});
  s.QN_URL_FILTER.push_back({1, 15, "*", "docs", "*.pdf"});
  const auto lines = Lines(FormatTemplate(s));
  const std::vector<std::string> tail(lines.end() - 7, lines.end());
  EXPECT_EQ(tail[0], "QN_FILE_EXT \t\t 2 1 \"heic\" 0.000000 2097152.000000");
  EXPECT_EQ(tail[1], "QN_FILE_EXT \t\t 2 2 \"bmp\"");
  EXPECT_EQ(tail[2], "QN_FILE_EXT \t\t128 0 \"pdf\" 0.000000 0.000000");
  EXPECT_EQ(tail[3], "QN_FILE_EXT \t\t64 0 \"bin\" 0.000000 0.000000");
  // A later default that was removed is written like any other default.
  EXPECT_EQ(tail[4], "QN_FILE_EXT \t\t64 2 \"eot\"");
  EXPECT_EQ(tail[5], "QN_URL_FILTER \t\t0  1 \"ads.example.com\" \t\"\" \t\"\"");
  EXPECT_EQ(tail[6], "QN_URL_FILTER \t\t1 15 \"*\" \t\"docs\" \t\"*.pdf\"");
}

TEST(TemplateFile, RoundTripKeepsEveryCarriedSetting) {
  CQNSettings s = Defaults();
  s.QN_SINGLE_URL = 0;
  s.StartUrlCount = 3;
  s.QN_START_URL[0] = "http://a.example/";
  s.QN_START_URL[1] = "http://b.example/x/";
  s.QN_START_URL[2] = "ftp://c.example/pub/";
  s.QN_USER_ID = "user";
  s.QN_PASSWORD = "pa ss";
  s.QN_PROJECT_DIR = "/data/sites/";
  s.QN_TITLE = "My Site";
  s.QN_THREADS = 12;
  s.QN_FILE_TYPES = 3;
  s.QN_OFFSITE = 1;
  s.QN_LIM_DS = 0;
  s.QN_MAX_DS = 1.5 * 1048576;
  s.QN_MAX_FQ = 70000;
  s.QN_LIM_MINFS = 1;
  s.QN_MAX_MINFS = 2048;
  s.QN_MAX_TIME = 7;
  s.QN_TR_UPDATE = 1;
  s.QN_TR_HTML = 1;
  s.QN_TR_MAX_F = 70000;  // a template keeps the whole value
  s.QN_DIRSTR = 2;
  s.QN_TIMEOUT = 600;
  s.QN_LIM_L = 1;
  s.QN_MAX_L = 0;
  s.QN_PROTOCOL = 5;
  s.AgentKind = 2;
  s.AgentVersion = 5500;
  s.QN_DEFFNAME = "index.html";
  s.QN_REPORT = 1;
  s.QN_FASTPARSE = 0;
  s.QN_FILE_EXT[1].erase(s.QN_FILE_EXT[1].begin());  // gif
  s.QN_FILE_EXT[6][0].minOn = 1;                     // zip
  s.QN_FILE_EXT[6][0].min = 100;
  s.QN_FILE_EXT[7].push_back({"iso", 0, 1, 4e9, 0, 0});
  s.QN_URL_FILTER.push_back({1, 2, "*.example", "a*", ""});

  CQNSettings t = Defaults();
  ASSERT_TRUE(Read(FormatTemplate(s), t));
  EXPECT_TRUE(t.IsEqual(s)) << FormatTemplate(t);
}

TEST(TemplateFile, AdjustmentsOnReading) {
  CQNSettings s = Defaults();
  s.QN_SINGLE_URL = 1;
  s.StartUrlCount = 2;
  s.QN_START_URL[1] = "http://second/";
  const std::string text = FormatTemplate(s);
  EXPECT_EQ(text.find("QN_START_URL", text.find("QN_START_URL") + 1), std::string::npos)
      << "a single-site template names one start address";

  CQNSettings t = Defaults();
  ASSERT_TRUE(Read(text, t));
  EXPECT_EQ(t.QN_TR_UPDATE, 2);  // 3 reads as 2
  EXPECT_EQ(t.QN_TR_HTML, 511);  // written as 0
  EXPECT_EQ(t.StartUrlCount, 1);

  ASSERT_TRUE(Read("QN_TR_HTML 7\nQN_TR_UPDATE 1\n", t));
  EXPECT_EQ(t.QN_TR_HTML, 1);
  EXPECT_EQ(t.QN_TR_UPDATE, 1);
}

TEST(TemplateFile, ThreadsStayWithinOneToOneHundred) {
  CQNSettings s = Defaults();
  for (const auto& [line, threads] :
       std::vector<std::pair<std::string, int>>{{"QN_THREADS 0", 1},
                                                {"QN_THREADS -4", 1},
                                                {"QN_THREADS 101", 100},
                                                {"QN_THREADS 99999999999", 100},
                                                {"QN_THREADS 100", 100},
                                                {"QN_THREADS 1", 1}}) {
    ASSERT_TRUE(Read(line + "\r\n", s)) << line;
    EXPECT_EQ(s.QN_THREADS, threads) << line;
  }
}

TEST(TemplateFile, WithoutKnownKeysReadingFailsAndChangesOnlyTheStartCount) {
  CQNSettings s = Defaults();
  s.StartUrlCount = 3;
  s.QN_THREADS = 9;
  CQNSettings expected = s;
  expected.StartUrlCount = 1;
  EXPECT_FALSE(Read("// comment\r\n\r\n   \r\nQN_NOTHING 5\r\nQN_THREADSX 4\r\n", s));
  EXPECT_TRUE(s.IsEqual(expected));
  EXPECT_FALSE(Read("", s));
}

TEST(TemplateFile, StartAddressesOverwriteTheFirstSlots) {
  CQNSettings s = Defaults();
  s.StartUrlCount = 3;
  s.QN_START_URL = {"http://one/", "http://two/", "http://three/"};
  ASSERT_TRUE(Read("QN_THREADS 3\n", s));
  EXPECT_EQ(s.StartUrlCount, 1);
  EXPECT_EQ(s.QN_START_URL[0], "http://one/");

  ASSERT_TRUE(
      Read("QN_START_URL \"http://x/\"\nQN_START_URL \"http://y/\"\nQN_START_URL none\n", s));
  EXPECT_EQ(s.StartUrlCount, 2);  // a value without quotes is ignored
  EXPECT_EQ(s.QN_START_URL[0], "http://x/");
  EXPECT_EQ(s.QN_START_URL[1], "http://y/");
  EXPECT_EQ(s.QN_START_URL[2], "http://three/");

  std::string many;
  for (int i = 0; i < 120; ++i)
    many += "QN_START_URL \t\t\"http://h/" + std::to_string(i) + "\"\r\n";
  ASSERT_TRUE(Read(many, s));
  EXPECT_EQ(s.StartUrlCount, 100);
  EXPECT_EQ(s.QN_START_URL[99], "http://h/99");
}

TEST(TemplateFile, KeysWithoutCaseAndValueForms) {
  CQNSettings s = Defaults();
  ASSERT_TRUE(
      Read("qn_threads \t\t17\n"
           "  Qn_Title \t\t\"Say \"\"hi\"\" there  \"  trailing\n"
           "QN_USER_ID \t\t\"cut\"here\"\n"
           "QN_PASSWORD no quotes\n"
           "QN_RETRIES \t\tmany\n"
           "QN_MAX_MAXFS \t\t2.5e3 rest\n"
           "QN_MAX_TIME \t\t99999999999\n",
           s));
  EXPECT_EQ(s.QN_THREADS, 17);
  EXPECT_EQ(s.QN_TITLE, "Say \"\"hi\"\" there");
  EXPECT_EQ(s.QN_USER_ID, "cut");
  EXPECT_EQ(s.QN_PASSWORD, "");
  EXPECT_EQ(s.QN_RETRIES, 5);
  EXPECT_EQ(s.QN_MAX_MAXFS, 2500.0);
  EXPECT_EQ(s.QN_MAX_TIME, 2147483647);

  // A text value keeps at most 255 characters.
  s = Defaults();
  ASSERT_TRUE(Read("QN_DEFFNAME \"" + std::string(240, 'a') + "\"\n", s));
  EXPECT_EQ(s.QN_DEFFNAME, std::string(240, 'a'));
}

TEST(TemplateFile, TextWithQuoteOrBlankFilterDoesNotComeBackUnchanged) {
  CQNSettings s = Defaults();
  s.QN_TITLE = "A \"quoted\" word";
  s.QN_URL_FILTER.push_back({1, 15, "my server", "", ""});
  CQNSettings t = Defaults();
  ASSERT_TRUE(Read(FormatTemplate(s), t));
  EXPECT_EQ(t.QN_TITLE, "A");
  // The value is split into words at the blank.
  ASSERT_EQ(t.QN_URL_FILTER.size(), 1u);
  EXPECT_EQ(t.QN_URL_FILTER[0], (CQNUrlFilter{1, 15, "my", "server", ""}));
}

TEST(TemplateFile, LineBreaksInsideValuesCannotStartLinesOfTheirOwn) {
  CQNSettings s = Defaults();
  s.QN_TITLE = "Title\r\nQN_PROJECT_DIR \"/elsewhere/\"";
  CQNSettings t = Defaults();
  ASSERT_TRUE(Read(FormatTemplate(s), t));
  EXPECT_EQ(t.QN_PROJECT_DIR, s.QN_PROJECT_DIR);
  EXPECT_EQ(t.QN_TITLE, "Title  QN_PROJECT_DIR");
}

TEST(TemplateFile, LongLinesAreReadInPiecesOf255) {
  // A start address of 300 characters: the first piece holds the key and the start of
  // the value (no closing quote), the rest is a line of its own without a key.
  const std::string address = "http://h/" + std::string(291, 'p');
  CQNSettings s = Defaults();
  ASSERT_TRUE(Read("QN_START_URL \t\t\"" + address + "\"\r\nQN_THREADS 2\r\n", s));
  EXPECT_EQ(s.QN_START_URL[0], address.substr(0, 255 - 16));
  EXPECT_EQ(s.StartUrlCount, 1);
  EXPECT_EQ(s.QN_THREADS, 2);

  // A continuation that happens to start with a key counts as a line of its own.
  s = Defaults();
  ASSERT_TRUE(Read("QN_TITLE \"" + std::string(245, 't') + "QN_THREADS 44\n", s));
  EXPECT_EQ(s.QN_THREADS, 44);
}

TEST(TemplateFile, ExtensionLines) {
  CQNSettings s = Defaults();
  ASSERT_TRUE(
      Read("QN_FILE_EXT \t\t 2 2 \"gif\"\n"
           "QN_FILE_EXT \t\t 2 2 \"nothere\"\n"
           "QN_FILE_EXT \t\t64 1 \"foo\" 0.000000 0.000000\n"
           "QN_FILE_EXT \t\t64 0 \"BAR\" 10.5 -1\n"
           "QN_FILE_EXT \t\t128 0 \"PDF\"\n"
           "QN_FILE_EXT \t\t256 1 \"" +
               std::string(40, 'x') + "\" 1 2\n",
           s));
  EXPECT_EQ(s.QN_FILE_EXT[1].size(), DefaultExtensions(1).size() - 1);
  EXPECT_EQ(s.QN_FILE_EXT[1][0].extension, "jpg");
  const auto& other = s.QN_FILE_EXT[7];
  ASSERT_EQ(other.size(), DefaultExtensions(7).size() + 2);
  // An added extension written without limits comes back without limits: the 0 the
  // writer puts for a limit that is off is not a limit of 0 bytes.
  EXPECT_EQ(other[other.size() - 2], (CQNExtEntry{"foo", 1, 0, 0, 0, 0}));
  EXPECT_EQ(other.back(), (CQNExtEntry{"BAR", 0, 0, 0, 1, 10.5}));
  EXPECT_EQ(s.QN_FILE_EXT[5][1], (CQNExtEntry{"pdf", 0}));  // found without case
  EXPECT_EQ(s.QN_FILE_EXT[6].back(), (CQNExtEntry{std::string(32, 'x'), 1, 1, 2, 1, 1}));

  // Refused lines make the read fail; the good lines around them still apply.
  s = Defaults();
  EXPECT_FALSE(Read("QN_FILE_EXT 4 1 \"x\"\nQN_THREADS 8\nQN_FILE_EXT 2 1\n", s));
  EXPECT_EQ(s.QN_THREADS, 8);
  EXPECT_EQ(s.QN_FILE_EXT, CQNSettings().QN_FILE_EXT);
}

TEST(TemplateFile, FilterLinesAreNotDuplicated) {
  CQNSettings s = Defaults();
  const std::string line = "QN_URL_FILTER \t\t0  1 \"ads\" \t\"\" \t\"*.gif\"\n";
  ASSERT_TRUE(Read(line + line + line, s));
  ASSERT_EQ(s.QN_URL_FILTER.size(), 1u);
  EXPECT_EQ(s.QN_URL_FILTER[0], (CQNUrlFilter{0, 1, "ads", "", "*.gif"}));
  ASSERT_TRUE(Read(line, s));
  EXPECT_EQ(s.QN_URL_FILTER.size(), 1u);
  EXPECT_FALSE(Read("QN_URL_FILTER 1 2 \"a\" \"b\"\n", s));
}

TEST(TemplateFile, AgentIdentification) {
  CQNSettings s = Defaults();
  ASSERT_TRUE(Read("QN_AGENTID \t\t\"Mozilla/4.0 (Windows;) Opera 7.20 [en]\"\n", s));
  EXPECT_EQ(s.AgentKind, 4);
  EXPECT_EQ(s.AgentVersion, 7200);
  ASSERT_TRUE(Read("QN_AGENTID \t\t\"MyCrawler/1.0\"\n", s));
  EXPECT_EQ(s.AgentKind, 5);
  EXPECT_EQ(s.AgentString, "MyCrawler/1.0");
}

TEST(TemplateFile, FilesOnDisk) {
  test::TempDir dir;
  const std::string path = (dir / "t.qnt").string();
  CQNSettings s = Defaults();
  s.QN_TITLE = "On disk";
  std::string error;
  ASSERT_TRUE(WriteTemplateFile(path, s, error)) << error;
  EXPECT_EQ(test::ReadFile(path), FormatTemplate(s));
  CQNSettings t = Defaults();
  EXPECT_TRUE(ReadTemplateFile(path, t));
  EXPECT_EQ(t.QN_TITLE, "On disk");
  EXPECT_FALSE(ReadTemplateFile((dir / "missing.qnt").string(), t));
  EXPECT_FALSE(WriteTemplateFile((dir / "no/such/folder/t.qnt").string(), s, error));
  EXPECT_NE(error.find("no/such/folder/t.qnt"), std::string::npos);
}

}  // namespace
}  // namespace qn
