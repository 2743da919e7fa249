#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "project/ProjectFile.h"
#include "project/ProjectFileFormat.h"
#include "project/ProjectGolden.h"
#include "project/ProjectTestSupport.h"
#include "settings/TemplateFile.h"
#include "support/TempDir.h"

namespace qn {
namespace {

using test::AddNode;
using test::ExpectSameTree;

CQNSettings Defaults() {
  CQNSettings s;
  s.ResetToDefaults("", "/opt/qn");
  return s;
}

// Writes and reads back through memory; the read must succeed.
void RoundTrip(const CQNSettings& s, CQNDocTree& tree, CQNSettings& out, CQNDocTree& outTree,
               const std::string& path = "/proj/site.qnp") {
  std::istringstream in(FormatProject(s, tree, path));
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, path, out, outTree, rec.messages));
  EXPECT_TRUE(rec.observer.messages.empty());
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return "first difference at byte " + std::to_string(i) + " of " + std::to_string(a.size()) +
         " / " + std::to_string(b.size());
}

TEST(ProjectFile, WriterProducesTheLayoutByteForByte) {
  const auto golden = test::GoldenBytes();
  CQNDocTree tree;
  test::BuildGoldenTree(tree);
  const std::string written = FormatProject(test::GoldenSettings(), tree, test::kGoldenPath);
  EXPECT_TRUE(written == golden.bytes) << FirstDifference(written, golden.bytes);
}

TEST(ProjectFile, ReaderTakesTheLayoutFieldByField) {
  std::istringstream in(test::GoldenBytes().bytes);
  CQNSettings s = Defaults();
  CQNDocTree tree;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, test::kGoldenPath, s, tree, rec.messages));

  CQNSettings expected = test::GoldenSettings();
  expected.QN_TR_UPDATE = 2;  // 3 is read as 2
  EXPECT_TRUE(s.IsEqual(expected));
  EXPECT_EQ(s.DownloadDir, "/proj/Download/");
  CQNDocTree expectedTree;
  test::BuildGoldenTree(expectedTree);
  ExpectSameTree(expectedTree, tree);
  EXPECT_EQ(tree.count, 2);
  EXPECT_TRUE(tree.readNodes.empty());
}

CQNSettings Unusual() {
  CQNSettings s = Defaults();
  s.QN_SINGLE_URL = 0;
  s.StartUrlCount = 3;
  s.QN_START_URL[0] = "http://www.example.org/start/";
  s.QN_START_URL[1] = "http://other.example/";
  s.QN_START_URL[2] = "ftp://files.example/pub/";
  s.QN_USER_ID = "me";
  s.QN_PASSWORD = "pw";
  s.QN_PROJECT_DIR = "/data/{date}/";
  s.QN_TITLE = std::string(300, 'T');  // longer than the one-byte length form
  s.QN_THREADS = 100;
  s.QN_FILE_TYPES = 2;
  s.QN_OFFSITE = 1;
  s.QN_LIM_DS = 0;
  s.QN_MAX_DS = 1.5 * 1048576;
  s.QN_LIM_FQ = 0;
  s.QN_MAX_FQ = 123456;
  s.QN_LIM_MAXFS = 0;
  s.QN_MAX_MAXFS = 5e9;
  s.QN_LIM_MINFS = 1;
  s.QN_MAX_MINFS = 512;
  s.QN_LIM_TIME = 0;
  s.QN_MAX_TIME = 9;
  s.QN_TR_UPDATE = 1;
  s.SpareFlag = 0;
  s.QN_TR_HTML = 1;
  s.QN_TR_INIT = 1;
  s.QN_TR_EXTBR = 1;
  s.QN_TR_LIMIT_F = 0;
  s.QN_TR_MAX_F = 65535;
  s.QN_DIRSTR = 1;
  s.QN_UMETHOD = 2;
  s.QN_UPDLINKS = 2;
  s.QN_TIMEOUT = 10;
  s.QN_RETRIES = 0;
  s.QN_LIM_L = 1;
  s.QN_MAX_L = 32000;
  s.QN_LIM_OL = 0;
  s.QN_MAX_OL = 7;
  s.QN_DOWN = 1;
  s.QN_PROTOCOL = 6;
  s.QN_DETPREV = 1;
  s.QN_KEEPHTML = 1;
  s.AgentKind = 3;
  s.AgentVersion = 4700;
  s.AgentString = "kept although unused";
  s.DownloadState = 2;
  s.QN_FILE_EXT[0].erase(s.QN_FILE_EXT[0].begin() + 1);  // html
  s.QN_FILE_EXT[3][2].enabled = 0;                       // avi
  s.QN_FILE_EXT[3][2].maxOn = 1;
  s.QN_FILE_EXT[3][2].max = 1e8;
  s.QN_FILE_EXT[7].push_back({"apk", 1});
  s.QN_FILE_EXT[7].push_back({"dmg", 0, 0, 0, 1, 1024});
  s.QN_URL_FILTER.push_back({1, 15, "*.example.org", "", ""});
  s.QN_URL_FILTER.push_back({0, 1, "", "private*", "*.zip"});
  s.DownloadDir = "/data/2024/";
  s.QN_DEFFNAME = "index.html";
  s.QN_REPORT = 1;
  s.QN_RENAMEHTML = 0;
  s.QN_PAGEBREAK = 0;
  s.SubmitLoginForms = 1;
  s.ProcessForms = 1;
  s.EncryptProjectFiles = 1;
  s.EncryptDownloadedFiles = 1;
  s.QN_FASTPARSE = 0;
  s.QN_ROBOTS = 1;
  s.QN_DELAY_MS = 60000;
  s.QN_LIM_CONN = 1;
  s.QN_MAX_CONN = 100;
  s.QN_COOKIES = std::string(300, 'c');
  return s;
}

TEST(ProjectFile, SettingsRoundTrip) {
  CQNSettings s = Unusual();
  s.EncryptionPassword = "Zq8-secret-Zq8";
  CQNDocTree tree;
  tree.CreateRoot("T");
  const std::string bytes = FormatProject(s, tree, "/p/x.qnp");
  EXPECT_EQ(bytes.find("Zq8-secret-Zq8"), std::string::npos);

  CQNSettings t = Defaults();
  CQNDocTree outTree;
  RoundTrip(s, tree, t, outTree);
  CQNSettings expected = s;
  expected.EncryptionPassword.clear();
  EXPECT_TRUE(t.IsEqual(expected));
  EXPECT_EQ(t.DownloadDir, "/data/2024/");
  EXPECT_EQ(t.AgentString, "kept although unused");
  EXPECT_EQ(t.SpareFlag, 0);
  EXPECT_EQ(t.QN_MAX_DS, 1.5 * 1048576);  // exact, not whole megabytes
}

TEST(ProjectFile, ValuesThePackedWordsCannotHold) {
  CQNSettings s = Defaults();
  s.QN_TR_MAX_F = 70000;  // 16 bits are kept
  s.QN_MAX_L = 0;
  s.QN_LIM_L = 1;
  s.QN_PROTOCOL = 0;
  s.QN_TR_UPDATE = 3;
  s.LinkOrder = 1;
  EXPECT_EQ(static_cast<std::uint32_t>(PackWords(s)[3]), 0xFFFF0001u);

  CQNDocTree tree;
  CQNSettings t = Defaults();
  t.QN_MAX_L = 9;
  CQNDocTree outTree;
  RoundTrip(s, tree, t, outTree);
  EXPECT_EQ(t.QN_TR_MAX_F, 4464);
  EXPECT_EQ(t.QN_MAX_L, 0);
  EXPECT_EQ(t.QN_LIM_L, 1);
  EXPECT_EQ(t.QN_PROTOCOL, 15);
  EXPECT_EQ(t.QN_TR_UPDATE, 2);
  EXPECT_EQ(t.LinkOrder, 0);
  EXPECT_EQ(outTree.root, nullptr);  // a tree without nodes
}

TEST(ProjectFile, ZeroWordsAndOutOfRangeWordsKeepDefaults) {
  CQNSettings d = Defaults();
  CQNSettings s = d;
  UnpackWords({5, 101, 2, 0, 0, 0x00000002, 5, 0x00020002, 0x11110006, 0}, s);
  EXPECT_EQ(s.QN_TIMEOUT, d.QN_TIMEOUT);
  EXPECT_EQ(s.QN_RETRIES, d.QN_RETRIES);
  EXPECT_EQ(s.QN_TR_EXTBR, d.QN_TR_EXTBR);
  EXPECT_EQ(s.QN_MAX_L, 3);
  EXPECT_EQ(s.QN_LIM_L, 0);
  EXPECT_EQ(s.QN_MAX_OL, 1);
  EXPECT_EQ(s.QN_LIM_OL, 1);
  EXPECT_EQ(s.QN_DOWN, 0);
  EXPECT_EQ(s.QN_PROTOCOL, 15);
  EXPECT_EQ(s.DownloadState, 0);
  EXPECT_EQ(s.QN_DETPREV, 0);
  EXPECT_EQ(s.QN_KEEPHTML, 0);
  EXPECT_EQ(s.AgentKind, 0);
  EXPECT_EQ(s.AgentVersion, 4000);  // only kinds 2 to 4 take the version
  EXPECT_EQ(s.QN_TR_LIMIT_F, 1);
  EXPECT_EQ(s.QN_TR_MAX_F, 10000);

  // Both tree-limit members 0 pack into a word of 0, which leaves the defaults.
  CQNSettings z = d;
  z.QN_TR_LIMIT_F = 0;
  z.QN_TR_MAX_F = 0;
  EXPECT_EQ(PackWords(z)[9], 0);
  CQNDocTree tree;
  CQNSettings t = d;
  CQNDocTree outTree;
  RoundTrip(z, tree, t, outTree);
  EXPECT_EQ(t.QN_TR_LIMIT_F, 1);
  EXPECT_EQ(t.QN_TR_MAX_F, 10000);

  UnpackWords(
      {600, 100, 1, 0x00050000, 0x00000001, 0x00040001, 4, 0x00010001, 0x0BB80002, 0x00000000}, s);
  EXPECT_EQ(s.QN_TIMEOUT, 600);
  EXPECT_EQ(s.QN_MAX_L, 5);
  EXPECT_EQ(s.QN_LIM_L, 0);
  EXPECT_EQ(s.QN_MAX_OL, 0);
  EXPECT_EQ(s.QN_LIM_OL, 1);
  EXPECT_EQ(s.QN_PROTOCOL, 4);
  EXPECT_EQ(s.QN_DOWN, 1);
  EXPECT_EQ(s.DownloadState, 4);
  EXPECT_EQ(s.QN_KEEPHTML, 1);
  EXPECT_EQ(s.AgentKind, 2);
  EXPECT_EQ(s.AgentVersion, 3000);
}

TEST(ProjectFile, ThreadsOutsideOneToOneHundredAreKeptWithin) {
  for (const auto& [written, read] :
       std::vector<std::pair<int, int>>{{0, 1}, {-3, 1}, {250, 100}}) {
    CQNSettings s = Defaults();
    s.QN_THREADS = written;
    CQNDocTree tree;
    CQNSettings t = Defaults();
    CQNDocTree outTree;
    RoundTrip(s, tree, t, outTree);
    EXPECT_EQ(t.QN_THREADS, read) << written;
  }
}

// A list whose order differs from the default one reads back in that order, so that
// the size limits stored by position stay with their extensions.
TEST(ProjectFile, ReorderedExtensionListsKeepTheirLimits) {
  CQNSettings s = Defaults();
  ExtList& html = s.QN_FILE_EXT[0];
  // "htm" removed and added again with a limit: it now stands last.
  html.erase(html.begin());
  html.push_back({"htm", 1, 1, 5000.0, 0, 0.0});
  // A new extension before default ones, and a default one disabled after it.
  ExtList& image = s.QN_FILE_EXT[1];
  image.insert(image.begin() + 1, {"jxl", 1, 1, 10.0, 0, 0.0});
  image[3].enabled = 0;
  image.back().maxOn = 1;
  image.back().max = 777.0;
  // A removal in the middle of a list.
  s.QN_FILE_EXT[2].erase(s.QN_FILE_EXT[2].begin() + 2);

  CQNDocTree tree;
  CQNSettings t = Defaults();
  CQNDocTree outTree;
  RoundTrip(s, tree, t, outTree);
  EXPECT_EQ(t.QN_FILE_EXT, s.QN_FILE_EXT);
  EXPECT_EQ(t.QN_FILE_EXT[0].back().extension, "htm");
  EXPECT_EQ(t.QN_FILE_EXT[0].back().max, 5000.0);
  EXPECT_EQ(t.QN_FILE_EXT[0][t.QN_FILE_EXT[0].size() - 2].maxOn, 0);  // "jsp" has no limit
}

TEST(ProjectFile, ExtensionListsAndStartAddresses) {
  CQNSettings s = Defaults();
  s.QN_FILE_EXT[2].erase(s.QN_FILE_EXT[2].begin());  // au removed
  s.QN_FILE_EXT[4].push_back({"jnlp", 1});
  s.QN_FILE_EXT[4].push_back({"jar", 0});
  // 120 start addresses can only come from a template.
  std::string text;
  for (int i = 0; i < 100; ++i) text += "QN_START_URL \"http://h/" + std::to_string(i) + "\"\n";
  std::istringstream in(text);
  ASSERT_TRUE(ReadTemplate(in, s));
  s.StartUrlCount = 100;
  s.QN_SINGLE_URL = 0;

  // The writer writes what is in use; a file with 120 addresses is made by hand by
  // raising the count in the bytes.
  CQNDocTree tree;
  std::string bytes = FormatProject(s, tree, "/p/x.qnp");
  const std::string count100 = test::Bytes().Int(0).Int(100).str();
  const auto at = bytes.rfind(count100);
  ASSERT_NE(at, std::string::npos);
  std::string extra;
  for (int i = 100; i < 120; ++i) extra += test::Bytes().Str("http://h/" + std::to_string(i)).str();
  bytes.replace(at, count100.size(), test::Bytes().Int(0).Int(120).str());
  // Before the eight flags that end block 4, ahead of the named records.
  const auto records = bytes.rfind(test::Bytes().Str("Crawling").str());
  ASSERT_NE(records, std::string::npos);
  bytes.insert(records - 8 * 4, extra);

  std::istringstream file(bytes);
  CQNSettings t = Defaults();
  CQNDocTree outTree;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(file, "/p/x.qnp", t, outTree, rec.messages));
  EXPECT_EQ(t.StartUrlCount, 100);
  EXPECT_EQ(t.QN_START_URL[99], "http://h/99");
  EXPECT_EQ(t.QN_SINGLE_URL, 0);
  EXPECT_EQ(t.QN_FILE_EXT, s.QN_FILE_EXT);
  EXPECT_EQ(t.QN_FASTPARSE, 1);  // the flags after the addresses are still in step
}

TEST(ProjectFile, FileEndingAfterTheTreeKeepsDefaults) {
  const auto golden = test::GoldenBytes();
  std::istringstream in(golden.bytes.substr(0, golden.treeEnd));
  CQNSettings s = Defaults();
  CQNDocTree tree;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, test::kGoldenPath, s, tree, rec.messages));
  EXPECT_TRUE(rec.observer.messages.empty());
  EXPECT_EQ(s.QN_SINGLE_URL, 1);
  EXPECT_EQ(s.StartUrlCount, 1);
  EXPECT_EQ(s.QN_START_URL[0], "http://example.com/docs/index.htm");
  EXPECT_EQ(s.QN_MAX_DS, 30.0 * 1048576);
  EXPECT_EQ(s.DownloadDir, "/proj/Download/");  // the project folder until block 3
  EXPECT_EQ(s.QN_FILE_EXT, CQNSettings().QN_FILE_EXT);
  EXPECT_TRUE(s.QN_URL_FILTER.empty());
  EXPECT_EQ(tree.count, 2);
  EXPECT_EQ(tree.root->firstChild->level, kUnset);
}

// Shapes: a root alone, a chain, a row, and a mixture; each node with its own values.
void Fill(CQNDocNode* n, int i) {
  n->title = "node " + std::to_string(i);
  n->SetUrl("http://example.com/d" + std::to_string(i % 7) + "/p" + std::to_string(i) + ".htm");
  n->localFile = i % 5 == 0 ? "" : "/proj/Download/example.com/p" + std::to_string(i) + ".htm";
  n->type = 1 << (i % 9);
  n->state = i % 4;
  n->level = i % 11;
  n->size = i * 3;
  n->sitePos = i % 3 - 1;
}

void Chain(CQNDocTree& tree, int n) {
  CQNDocNode* parent = tree.root;
  for (int i = 0; i < n; ++i) {
    parent = AddNode(tree, parent, kNodeFolder, "", "", "");
    Fill(parent, i);
  }
}

void Row(CQNDocTree& tree, CQNDocNode* parent, int n) {
  for (int i = 0; i < n; ++i) Fill(AddNode(tree, parent, kNodeLink, "", "", ""), i);
}

void Mixture(CQNDocTree& tree, int n) {
  std::vector<CQNDocNode*> folders{tree.root};
  unsigned seed = 7;
  for (int i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    const bool folder = (seed >> 16) % 3 != 0;
    CQNDocNode* parent = folders[(seed >> 8) % folders.size()];
    CQNDocNode* node = AddNode(tree, parent, folder ? kNodeFolder : kNodeLink, "", "", "");
    Fill(node, i);
    if (folder) folders.push_back(node);
  }
}

void ExpectSameTreeAfterRoundTrip(CQNDocTree& tree) {
  CQNSettings s = Defaults();
  s.QN_START_URL[0] = "http://example.com/d3/";
  CQNSettings t = Defaults();
  CQNDocTree out;
  RoundTrip(s, tree, t, out);
  ExpectSameTree(tree, out);
}

TEST(ProjectFile, TreesOfEveryShapeRoundTrip) {
  {
    CQNDocTree tree;
    tree.CreateRoot("only the root");
    ExpectSameTreeAfterRoundTrip(tree);
  }
  {
    CQNDocTree tree;
    tree.CreateRoot("chain");
    Chain(tree, 3000);
    ExpectSameTreeAfterRoundTrip(tree);
  }
  {
    CQNDocTree tree;
    tree.CreateRoot("row");
    Row(tree, tree.root, 3000);
    ExpectSameTreeAfterRoundTrip(tree);
  }
  {
    CQNDocTree tree;
    tree.CreateRoot("mixture");
    Mixture(tree, 3000);
    ExpectSameTreeAfterRoundTrip(tree);
  }
}

TEST(ProjectFile, FullTreeOfOneHundredThousandNodes) {
  // Half a chain 50000 deep, half a row of 50000 below its end.
  CQNDocTree tree;
  tree.CreateRoot("full");
  Chain(tree, 50000);
  CQNDocNode* deepest = tree.root;
  while (deepest->firstChild) deepest = deepest->firstChild;
  Row(tree, deepest, 50000);
  ASSERT_EQ(tree.count, kMaxNodes);
  ExpectSameTreeAfterRoundTrip(tree);
}

TEST(ProjectFile, MovingTheProjectWithItsDownloadFolderKeepsLocalFiles) {
  test::TempDir dir;
  const auto oldHome = dir / "old";
  const auto page = oldHome / "Download" / "example.com" / "index.htm";
  test::WriteFile(page, "<html></html>");
  test::WriteFile(oldHome / "Download" / "example.com" / "a b" / "x.gif", "GIF");

  CQNSettings s = Defaults();
  s.QN_START_URL[0] = "http://example.com/";
  CQNDocTree tree;
  tree.CreateRoot("moved");
  AddNode(tree, tree.root, kNodeFolder, "Index", "http://example.com/", page.string());
  AddNode(tree, tree.root, kNodeLink, "X", "http://example.com/a%20b/x.gif",
          (oldHome / "Download/example.com/a b/x.gif").string());
  std::string error;
  ASSERT_TRUE(WriteProjectFile((oldHome / "site.qnp").string(), s, tree, error)) << error;

  const auto newHome = dir / "new" / "place";
  std::filesystem::create_directories(newHome.parent_path());
  std::filesystem::rename(oldHome, newHome);
  std::ifstream in(newHome / "site.qnp", std::ios::binary);
  CQNSettings t = Defaults();
  CQNDocTree out;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, (newHome / "site.qnp").string(), t, out, rec.messages));
  const CQNDocNode* n = out.root->firstChild;
  EXPECT_EQ(n->localFile, (newHome / "Download/example.com/index.htm").string());
  EXPECT_TRUE(std::filesystem::exists(n->localFile));
  EXPECT_EQ(n->nextSibling->localFile, (newHome / "Download/example.com/a b/x.gif").string());
  EXPECT_TRUE(std::filesystem::exists(n->nextSibling->localFile));
  EXPECT_EQ(n->nextSibling->url, "http://example.com/a%20b/x.gif");
}

TEST(ProjectFile, StoredAddressesJoinTheStartFolder) {
  const std::string b = "http://h/a/b/";
  EXPECT_EQ(JoinStoredAddress("", b), b);
  EXPECT_EQ(JoinStoredAddress("p.htm", b), "http://h/a/b/p.htm");
  EXPECT_EQ(JoinStoredAddress("/p.htm", b), "http://h/a/b/p.htm");
  EXPECT_EQ(JoinStoredAddress("../p.htm", b), "http://h/a/p.htm");
  EXPECT_EQ(JoinStoredAddress("..\\..\\p.htm", b), "http://h/p.htm");
  EXPECT_EQ(JoinStoredAddress("./c/p.htm", b), "http://h/a/b/c/p.htm");
  EXPECT_EQ(JoinStoredAddress("c/p.htm", b), "http://h/a/b/c/p.htm");
  EXPECT_EQ(JoinStoredAddress("http://other.org/x.htm", b), "http://other.org/x.htm");
  // Texts a dot-and-separator rule would take for absolute addresses.
  EXPECT_EQ(JoinStoredAddress("v1.2/index.htm", b), "http://h/a/b/v1.2/index.htm");
  EXPECT_EQ(JoinStoredAddress("go.cgi?to=http://x.org/", b),
            "http://h/a/b/go.cgi?to=http://x.org/");
  EXPECT_EQ(JoinStoredAddress("http://localhost/x.htm", b), "http://localhost/x.htm");
  EXPECT_EQ(JoinStoredAddress("file:///home/u/x.htm", b), "file:///home/u/x.htm");
}

TEST(ProjectFile, AddressesRoundTripAgainstTheStartFolder) {
  CQNSettings s = Defaults();
  s.QN_START_URL[0] = "http://site.example/docs/guide/intro.htm";
  CQNDocTree tree;
  tree.CreateRoot("addresses");
  const std::vector<std::string> urls = {"http://site.example/docs/guide/intro.htm",
                                         "http://site.example/docs/guide/c/d.htm",
                                         "http://site.example/docs/v1.2/notes.htm",
                                         "http://site.example/top.htm",
                                         "http://site.example/docs/guide/Case.htm",
                                         "http://localhost:8080/x.htm",
                                         "https://site.example/docs/secure.htm",
                                         "http://site.example/docs/go.cgi?u=http://x.org/",
                                         "ftp://files.example/pub/a.zip",
                                         "http://site.example/a/../b.htm",
                                         "http://site.example/docs/guide/"};
  for (const auto& u : urls) AddNode(tree, tree.root, kNodeLink, u, u, "");
  CQNSettings t = Defaults();
  CQNDocTree out;
  RoundTrip(s, tree, t, out);
  std::vector<std::string> read;
  for (const CQNDocNode* n = out.root->firstChild; n; n = n->nextSibling) read.push_back(n->url);
  EXPECT_EQ(read, urls);
}

}  // namespace
}  // namespace qn
