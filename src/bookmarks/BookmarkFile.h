#pragma once

// The bookmark file of Netscape and Mozilla browsers, which today's browsers still
// write when they export bookmarks as HTML.

#include <filesystem>
#include <istream>

#include "bookmarks/BookmarkTree.h"

namespace qn {

// Reads the file line by line: the "<H1>" line names the top folder, "<DL><p>" opens
// and "</DL><p" closes a folder's list, "<DT><H3" names a folder and "<DT><A" is a
// link. Addresses and titles are read with their entities decoded. A file without a
// title line gives an empty tree; a file that ends inside a list keeps what was read.
QNBookmarkTree ReadBookmarkFile(std::istream& in);
QNBookmarkTree ReadBookmarkFile(const std::filesystem::path& file);

}  // namespace qn
