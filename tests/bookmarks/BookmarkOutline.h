#pragma once

// A bookmark tree as text, one item a line, indented by depth, in the order a tree
// view shows it: "Folder/" or "Title = address".

#include <string>
#include <vector>

#include "bookmarks/BookmarkTree.h"

namespace qn::test {

inline std::string Outline(const QNBookmarkTree& tree) {
  std::vector<std::vector<int>> children(tree.items.size() + 1);
  for (std::size_t i = 0; i < tree.items.size(); ++i)
    children[static_cast<std::size_t>(tree.items[i].parent + 1)].push_back(static_cast<int>(i));
  std::string text;
  std::vector<int> stack(children[0].rbegin(), children[0].rend());
  while (!stack.empty()) {
    const int index = stack.back();
    stack.pop_back();
    const QNBookmarkItem& item = tree.items[static_cast<std::size_t>(index)];
    text += std::string(static_cast<std::size_t>(item.depth) * 2, ' ') + item.text;
    text += item.kind == QNBookmarkKind::Folder ? "/\n" : " = " + item.address + "\n";
    const auto& below = children[static_cast<std::size_t>(index + 1)];
    stack.insert(stack.end(), below.rbegin(), below.rend());
  }
  return text;
}

}  // namespace qn::test
