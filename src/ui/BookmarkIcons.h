#pragma once

// The four pictures of the bookmark tree: closed folder, open folder, favorite and
// bookmark.

#include <QIcon>

#include "bookmarks/BookmarkTree.h"

namespace qn {

// A folder shows closed, and open while it is selected or expanded.
QIcon BookmarkIcon(QNBookmarkKind kind);

}  // namespace qn
