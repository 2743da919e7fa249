#pragma once

// Favorites: a folder of Internet shortcut files (".url") and subfolders.

#include <filesystem>
#include <optional>
#include <string>

#include "bookmarks/BookmarkTree.h"

namespace qn {

// The "URL=" value of the "[InternetShortcut]" section of a shortcut file; nothing
// when the file has none or holds no address that can be offered.
std::optional<std::string> ReadInternetShortcut(const std::filesystem::path& file);

// The favorites below `folder`, which gets no item of its own: each subfolder a
// folder item, each ".url" file (any case) a link named after the file without its
// extension, in name order. A shortcut without an address is skipped and the rest is
// still read; links to folders are not followed, so a loop cannot trap the reader.
QNBookmarkTree ReadFavorites(const std::filesystem::path& folder);

}  // namespace qn
