#pragma once

// The tree of folders and links that every bookmark reader fills, and the rules for
// the texts and addresses it may hold.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

// Which picture an item gets: a folder, a favorite (a shortcut file) or a bookmark
// of a browser.
enum class QNBookmarkKind { Folder, Favorite, Bookmark };

struct QNBookmarkItem {
  int parent = -1;  // index of the folder it is under; -1 at the top level
  int depth = 0;    // 0 at the top level
  QNBookmarkKind kind = QNBookmarkKind::Folder;
  std::string text;
  std::string address;  // empty for a folder
};

// Folders nest at most this deep. A reader never recurses, but a view or a person
// has no use for more, and a hostile file could nest millions: what a deeper folder
// holds goes into its ancestor at this depth, so no link is lost.
constexpr int kMaxBookmarkDepth = 100;

// Bookmark titles are shown cut to this many characters.
constexpr std::size_t kMaxBookmarkTitle = 50;

// Items in the order read; a folder comes before everything it holds, and the items
// of one folder keep their order.
struct QNBookmarkTree {
  std::vector<QNBookmarkItem> items;

  // The index of a new folder under `parent` (-1: the top level), or `parent` itself
  // when a folder there would nest too deep.
  int AddFolder(int parent, std::string name);
  void AddLink(int parent, QNBookmarkKind kind, std::string text, std::string address);
  bool HasLinks() const;
};

// Each of \ / : ? * " < > | becomes "$", a tab a space, and leading and trailing spaces
// go: the title cleaning of bookmark titles and folder names.
std::string CleanBookmarkTitle(std::string_view title);

// The first `count` characters of UTF-8 text; a byte that starts no valid sequence
// counts as one character, so a cut never splits a sequence.
std::string CutCharacters(std::string_view text, std::size_t count);

// The text a bookmark is shown with: its title, or its address when the title is
// empty, cut to 50 characters and cleaned.
std::string BookmarkTitle(std::string_view title, std::string_view address);

// Whether an address can become a start address: a fetchable link (not
// "javascript:", "place:", "data:", "mailto:", ...) that fits an address buffer.
bool IsOfferedAddress(std::string_view address);

}  // namespace qn
