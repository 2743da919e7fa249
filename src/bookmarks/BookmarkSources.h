#pragma once

// The places a start address can be imported from: the favorites folder, the
// bookmark files of Mozilla-family profiles, and the bookmarks of today's browsers.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/Environment.h"

namespace qn {

enum class QNBookmarkBrowser {
  InternetExplorer,  // favorites
  Netscape,          // "bookmarks.html" of Netscape, Mozilla and Firefox profiles
  Firefox,
  Chromium,
  GoogleChrome,
  Brave,
  MicrosoftEdge,
};

enum class QNBookmarkFormat { Favorites, BookmarkFile, Places, Chromium };

struct QNBookmarkProfile {
  std::string name;
  std::filesystem::path file;  // the favorites folder or the file to read
};

struct QNBookmarkSource {
  QNBookmarkBrowser browser;
  QNBookmarkFormat format;
  std::vector<QNBookmarkProfile> profiles;  // none: the source is not available

  bool Available() const { return !profiles.empty(); }
};

// $QUILLORNE_FAVORITES with its variables expanded when it is set, else ~/Favorites;
// nothing when that is no folder.
std::optional<std::filesystem::path> FindFavoritesFolder(const QNEnvironment& environment);

// The favorites and the bookmark files always, available or not; Firefox and each
// Chromium-family browser only when a profile of it holds bookmarks. Looks in the
// usual folders, their XDG, Snap and Flatpak places included.
std::vector<QNBookmarkSource> FindBookmarkSources(const QNEnvironment& environment);

// Reads one profile of a source.
QNBookmarkTree ReadBookmarks(QNBookmarkFormat format, const std::filesystem::path& file);

}  // namespace qn
