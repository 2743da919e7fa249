#include "bookmarks/BookmarkTree.h"

#include <algorithm>

#include "text/AddressChars.h"
#include "web/Address.h"

namespace qn {

int QNBookmarkTree::AddFolder(int parent, std::string name) {
  const int depth = parent < 0 ? 0 : items[static_cast<std::size_t>(parent)].depth + 1;
  if (depth >= kMaxBookmarkDepth) return parent;
  items.push_back({parent, depth, QNBookmarkKind::Folder, std::move(name), {}});
  return static_cast<int>(items.size() - 1);
}

void QNBookmarkTree::AddLink(int parent, QNBookmarkKind kind, std::string text,
                             std::string address) {
  const int depth = parent < 0 ? 0 : items[static_cast<std::size_t>(parent)].depth + 1;
  items.push_back({parent, depth, kind, std::move(text), std::move(address)});
}

bool QNBookmarkTree::HasLinks() const {
  return std::any_of(items.begin(), items.end(),
                     [](const QNBookmarkItem& item) { return !item.address.empty(); });
}

std::string CleanBookmarkTitle(std::string_view title) {
  std::string clean(title);
  for (char& c : clean) {
    if (std::string_view("\\/:?*\"<>|").find(c) != std::string_view::npos)
      c = '$';
    else if (c == '\t')
      c = ' ';
  }
  const std::size_t first = clean.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

namespace {

// Length in bytes of the character that starts at `text[at]`.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  if (at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  return length;
}

}  // namespace

std::string CutCharacters(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < count && at < text.size(); ++n) at += CharacterLength(text, at);
  return std::string(text.substr(0, at));
}

std::string BookmarkTitle(std::string_view title, std::string_view address) {
  std::string shown = CleanBookmarkTitle(CutCharacters(title, kMaxBookmarkTitle));
  if (shown.empty()) shown = CleanBookmarkTitle(CutCharacters(address, kMaxBookmarkTitle));
  return shown;
}

bool IsOfferedAddress(std::string_view address) {
  return !address.empty() && address.size() <= kMaxAddressLength && IsFetchableLink(address);
}

}  // namespace qn
