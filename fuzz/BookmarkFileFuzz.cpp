// Feeds arbitrary bytes to the bookmark-file reader and checks that the tree it
// gives holds together: parents come first, nesting is bounded, every link has an
// address that can be offered and a title no longer than the cut.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "bookmarks/BookmarkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const qn::QNBookmarkTree tree = qn::ReadBookmarkFile(in);
  for (std::size_t i = 0; i < tree.items.size(); ++i) {
    const qn::QNBookmarkItem& item = tree.items[i];
    if (item.parent >= static_cast<int>(i) || item.depth > qn::kMaxBookmarkDepth) std::abort();
    if (item.parent >= 0 &&
        tree.items[static_cast<std::size_t>(item.parent)].kind != qn::QNBookmarkKind::Folder)
      std::abort();
    if (item.kind != qn::QNBookmarkKind::Folder &&
        (!qn::IsOfferedAddress(item.address) || item.text.size() > 4 * qn::kMaxBookmarkTitle))
      std::abort();
  }
  return 0;
}
