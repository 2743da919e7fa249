#include "bookmarks/PlacesDatabase.h"

#include <sqlite3.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "storage/TempFile.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// The item types of the bookmarks table.
constexpr int kTypeBookmark = 1;
constexpr int kTypeFolder = 2;

constexpr const char* kTagsRoot = "tags________";

struct Row {
  sqlite3_int64 id;
  int type;
  std::string title;
  std::string address;
  std::string guid;
};

// The browser stores short words as the titles of its top folders and shows them
// under these names.
std::string TopFolderName(const Row& row) {
  static const std::map<std::string, std::string> kNames = {
      {"menu________", "Bookmarks Menu"},
      {"toolbar_____", "Bookmarks Toolbar"},
      {"unfiled_____", "Other Bookmarks"},
      {"mobile______", "Mobile Bookmarks"},
  };
  const auto known = kNames.find(row.guid);
  return known != kNames.end() ? known->second : CleanBookmarkTitle(row.title);
}

std::string Text(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text == nullptr
             ? std::string()
             : std::string(reinterpret_cast<const char*>(text),
                           static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// Copies the database and its write-ahead log (which holds the latest changes of a
// running browser) into `folder` under their own names; the copy's path, or nothing.
std::optional<fs::path> CopyDatabase(const fs::path& database, const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_regular_file(database, ec)) return std::nullopt;
  const fs::path copy = folder / "places.sqlite";
  if (!fs::copy_file(database, copy, ec)) return std::nullopt;
  const fs::path log = fs::path(database.string() + "-wal");
  if (fs::is_regular_file(log, ec)) fs::copy_file(log, copy.string() + "-wal", ec);
  return copy;
}

Database Open(const fs::path& file) {
  sqlite3* handle = nullptr;
  const int status = sqlite3_open_v2(file.string().c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
  Database db(handle);
  if (status != SQLITE_OK) return nullptr;
  // The file comes from elsewhere: its schema may not run code of its own.
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  return db;
}

// Every item, grouped by parent in the browser's order.
std::map<sqlite3_int64, std::vector<Row>> ReadRows(sqlite3* db) {
  std::map<sqlite3_int64, std::vector<Row>> children;
  constexpr const char* kQuery =
      "SELECT b.id, b.parent, b.type, IFNULL(b.title, ''), IFNULL(p.url, ''), "
      "IFNULL(b.guid, '') FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
      "ORDER BY b.parent, b.position, b.id";
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, kQuery, -1, &raw, nullptr) != SQLITE_OK) return children;
  const Statement statement(raw);
  while (sqlite3_step(raw) == SQLITE_ROW)
    children[sqlite3_column_int64(raw, 1)].push_back({sqlite3_column_int64(raw, 0),
                                                      sqlite3_column_int(raw, 2), Text(raw, 3),
                                                      Text(raw, 4), Text(raw, 5)});
  return children;
}

// The id of the root folder: the one folder whose parent is no item.
std::optional<sqlite3_int64> FindRoot(const std::map<sqlite3_int64, std::vector<Row>>& children) {
  for (const auto& [parent, rows] : children)
    for (const Row& row : rows)
      if (row.guid == "root________" || (parent == 0 && row.type == kTypeFolder)) return row.id;
  return std::nullopt;
}

}  // namespace

QNBookmarkTree ReadPlacesDatabase(const fs::path& database) {
  QNBookmarkTree tree;
  const auto folder = QNTempFolder::Create();
  if (!folder) return tree;
  const auto copy = CopyDatabase(database, folder->Path());
  if (!copy) return tree;
  const Database db = Open(*copy);
  if (!db) return tree;
  const auto children = ReadRows(db.get());
  const auto root = FindRoot(children);
  if (!root) return tree;

  struct FolderToRead {
    sqlite3_int64 id;
    int item;
  };
  // Ids already placed: a damaged table whose parents form a loop is read once.
  std::set<sqlite3_int64> placed{*root};
  std::vector<FolderToRead> pending{{*root, -1}};
  while (!pending.empty()) {
    const FolderToRead current = pending.back();
    pending.pop_back();
    const auto rows = children.find(current.id);
    if (rows == children.end()) continue;
    std::vector<FolderToRead> subfolders;
    for (const Row& row : rows->second) {
      if (!placed.insert(row.id).second) continue;
      if (row.type == kTypeFolder && row.guid != kTagsRoot) {
        const std::string name =
            current.item < 0 ? TopFolderName(row) : CleanBookmarkTitle(row.title);
        subfolders.push_back({row.id, tree.AddFolder(current.item, name)});
      } else if (row.type == kTypeBookmark && IsOfferedAddress(row.address)) {
        tree.AddLink(current.item, QNBookmarkKind::Bookmark, BookmarkTitle(row.title, row.address),
                     row.address);
      }
    }
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
  return tree;
}

}  // namespace qn
