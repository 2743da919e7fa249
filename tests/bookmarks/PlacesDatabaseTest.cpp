// Firefox's bookmarks database, read while a browser holds it locked.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "BookmarkOutline.h"
#include "bookmarks/PlacesDatabase.h"
#include "support/TempDir.h"

namespace qn {
namespace {

using test::Outline;

void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
}

// The two tables as Firefox has them (the columns the reader uses), with the fixed
// top folders and a few bookmarks.
constexpr const char* kPlaces = R"(
  CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR);
  CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
    parent INTEGER, position INTEGER, title LONGVARCHAR, guid TEXT);
  INSERT INTO moz_bookmarks VALUES
    (1, 2, NULL, 0, 0, '', 'root________'), (2, 2, NULL, 1, 0, 'menu', 'menu________'),
    (3, 2, NULL, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, NULL, 1, 2, 'tags', 'tags________'),
    (5, 2, NULL, 1, 3, 'unfiled', 'unfiled_____');
  INSERT INTO moz_places VALUES (1, 'https://www.mozilla.org/?a=1&b=2', 'Mozilla'),
    (2, 'place:sort=8&maxResults=10', NULL), (3, 'http://example.org/', 'Example');
  INSERT INTO moz_bookmarks VALUES
    (10, 1, 2, 2, 0, 'Most Visited', 'a'), (11, 1, 1, 2, 2, 'Mozilla: Home', 'b'),
    (12, 3, NULL, 2, 1, NULL, 'c'), (13, 2, NULL, 3, 0, 'News/Sport', 'd'),
    (14, 1, 3, 13, 0, NULL, 'e'), (15, 2, NULL, 4, 0, 'sometag', 'f'),
    (16, 1, 3, 15, 0, NULL, 'g'), (20, 2, NULL, 21, 0, 'loop', 'h'),
    (21, 2, NULL, 20, 0, 'loop', 'i');
)";

TEST(PlacesDatabaseTest, ReadsTheBookmarksOfARunningBrowser) {
  test::TempDir dir;
  const auto file = dir / "places.sqlite";
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
  const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> browser(raw, &sqlite3_close);
  // As the browser does: a write-ahead log and the file locked for as long as it runs,
  // so the last bookmark is only in the log.
  Exec(raw, "PRAGMA journal_mode=WAL; PRAGMA locking_mode=EXCLUSIVE;");
  Exec(raw, kPlaces);
  Exec(raw, "INSERT INTO moz_bookmarks VALUES (17, 1, 3, 5, 0, 'Added last', 'j');");

  sqlite3* other = nullptr;
  sqlite3_open_v2(file.c_str(), &other, SQLITE_OPEN_READONLY, nullptr);
  EXPECT_EQ(sqlite3_exec(other, "SELECT * FROM moz_bookmarks", nullptr, nullptr, nullptr),
            SQLITE_BUSY);
  sqlite3_close(other);

  EXPECT_EQ(Outline(ReadPlacesDatabase(file)),
            "Bookmarks Menu/\n"
            "  Mozilla$ Home = https://www.mozilla.org/?a=1&b=2\n"
            "Bookmarks Toolbar/\n"
            "  News$Sport/\n"
            "    http$$$example.org$ = http://example.org/\n"
            "Other Bookmarks/\n"
            "  Added last = http://example.org/\n");
}

TEST(PlacesDatabaseTest, DamagedOrMissingDatabasesGiveNothing) {
  test::TempDir dir;
  EXPECT_TRUE(ReadPlacesDatabase(dir / "missing.sqlite").items.empty());
  test::WriteFile(dir / "garbage.sqlite", "SQLite format 3" + std::string(5000, '\x7f'));
  EXPECT_TRUE(ReadPlacesDatabase(dir / "garbage.sqlite").items.empty());
  // A database of another program has no bookmarks table.
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "other.sqlite").c_str(), &raw), SQLITE_OK);
  Exec(raw, "CREATE TABLE t (x);");
  sqlite3_close(raw);
  EXPECT_TRUE(ReadPlacesDatabase(dir / "other.sqlite").items.empty());
}

}  // namespace
}  // namespace qn
