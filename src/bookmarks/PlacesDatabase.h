#pragma once

// The bookmarks of a Firefox profile, kept in its "places.sqlite" database.

#include <filesystem>

#include "bookmarks/BookmarkTree.h"

namespace qn {

// Reads the bookmarks menu, toolbar, other and mobile bookmarks, in the browser's
// order; tags and separators are left out. A running browser holds the database
// locked, so the reader works on a copy of it and of its write-ahead log in a
// temporary folder. A missing, locked or damaged database gives what could be read.
QNBookmarkTree ReadPlacesDatabase(const std::filesystem::path& database);

}  // namespace qn
