// Project files and templates written before the later default extensions and the
// crawling settings existed (the files in data/ were written by that code) read as
// they were written; new files keep what a reader of that time can read in front.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestPaths.h"
#include "project/ProjectFile.h"
#include "project/ProjectTestSupport.h"
#include "settings/TemplateFile.h"
#include "web/Address.h"

namespace qn {
namespace {

const std::filesystem::path kData =
    std::filesystem::path(QN_TEST_SOURCE_DIR) / "tests/project/data";

CQNSettings Defaults() {
  CQNSettings s;
  s.ResetToDefaults("", "/opt/qn");
  return s;
}

const CQNExtEntry* Entry(const CQNSettings& s, int index, std::string_view name) {
  for (const CQNExtEntry& e : s.QN_FILE_EXT[static_cast<std::size_t>(index)])
    if (e.extension == name) return &e;
  return nullptr;
}

int CategoryOf(const CQNSettings& s, std::string_view file) {
  return ClassifyAddress(std::string("http://h/") + std::string(file), s.QN_FILE_EXT, true)
      .category;
}

// What the older files hold: bmp removed and heic added (with a maximum of 1 MB) in
// Image, pdf disabled, svg added to Document, woff added to Other.
void ExpectOlderLists(const CQNSettings& s) {
  EXPECT_EQ(Entry(s, 1, "bmp"), nullptr);
  ASSERT_NE(Entry(s, 1, "heic"), nullptr);
  EXPECT_EQ(*Entry(s, 1, "heic"), (CQNExtEntry{"heic", 1, 1, 1048576.0, 0, 0}));
  ASSERT_NE(Entry(s, 5, "pdf"), nullptr);
  EXPECT_EQ(Entry(s, 5, "pdf")->enabled, 0);
  // svg stays where the file put it, not among the pictures it is a default of now.
  EXPECT_EQ(Entry(s, 1, "svg"), nullptr);
  EXPECT_EQ(CategoryOf(s, "logo.svg"), kCatDocument);
  EXPECT_EQ(CategoryOf(s, "a.woff"), kCatOther);
  // Every other type of today's web joins the lists.
  EXPECT_EQ(CategoryOf(s, "a.woff2"), kCatOther);
  EXPECT_EQ(CategoryOf(s, "a.webp"), kCatImage);
  EXPECT_EQ(CategoryOf(s, "clip.webm"), kCatVideo);
  EXPECT_EQ(CategoryOf(s, "app.wasm"), kCatJava);
  EXPECT_EQ(CategoryOf(s, "site.webmanifest"), kCatDocument);
  for (const auto& list : s.QN_FILE_EXT)
    for (const CQNExtEntry& e : list)
      if (e.extension != "heic") {
        EXPECT_EQ(e.maxOn + e.minOn, 0) << e.extension;
      }
}

void ExpectOlderSettings(const CQNSettings& s) {
  EXPECT_EQ(s.QN_START_URL[0], "http://www.example.org/docs/index.html");
  EXPECT_EQ(s.QN_TITLE, "Written before");
  EXPECT_EQ(s.QN_THREADS, 7);
  EXPECT_EQ(s.QN_LIM_L, 1);
  EXPECT_EQ(s.QN_MAX_L, 4);
  EXPECT_EQ(s.QN_UMETHOD, 1);
  EXPECT_EQ(s.QN_TIMEOUT, 30);
  ASSERT_EQ(s.QN_URL_FILTER.size(), 1u);
  EXPECT_EQ(s.QN_URL_FILTER[0], (CQNUrlFilter{0, 15, "ads.example.org", "", ""}));
  const CQNSettings defaults;
  EXPECT_EQ(s.QN_ROBOTS, defaults.QN_ROBOTS);
  EXPECT_EQ(s.QN_DELAY_MS, defaults.QN_DELAY_MS);
  EXPECT_EQ(s.QN_LIM_CONN, defaults.QN_LIM_CONN);
  EXPECT_EQ(s.QN_MAX_CONN, defaults.QN_MAX_CONN);
  EXPECT_EQ(s.QN_COOKIES, defaults.QN_COOKIES);
  ExpectOlderLists(s);
}

TEST(OlderFiles, ProjectReadsAsWritten) {
  const std::string path = (kData / "written-before.qnp").string();
  std::ifstream in(path, std::ios::binary);
  CQNSettings s = Defaults();
  CQNDocTree tree;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, path, s, tree, rec.messages));
  ExpectOlderSettings(s);
  EXPECT_EQ(s.DownloadDir, "/home/user/quillorne/Download/");
  ASSERT_EQ(tree.count, 1);
  const CQNDocNode* page = tree.root->firstChild;
  EXPECT_EQ(page->url, "http://www.example.org/docs/index.html");
  EXPECT_EQ(page->size.load(), 2048);
  EXPECT_TRUE(page->etag.empty());

  // Saved again and read back, it stays the same project.
  std::istringstream again(FormatProject(s, tree, path));
  CQNSettings t = Defaults();
  CQNDocTree tree2;
  ASSERT_TRUE(ReadProject(again, path, t, tree2, rec.messages));
  EXPECT_TRUE(t.IsEqual(s));
}

TEST(OlderFiles, TemplateReadsAsWritten) {
  CQNSettings s = Defaults();
  ASSERT_TRUE(ReadTemplateFile((kData / "written-before.qnt").string(), s));
  ExpectOlderSettings(s);

  // A template written now names the crawling keys, so that a later default the
  // user moved to another list is not taken for a file of that time.
  CQNSettings moved = Defaults();
  std::erase_if(moved.QN_FILE_EXT[1], [](const CQNExtEntry& e) { return e.extension == "svg"; });
  moved.QN_FILE_EXT[1].push_back({"svg", 0});
  moved.QN_DELAY_MS = 250;
  std::istringstream text(FormatTemplate(moved));
  CQNSettings read = Defaults();
  ASSERT_TRUE(ReadTemplate(text, read));
  EXPECT_EQ(Entry(read, 1, "svg")->enabled, 0);
  EXPECT_EQ(read.QN_DELAY_MS, 250);
}

// A reader of that time stops after block 4. What stands in front of the named
// records is a whole file for it: every setting it knows, the later defaults as
// added entries, and the size limits of block 4 on the right entries.
TEST(OlderFiles, NewFileEndsWithWhatAnOlderReaderSkips) {
  CQNSettings s = Defaults();
  s.QN_TITLE = "New";
  s.QN_FILE_EXT[1].push_back({"heic", 1, 1, 1048576.0, 0, 0});
  std::erase_if(s.QN_FILE_EXT[1], [](const CQNExtEntry& e) { return e.extension == "svg"; });
  s.QN_FILE_EXT[5].push_back({"svg", 1});
  s.QN_FILE_EXT[7][3].maxOn = 1;  // woff2
  s.QN_FILE_EXT[7][3].max = 65536;
  s.QN_ROBOTS = 1;
  s.QN_COOKIES = "/home/user/cookies.txt";
  s.QN_TR_UPDATE = 2;  // 3 is read as 2
  CQNDocTree tree;
  tree.CreateRoot("New");
  const std::string bytes = FormatProject(s, tree, "/p/new.qnp");
  const auto records = bytes.rfind(test::Bytes().Str("Crawling").str());
  ASSERT_NE(records, std::string::npos);

  std::istringstream front(bytes.substr(0, records));
  CQNSettings t = Defaults();
  CQNDocTree out;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(front, "/p/new.qnp", t, out, rec.messages));
  CQNSettings expected = s;
  expected.QN_ROBOTS = 0;
  expected.QN_COOKIES.clear();
  EXPECT_TRUE(t.IsEqual(expected));
  EXPECT_EQ(Entry(t, 7, "woff2")->max, 65536);

  std::istringstream whole(bytes);
  ASSERT_TRUE(ReadProject(whole, "/p/new.qnp", t, out, rec.messages));
  EXPECT_TRUE(t.IsEqual(s));
}

TEST(OlderFiles, NamedRecordsAreSkippedWhenUnknownAndNumbersKeptInRange) {
  CQNSettings s = Defaults();
  CQNDocTree tree;
  tree.CreateRoot("R");
  std::string bytes = FormatProject(s, tree, "/p/r.qnp");
  // A record of a later program, then crawling values out of their ranges.
  bytes += test::Bytes().Str("Unknown").Counted("anything").str();
  bytes += test::Bytes()
               .Str("Crawling")
               .Counted(test::Bytes().Int(7).Int(-5).Int(1).Int(1000).Str("x.txt").str())
               .str();
  std::istringstream in(bytes);
  CQNSettings t = Defaults();
  CQNDocTree out;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, "/p/r.qnp", t, out, rec.messages));
  EXPECT_EQ(t.QN_ROBOTS, 0);
  EXPECT_EQ(t.QN_DELAY_MS, 0);
  EXPECT_EQ(t.QN_LIM_CONN, 1);
  EXPECT_EQ(t.QN_MAX_CONN, kMaxConnectionsPerServer);
  EXPECT_EQ(t.QN_COOKIES, "x.txt");

  // A template (and so --set) keeps the numbers within the same ranges.
  std::istringstream text("QN_DELAY_MS \t\t999999\r\nQN_MAX_CONN \t\t0\r\n");
  CQNSettings fromTemplate = Defaults();
  ASSERT_TRUE(ReadTemplate(text, fromTemplate));
  EXPECT_EQ(fromTemplate.QN_DELAY_MS, kMaxDelayMs);
  EXPECT_EQ(fromTemplate.QN_MAX_CONN, 1);
}

}  // namespace
}  // namespace qn
