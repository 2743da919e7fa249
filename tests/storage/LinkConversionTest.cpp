// The replacement of single link values and the safe replacement of a saved file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "settings/ProjectSettings.h"
#include "storage/LinkConversion.h"
#include "support/TempDir.h"

namespace qn {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class LinkValueTest : public ::testing::Test {
 protected:
  LinkValueTest() {
    CQNSettings settings;
    settings.DownloadDir = dir.str();
    rules.naming = QNNamingContext::From(settings, "http://host/", "/opt/quillorne");
    rules.updLinks = 2;
  }
  std::optional<std::string> Convert(std::string_view value, std::string_view pageAddress,
                                     std::string_view pagePath,
                                     QNLinkForm form = QNLinkForm::Relative) {
    const std::string base(pageAddress.substr(0, pageAddress.rfind('/') + 1));
    return ConvertLinkValue(QNLinkToConvert{value, base, pagePath, true, form}, pageAddress, rules);
  }
  std::string Local(const std::string& relative) const { return (dir / relative).string(); }

  test::TempDir dir;
  QNLinkRules rules;
};

TEST_F(LinkValueTest, RelativePathsFromThePageFolder) {
  // A page in a/ links below itself; a page in a/b/ links to the start folder.
  EXPECT_EQ(Convert("b/c.htm", "http://host/a/x.htm", Local("a/x.htm")), "b/c.htm");
  EXPECT_EQ(Convert("http://host/a/b/c.htm", "http://host/a/x.htm", Local("a/x.htm")), "b/c.htm");
  EXPECT_EQ(Convert("../../", "http://host/a/b/y.htm", Local("a/b/y.htm")), "../../default.htm");
  EXPECT_EQ(Convert("/", "http://host/a/b/y.htm", Local("a/b/y.htm")), "../../default.htm");
  // A folder without its "/" is completed and named like the folder.
  EXPECT_EQ(Convert("http://host/a/sub", "http://host/a/x.htm", Local("a/x.htm")),
            "sub/default.htm");
  // Escapes are decoded, as the file name was; a "%" left in the name is written so
  // that a browser finds that name ("a%41.htm", not "aA.htm").
  EXPECT_EQ(Convert("my%20page.htm", "http://host/x.htm", Local("x.htm")), "my page.htm");
  EXPECT_EQ(Convert("a%2541.htm", "http://host/x.htm", Local("x.htm")), "a%2541.htm");
  EXPECT_EQ(Convert("100%.htm", "http://host/x.htm", Local("x.htm")), "100_.htm");
}

TEST_F(LinkValueTest, FragmentsAreKept) {
  EXPECT_EQ(Convert("page.htm#sec2", "http://host/a/x.htm", Local("a/x.htm")), "page.htm#sec2");
  EXPECT_EQ(Convert("http://host/page.htm#top", "http://host/a/x.htm", Local("a/x.htm")),
            "../page.htm#top");
  // A folder's page with a fragment is the folder's page.
  EXPECT_EQ(Convert("../themes/#choosing", "http://host/a/x/", Local("a/x/default.htm")),
            "../themes/default.htm#choosing");
  EXPECT_EQ(
      Convert("sprite.svg#icon", "http://host/a/x.htm", Local("a/x.htm"), QNLinkForm::Absolute),
      Local("a/sprite.svg"));
}

TEST_F(LinkValueTest, OnlyDownloadedTargetsWithSettingOne) {
  rules.updLinks = 1;
  EXPECT_EQ(Convert("../gone.htm", "http://host/a/x.htm", Local("a/x.htm")), std::nullopt);
  WriteFile(dir / "gone.htm", "here");
  EXPECT_EQ(Convert("../gone.htm", "http://host/a/x.htm", Local("a/x.htm")), "../gone.htm");
  // A folder of that name is not a downloaded file.
  fs::create_directories(dir / "folder.htm");
  EXPECT_EQ(Convert("/folder.htm", "http://host/x.htm", Local("x.htm")), std::nullopt);
  rules.updLinks = 0;
  EXPECT_EQ(Convert("/folder.htm", "http://host/x.htm", Local("x.htm")), "folder.htm");
}

TEST_F(LinkValueTest, AbsoluteFormGivesTheLocalPath) {
  EXPECT_EQ(Convert("b/c.htm#s", "http://host/a/x.htm", Local("a/x.htm"), QNLinkForm::Absolute),
            Local("a/b/c.htm"));
}

TEST_F(LinkValueTest, OtherServersStayInsideTheDownloadFolder) {
  const auto link =
      Convert("http://other/d/../../../etc/passwd", "http://host/x.htm", Local("x.htm"));
  ASSERT_TRUE(link);
  EXPECT_EQ(link->find("../"), std::string::npos) << *link;
}

TEST(ScriptMentionsFunctionTest, FirstThousandLinesAnyCase) {
  test::TempDir dir;
  std::string lines;
  for (int i = 0; i < 999; ++i) lines += "var a" + std::to_string(i) + " = 1;\n";
  WriteFile(dir / "in.js", lines + "x = FUNCTION() {}\n");
  EXPECT_TRUE(ScriptMentionsFunction(dir / "in.js"));
  WriteFile(dir / "out.js", lines + "\nfunction f() {}\n");
  EXPECT_FALSE(ScriptMentionsFunction(dir / "out.js"));
  // A long line counts as several lines of the fixed buffer.
  WriteFile(dir / "long.js", std::string(4159 * 1000, 'x') + "function");
  EXPECT_FALSE(ScriptMentionsFunction(dir / "long.js"));
  EXPECT_FALSE(ScriptMentionsFunction(dir / "missing.js"));
}

class ReplaceTest : public ::testing::Test {
 protected:
  ReplaceTest() {
    WriteFile(page, original);
    fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::last_write_time(page, stamp);
  }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path()), {}));
  }

  test::TempDir dir;
  fs::path page = dir / "page.htm";
  std::string original = "<A HREF=\"http://host/a.htm\">a</A>\r\n";
  fs::file_time_type stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
};

TEST_F(ReplaceTest, ConvertedPageKeepsDateAndPermissions) {
  ASSERT_TRUE(ReplaceWithConverted(page, [](std::istream& in, std::ostream& out) {
    out << in.rdbuf() << "converted";
    return true;
  }));
  EXPECT_EQ(ReadFile(page), original + "converted");
  EXPECT_EQ(fs::last_write_time(page), stamp);
  EXPECT_EQ(fs::status(page).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(ReplaceTest, PageFailingHalfWayIsLeftAsItWas) {
  // A read error after part of the copy has been written.
  EXPECT_FALSE(ReplaceWithConverted(page, [](std::istream& in, std::ostream& out) {
    out << "<A HREF=\"a.htm\">";
    in.setstate(std::ios::badbit);
    return true;
  }));
  // The converter giving up half-way.
  EXPECT_FALSE(ReplaceWithConverted(page, [](std::istream&, std::ostream& out) {
    out << "half";
    return false;
  }));
  EXPECT_EQ(ReadFile(page), original);
  EXPECT_EQ(fs::last_write_time(page), stamp);
  EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file is left behind";
}

TEST_F(ReplaceTest, MissingPageFails) {
  bool called = false;
  EXPECT_FALSE(ReplaceWithConverted(dir / "none.htm", [&](std::istream&, std::ostream&) {
    called = true;
    return true;
  }));
  EXPECT_FALSE(called);
  EXPECT_FALSE(fs::exists(dir / "none.htm"));
  EXPECT_EQ(FilesInFolder(), 1u);
}

}  // namespace
}  // namespace qn
