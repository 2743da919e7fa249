#include <gtest/gtest.h>

#include <filesystem>

#include "settings/ProjectSettings.h"
#include "storage/AddressHash.h"
#include "storage/DownloadFolder.h"
#include "storage/LocalNaming.h"

namespace qn {
namespace {

constexpr const char* kRoot = "/proj/";
constexpr const char* kStart = "http://H/docs/";

QNNamingContext Context(int dirStr) {
  CQNSettings settings;
  settings.DownloadDir = "/proj";
  settings.QN_DIRSTR = dirStr;
  return QNNamingContext::From(settings, kStart, "/opt/quillorne");
}

std::string Name(std::string address, int dirStr, bool html = true, bool complete = false) {
  return LocalPathForAddress(address, complete, html, Context(dirStr));
}

TEST(LocalNamingTest, StartFolderAndPagesBelowIt) {
  EXPECT_EQ(Name(kStart, 0), "/proj/default.htm");
  EXPECT_EQ(Name(kStart, 2), "/proj/default.htm");
  EXPECT_EQ(Name(kStart, 1), "/proj/H/docs/default.htm");

  EXPECT_EQ(Name("http://H/docs/a/b.html", 0), "/proj/a/b.html");
  EXPECT_EQ(Name("http://H/docs/a/b.html", 2), "/proj/a_b.html");
  EXPECT_EQ(Name("http://H/docs/a/b.html", 1), "/proj/H/docs/a/b.html");
  // Case and separator kind do not matter for "below the start folder".
  EXPECT_EQ(Name("HTTP://h\\DOCS\\c.htm", 0), "/proj/c.htm");
}

TEST(LocalNamingTest, StartFolderWithoutItsSlash) {
  std::string address = "http://H/docs";
  EXPECT_EQ(LocalPathForAddress(address, true, true, Context(0)), "/proj/default.htm");
  EXPECT_EQ(address, "http://H/docs/");
  // Without completion the folder keeps its own name instead of running into the
  // default name ("docsdefault.htm").
  address = "http://H/docs";
  EXPECT_EQ(LocalPathForAddress(address, false, true, Context(1)), "/proj/H/docs/default.htm");
  EXPECT_EQ(address, "http://H/docs");
}

TEST(LocalNamingTest, FoldersAboveTheStartFolder) {
  EXPECT_EQ(Name("http://H/", 0), "/proj/Upper1/default.htm");
  EXPECT_EQ(Name("http://H/", 2), "/proj/Upper1/default.htm");
  EXPECT_EQ(Name("http://H/", 1), "/proj/H/default.htm");
}

TEST(LocalNamingTest, OtherServers) {
  EXPECT_EQ(Name("http://G/x/y.gif", 0, false), "/proj/G/x/y.gif");
  EXPECT_EQ(Name("http://G/x/y.gif", 2, false), "/proj/G_x_y.gif");

  std::string address = "http://G/x/page";
  EXPECT_EQ(LocalPathForAddress(address, true, true, Context(0)), "/proj/G/x/page/default.htm");
  EXPECT_EQ(address, "http://G/x/page/");
  address = "http://G/x/page";
  EXPECT_EQ(LocalPathForAddress(address, false, true, Context(2)), "/proj/G_x_page_default.htm");
  EXPECT_EQ(address, "http://G/x/page");

  // A folder that is not a page ends in "default." with its dot.
  EXPECT_EQ(Name("http://G/x/", 0, false), "/proj/G/x/default.");
  // A server without any path counts as a folder, dots in its name notwithstanding.
  EXPECT_EQ(Name("http://www.example.org", 0), "/proj/www.example.org/default.htm");
  EXPECT_EQ(Name("page.htm", 0), "/proj/default.htm");
}

TEST(LocalNamingTest, FragmentsEscapesAndCharacters) {
  EXPECT_EQ(Name("http://H/docs/page.html#part", 0), "/proj/page.html");
  EXPECT_EQ(Name("http://H/docs/a%20b.htm", 0), "/proj/a b.htm");
  EXPECT_EQ(Name("http://H/docs/100%.htm", 0), "/proj/100_.htm");
  EXPECT_EQ(Name("http://H/docs/a:b*c<d>e|f.gif", 0, false), "/proj/a_b_c_d_e_f.gif");
  // A blank before a separator would make a name ending in a blank.
  EXPECT_EQ(Name("http://H/docs/dir /x.gif", 0, false), "/proj/dir_/x.gif");
  // A fragment that leaves no file name gives the folder's default name.
  EXPECT_EQ(Name("http://G/x/#a.b", 0), "/proj/G/x/default.htm");
  // Control characters, escaped or not, are replaced like the characters above.
  EXPECT_EQ(Name("http://H/docs/a%0Ab%09c%1Bd%7F.gif", 0, false), "/proj/a_b_c_d_.gif");
  EXPECT_EQ(Name("http://H/docs/e\x01"
                 "f.gif",
                 0, false),
            "/proj/e_f.gif");
}

TEST(LocalNamingTest, DynamicPagesGetHtm) {
  EXPECT_EQ(Name("http://H/docs/index.php", 0), "/proj/index.php.htm");
  EXPECT_EQ(Name("http://H/docs/page.php3", 0), "/proj/page.php3.htm");
  EXPECT_EQ(Name("http://H/docs/index.PHP.HTM", 0), "/proj/index.PHP.HTM");
  EXPECT_EQ(Name("http://H/docs/page.shtml", 0), "/proj/page.shtml");
  QNNamingContext c = Context(0);
  c.renameHtml = false;
  std::string address = "http://H/docs/index.php";
  EXPECT_EQ(LocalPathForAddress(address, false, true, c), "/proj/index.php");
  c.defaultName = "index";
  address = "http://H/docs/";
  EXPECT_EQ(LocalPathForAddress(address, false, true, c), "/proj/index/index.htm");
}

TEST(LocalNamingTest, HashValues) {
  EXPECT_EQ(AddressHash16("abc"), 0x17f6u);
  EXPECT_EQ(Crc32("abc"), 0x352441c2u);
  EXPECT_EQ(HashedNameStem("abc"), "Qn17f6352441c2");
  EXPECT_EQ(AddressHash16("a"), 0xff577eu);
  // The altered table entry shows: the true CRC-16 table would give 0xd4f3.
  EXPECT_EQ(AddressHash16("page.asp?id=5"), 0x1572u);
  EXPECT_EQ(Crc32(""), 0u);
}

TEST(LocalNamingTest, QueriesGetHashedNames) {
  const std::string script = "http://H/docs/script.asp?id=5";
  EXPECT_EQ(Name(script, 0), "/proj/" + HashedNameStem(script) + ".asp");
  // A query with a dot supplies the extension.
  const std::string list = "http://H/docs/list?file=a.pdf";
  EXPECT_EQ(Name(list, 0, false), "/proj/" + HashedNameStem(list) + ".pdf");
  // A default name without a dot is named ".htm", in the folder the query made.
  QNNamingContext c = Context(2);
  c.defaultName = "index";
  std::string flat = "http://H/docs/list?x=1";
  EXPECT_EQ(LocalPathForAddress(flat, false, true, c),
            "/proj/list^x=1/" + HashedNameStem(flat) + ".htm");
  // Even a short query is hashed, and the address is never completed.
  std::string query = "http://G/q?a";
  const std::string path = LocalPathForAddress(query, true, true, Context(0));
  EXPECT_EQ(query, "http://G/q?a");
  EXPECT_EQ(path, "/proj/G/q^a/" + HashedNameStem(query) + ".htm");
}

TEST(LocalNamingTest, LongPathsGetHashedNames) {
  // 241 characters without a query: hashed in its own folder.
  const std::string folder = "http://H/docs/" + std::string(100, 'f') + "/";
  std::string file = std::string(241 - 6 - 101 - 4, 'n') + ".gif";
  std::string address = folder + file;
  ASSERT_EQ(std::string("/proj/").size() + 101 + file.size(), 241u);
  EXPECT_EQ(Name(address, 0, false),
            "/proj/" + std::string(100, 'f') + "/" + HashedNameStem(address) + ".gif");
  EXPECT_EQ(Name(folder + "short.gif", 0, false), "/proj/" + std::string(100, 'f') + "/short.gif");

  // A folder of 260 characters or more gives way to the nearest shorter one above it.
  const std::string deep =
      "http://H/docs/" + std::string(150, 'a') + "/" + std::string(150, 'b') + "/x.gif";
  EXPECT_EQ(Name(deep, 0, false),
            "/proj/" + std::string(150, 'a') + "/" + HashedNameStem(deep) + ".gif");
}

bool InsideRoot(const std::string& path) {
  const std::filesystem::path normal = std::filesystem::path(path).lexically_normal();
  if (!normal.string().starts_with(kRoot)) return false;
  for (const auto& part : normal)
    if (part == "..") return false;
  return true;
}

TEST(LocalNamingTest, NoAddressLeavesTheRoot) {
  const char* hostile[] = {
      "http://H/docs/../../../etc/passwd",
      "http://../../etc/passwd",
      "http://H/docs/%2e%2e/%2E%2E/%2e%2e/etc/cron.d/x",
      "http://H/docs/..%2f..%2f..%2fetc%2fpasswd",
      "http://H/docs/..%5c..%5c..%5cetc%5cpasswd",
      "http://H/docs\\..\\..\\..\\etc\\passwd",
      "http://G/a/..",
      "http://G/a/../",
      "http://G/.%2e/.%2e/x.gif",
      "http://G/..%00/x.gif",
      "http://G/%00/../x.gif",
      "http://H/docs/list?x=/../../../y",
      "ftp://../../x.zip",
      "file://../../etc/passwd",
      "file:///etc/passwd",
      "http://H/docs/%2f%2f..%2f..%2fetc",
      "..",
      "../../x.htm",
      "http://H/",
      "http:/x/../../y",
  };
  for (int mode = 0; mode <= 2; ++mode) {
    for (const char* h : hostile) {
      for (bool complete : {false, true}) {
        std::string address = h;
        const std::string path = LocalPathForAddress(address, complete, true, Context(mode));
        EXPECT_TRUE(InsideRoot(path)) << h << " mode " << mode << " gave " << path;
        EXPECT_EQ(path.find('\0'), std::string::npos) << h;
      }
    }
  }
  EXPECT_EQ(Name("http://../x.htm", 0), "/proj/__/x.htm");
  EXPECT_EQ(Name("http://G/./x.gif", 0, false), "/proj/G/_/x.gif");
}

TEST(LocalNamingTest, CharacterReplacementOnItsOwn) {
  std::string p = "/p/a:b*c?d\"e<f>g|h//i";
  ReplaceLocalPathChars(p);
  EXPECT_EQ(p, "/p/a_b_c^d_e_f_g_h/_i");
  // The second character may be a drive colon, and a path may start with two separators.
  std::string drive = "c:x:y";
  ReplaceLocalPathChars(drive);
  EXPECT_EQ(drive, "c:x_y");
  std::string network = "//srv//x";
  ReplaceLocalPathChars(network);
  EXPECT_EQ(network, "//srv/_x");
  std::string tail = "/a?b/c?d";
  ReplaceLocalPathChars(tail, 4);
  EXPECT_EQ(tail, "/a?b/c^d");
}

TEST(LocalNamingTest, DownloadFolder) {
  std::tm t{};
  t.tm_year = 101;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 14;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ(ExpandDownloadDir("/d/[%d]/x[%t][%d]", t), "/d/030701/x14_05_09030701/");
  EXPECT_EQ(ExpandDownloadDir("/d/", t), "/d/");
  EXPECT_EQ(ExpandDownloadDir("", t), "");

  CQNSettings settings;
  settings.DownloadDir.clear();
  EXPECT_EQ(DownloadRoot(settings, "/opt/quillorne"), "/opt/quillorne/");
  settings.DownloadDir = "/home/u/site/";
  EXPECT_EQ(DownloadRoot(settings, "/opt/quillorne"), "/home/u/site/");
}

}  // namespace
}  // namespace qn
