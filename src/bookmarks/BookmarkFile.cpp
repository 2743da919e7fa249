#include "bookmarks/BookmarkFile.h"

#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/TextInput.h"
#include "web/EntityTable.h"

namespace qn {
namespace {

constexpr auto npos = std::string_view::npos;

// Exports carry icons as data addresses in the tag, so lines of a few hundred
// kilobytes are real; longer ones are cut rather than held whole.
constexpr std::size_t kMaxLineLength = 1 << 20;

struct PendingLink {
  std::string title;
  std::string address;
};

// One list being read: the folder it fills and its count of unnamed folders.
struct OpenList {
  int folder;
  unsigned unnamed = 0;
};

std::string Decoded(std::string_view text) {
  std::string decoded(text);
  DecodeEntities(decoded);
  return decoded;
}

// The text from `from` up to `end`, or to the end of the line when `end` is missing.
std::string_view TextUpTo(std::string_view line, std::size_t from, std::string_view end) {
  if (from > line.size()) return {};
  const std::size_t stop = line.find(end, from);
  return line.substr(from, stop == npos ? npos : stop - from);
}

std::string FolderName(std::string_view line, OpenList& list) {
  constexpr std::string_view kFolder = "<DT><H3";
  const std::size_t open = line.find('>', line.find(kFolder) + kFolder.size());
  std::string name =
      open == npos ? std::string() : CleanBookmarkTitle(Decoded(TextUpTo(line, open + 1, "</H3>")));
  if (name.empty()) name = "Folder (" + std::to_string(++list.unnamed) + ")";
  return name;
}

std::optional<PendingLink> Link(std::string_view line) {
  constexpr std::string_view kHref = "HREF=\"";
  const std::size_t href = line.find(kHref, line.find("<DT><A"));
  if (href == npos) return std::nullopt;
  const std::size_t start = href + kHref.size();
  const std::size_t quote = line.find('"', start);
  if (quote == npos) return std::nullopt;
  std::string address = Decoded(line.substr(start, quote - start));
  std::erase(address, '\t');
  if (!IsOfferedAddress(address)) return std::nullopt;
  const std::size_t close = line.find('>', quote);
  const std::string title =
      close == npos ? std::string() : Decoded(TextUpTo(line, close + 1, "</A>"));
  return PendingLink{BookmarkTitle(title, address), std::move(address)};
}

}  // namespace

QNBookmarkTree ReadBookmarkFile(std::istream& in) {
  QNBookmarkTree tree;
  SkipByteOrderMark(in);
  std::string line;
  std::optional<std::string> rootTitle;
  while (!rootTitle && ReadTextLine(in, line, kMaxLineLength)) {
    const std::size_t h1 = line.find("<H1>");
    if (h1 == npos) continue;
    const std::size_t end = line.find("</H1>", h1);
    if (end == npos) return tree;
    rootTitle = CleanBookmarkTitle(Decoded(line.substr(h1 + 4, end - h1 - 4)));
  }
  if (!rootTitle) return tree;

  // The reader keeps its own stack of open lists, so nesting costs no call depth.
  std::vector<OpenList> lists;
  std::optional<std::string> awaitedFolder = std::move(rootTitle);
  std::optional<PendingLink> pending;
  const auto appendPending = [&] {
    if (pending)
      tree.AddLink(lists.back().folder, QNBookmarkKind::Bookmark, std::move(pending->title),
                   std::move(pending->address));
    pending.reset();
  };
  while (ReadTextLine(in, line, kMaxLineLength)) {
    if (awaitedFolder) {
      // A folder's item is made when its list starts, as its contents follow.
      if (line.find("<DL><p>") == npos) continue;
      const int parent = lists.empty() ? -1 : lists.back().folder;
      lists.push_back({tree.AddFolder(parent, std::move(*awaitedFolder))});
      awaitedFolder.reset();
      continue;
    }
    appendPending();
    if (line.find("</DL><p") != npos) {
      lists.pop_back();
      if (lists.empty()) break;
    } else if (line.find("<DT><H3") != npos) {
      awaitedFolder = FolderName(line, lists.back());
    } else if (line.find("<DT><A") != npos) {
      pending = Link(line);
    }
  }
  // A file cut short (or one whose top list ends in "</DL>" alone, as browsers
  // write it) keeps every link read so far.
  if (!lists.empty()) appendPending();
  return tree;
}

QNBookmarkTree ReadBookmarkFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return {};
  std::ifstream in(file, std::ios::binary);
  return ReadBookmarkFile(in);
}

}  // namespace qn
