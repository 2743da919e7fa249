// Finding the user's favorites and browser profiles under a home folder, and reading
// each through its source.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "BookmarkOutline.h"
#include "bookmarks/BookmarkSources.h"
#include "bookmarks/Favorites.h"
#include "support/FakeEnvironment.h"
#include "support/TempDir.h"

namespace qn {
namespace {

namespace fs = std::filesystem;
using test::Outline;
using test::Variables;
using test::WriteFile;

std::string Shortcut(const std::string& address) {
  return "\xEF\xBB\xBF[DEFAULT]\r\nBASEURL=http://wrong/\r\n[InternetShortcut]\r\nurl = " +
         address + "\r\nIconIndex=0\r\n";
}

TEST(FavoritesTest, ReadsShortcutsInNameOrderWithoutFollowingFolderLinks) {
  test::TempDir home;
  const fs::path favorites = home / "Favorites";
  WriteFile(favorites / "b.url", Shortcut("http://b.example/?x=1&y=2"));
  WriteFile(favorites / "A Site.URL", Shortcut("https://a.example/"));
  WriteFile(favorites / "notes.txt", Shortcut("http://not-a-shortcut/"));
  WriteFile(favorites / "empty.url", "[InternetShortcut]\r\nIconFile=x.ico\r\n");
  WriteFile(favorites / "script.url", Shortcut("javascript:alert(1)"));
  WriteFile(favorites / "Links/c.v2.url", Shortcut("ftp://c.example/"));
  WriteFile(favorites / "Links/Deeper/d.url", Shortcut("http://d.example/"));
  fs::create_directory_symlink(favorites, favorites / "Links/Loop");
  fs::create_directory_symlink(favorites / "Links", favorites / "Zlinked");
  fs::create_symlink(favorites / "b.url", favorites / "linked.url");

  EXPECT_EQ(Outline(ReadFavorites(favorites)),
            "A Site = https://a.example/\n"
            "b = http://b.example/?x=1&y=2\n"
            "linked = http://b.example/?x=1&y=2\n"
            "Links/\n"
            "  c.v2 = ftp://c.example/\n"
            "  Deeper/\n"
            "    d = http://d.example/\n");
  EXPECT_EQ(ReadFavorites(home / "none").items.size(), 0u);

  // The folder may be named through variables; unset, it is ~/Favorites.
  EXPECT_EQ(FindFavoritesFolder(Variables(
                {{"QUILLORNE_FAVORITES", "${BASE}/Links"}, {"BASE", favorites.string()}})),
            favorites / "Links");
  EXPECT_EQ(FindFavoritesFolder(Variables({{"HOME", home.str()}})), favorites);
  EXPECT_EQ(
      FindFavoritesFolder(Variables({{"HOME", home.str()}, {"QUILLORNE_FAVORITES", "~/missing"}})),
      std::nullopt);
}

void MakePlaces(const fs::path& file) {
  fs::create_directories(file.parent_path());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT);"
                         "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER,"
                         " fk INTEGER, parent INTEGER, position INTEGER, title TEXT, guid TEXT);"
                         "INSERT INTO moz_places VALUES (1, 'https://places.example/');"
                         "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, '', 'root________'),"
                         " (2, 2, NULL, 1, 0, 'menu', 'menu________'), (3, 1, 1, 2, 0, 'P', 'x');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
}

TEST(BookmarkSourcesTest, FindsEveryBrowserProfileUnderTheHomeFolder) {
  test::TempDir home;
  const fs::path firefox = home / ".mozilla/firefox";
  WriteFile(firefox / "profiles.ini",
            "[General]\nStartWithLastProfile=1\n\n"
            "[Profile0]\nName=default-release\nIsRelative=1\nPath=abc.default-release\n\n"
            "[Profile1]\nName=work\nIsRelative=0\nPath=" +
                (home / "elsewhere/work").string() +
                "\n\n[Profile2]\nName=gone\nIsRelative=1\nPath=missing\n");
  WriteFile(firefox / "abc.default-release/BOOKMARKS.HTML",
            "<H1>Menu</H1>\n<DL><p>\n<DT><A HREF=\"http://one/\">One</A>\n</DL><p>\n");
  MakePlaces(firefox / "abc.default-release/places.sqlite");
  WriteFile(home / "elsewhere/work/bookmarks.html",
            "<H1>Work</H1>\n<DL><p>\n<DT><A HREF=\"http://two/\">Two</A>\n</DL><p>\n");
  const std::string chrome =
      R"({"roots": {"other": {"name": "Other", "type": "folder", "children": [)"
      R"({"name": "C", "type": "url", "url": "http://chrome/"}]}}})";
  WriteFile(home / ".config/google-chrome/Profile 10/Bookmarks", chrome);
  WriteFile(home / ".config/google-chrome/Profile 2/Bookmarks", chrome);
  WriteFile(home / ".config/google-chrome/Default/Bookmarks", chrome);
  WriteFile(home / ".config/google-chrome/Local State",
            R"({"profile": {"info_cache": {"Profile 2": {"name": "Holidays"}}}})");
  fs::create_directories(home / ".config/chromium/Default");

  const auto sources = FindBookmarkSources(Variables({{"HOME", home.str()}}));
  ASSERT_EQ(sources.size(), 4u);
  EXPECT_EQ(sources[0].browser, QNBookmarkBrowser::InternetExplorer);
  EXPECT_FALSE(sources[0].Available());
  EXPECT_EQ(sources[1].browser, QNBookmarkBrowser::Netscape);
  ASSERT_EQ(sources[1].profiles.size(), 2u);
  EXPECT_EQ(sources[1].profiles[0].name, "default-release");
  EXPECT_EQ(sources[1].profiles[1].name, "work");
  EXPECT_EQ(Outline(ReadBookmarks(sources[1].format, sources[1].profiles[1].file)),
            "Work/\n  Two = http://two/\n");
  EXPECT_EQ(sources[2].browser, QNBookmarkBrowser::Firefox);
  ASSERT_EQ(sources[2].profiles.size(), 1u);
  EXPECT_EQ(Outline(ReadBookmarks(sources[2].format, sources[2].profiles[0].file)),
            "Bookmarks Menu/\n  P = https://places.example/\n");
  EXPECT_EQ(sources[3].browser, QNBookmarkBrowser::GoogleChrome);
  ASSERT_EQ(sources[3].profiles.size(), 3u);
  EXPECT_EQ(sources[3].profiles[0].name, "Default");
  EXPECT_EQ(sources[3].profiles[1].name, "Holidays");
  EXPECT_EQ(sources[3].profiles[2].name, "Profile 10");
  EXPECT_EQ(Outline(ReadBookmarks(sources[3].format, sources[3].profiles[2].file)),
            "Other/\n  C = http://chrome/\n");

  // Without a home folder only the favorites named by the variable are left.
  const auto bare = FindBookmarkSources(Variables({{"QUILLORNE_FAVORITES", firefox.string()}}));
  ASSERT_EQ(bare.size(), 2u);
  EXPECT_TRUE(bare[0].Available());
  EXPECT_FALSE(bare[1].Available());
}

}  // namespace
}  // namespace qn
