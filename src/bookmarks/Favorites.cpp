#include "bookmarks/Favorites.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "bookmarks/IniFile.h"
#include "bookmarks/TextInput.h"
#include "text/NoCase.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

// A shortcut file holds a few lines; anything larger is not one.
constexpr std::size_t kMaxShortcutSize = 64 * 1024;

struct FolderToRead {
  fs::path path;
  int item;
};

// The entries of a folder in the order a person expects them: by name without
// regard to case. An unreadable folder has none.
std::vector<fs::directory_entry> ListFolder(const fs::path& folder) {
  std::vector<fs::directory_entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec))
    entries.push_back(*it);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    const std::string left = a.path().filename().string();
    const std::string right = b.path().filename().string();
    const std::string lowerLeft = ToLower(left);
    const std::string lowerRight = ToLower(right);
    return lowerLeft != lowerRight ? lowerLeft < lowerRight : left < right;
  });
  return entries;
}

}  // namespace

std::optional<std::string> ReadInternetShortcut(const fs::path& file) {
  const auto text = ReadWholeFile(file, kMaxShortcutSize);
  if (!text) return std::nullopt;
  const auto sections = ParseIni(*text);
  const QNIniSection* shortcut = FindIniSection(sections, "InternetShortcut");
  if (shortcut == nullptr) return std::nullopt;
  auto address = shortcut->Value("URL");
  if (!address || !IsOfferedAddress(*address)) return std::nullopt;
  return address;
}

QNBookmarkTree ReadFavorites(const fs::path& folder) {
  QNBookmarkTree tree;
  std::vector<FolderToRead> pending{{folder, -1}};
  while (!pending.empty()) {
    const FolderToRead current = std::move(pending.back());
    pending.pop_back();
    std::vector<FolderToRead> subfolders;
    for (const fs::directory_entry& entry : ListFolder(current.path)) {
      std::error_code ec;
      const std::string name = entry.path().filename().string();
      if (entry.is_directory(ec)) {
        if (entry.is_symlink(ec)) continue;
        subfolders.push_back({entry.path(), tree.AddFolder(current.item, name)});
        continue;
      }
      if (name.size() <= 4 || !EqualNoCase(std::string_view(name).substr(name.size() - 4), ".url"))
        continue;
      if (auto address = ReadInternetShortcut(entry.path()))
        tree.AddLink(current.item, QNBookmarkKind::Favorite, name.substr(0, name.rfind('.')),
                     std::move(*address));
    }
    // The last one pushed is read next, so push them backwards to read them in order.
    pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                   std::make_move_iterator(subfolders.rend()));
  }
  return tree;
}

}  // namespace qn
