#include "bookmarks/ChromiumBookmarks.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "bookmarks/TextInput.h"

namespace qn {
namespace {

using Json = nlohmann::json;

// Large bookmark collections take a few tens of megabytes.
constexpr std::size_t kMaxJsonSize = 64u << 20;

// The top folders in the order the browser shows them.
constexpr const char* kRoots[] = {"bookmark_bar", "other", "synced"};

// Parsing never throws: a damaged file is a discarded value.
Json Parse(std::string_view text) {
  return Json::parse(text.begin(), text.end(), nullptr, false);
}

std::string StringMember(const Json& node, const char* key) {
  const auto member = node.find(key);
  return member != node.end() && member->is_string() ? member->get<std::string>() : std::string();
}

const Json* Children(const Json& node) {
  const auto member = node.find("children");
  return member != node.end() && member->is_array() ? &*member : nullptr;
}

}  // namespace

QNBookmarkTree ReadChromiumBookmarks(std::string_view json) {
  QNBookmarkTree tree;
  const Json document = Parse(json);
  if (!document.is_object()) return tree;
  const auto roots = document.find("roots");
  if (roots == document.end() || !roots->is_object()) return tree;

  struct FolderToRead {
    const Json* children;
    int item;
  };
  std::vector<FolderToRead> pending;
  for (const char* name : kRoots) {
    const auto root = roots->find(name);
    if (root == roots->end() || !root->is_object() || Children(*root) == nullptr) continue;
    const std::string shown = CleanBookmarkTitle(StringMember(*root, "name"));
    pending.push_back({Children(*root), tree.AddFolder(-1, shown.empty() ? name : shown)});
  }
  // The walk keeps its own stack, so nesting costs no call depth; folders go on it
  // backwards so that they are read in order.
  std::reverse(pending.begin(), pending.end());
  while (!pending.empty()) {
    const FolderToRead current = pending.back();
    pending.pop_back();
    std::vector<FolderToRead> subfolders;
    for (const Json& node : *current.children) {
      if (!node.is_object()) continue;
      const std::string type = StringMember(node, "type");
      if (type == "folder" && Children(node) != nullptr) {
        subfolders.push_back(
            {Children(node),
             tree.AddFolder(current.item, CleanBookmarkTitle(StringMember(node, "name")))});
      } else if (type == "url") {
        const std::string address = StringMember(node, "url");
        if (IsOfferedAddress(address))
          tree.AddLink(current.item, QNBookmarkKind::Bookmark,
                       BookmarkTitle(StringMember(node, "name"), address), address);
      }
    }
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
  return tree;
}

QNBookmarkTree ReadChromiumBookmarksFile(const std::filesystem::path& file) {
  const auto text = ReadWholeFile(file, kMaxJsonSize);
  return text ? ReadChromiumBookmarks(*text) : QNBookmarkTree();
}

std::vector<QNChromiumProfile> NameChromiumProfiles(std::string_view localState,
                                                    const std::vector<std::string>& folders) {
  const Json state = Parse(localState);
  const Json* cache = nullptr;
  if (state.is_object()) {
    const auto profile = state.find("profile");
    if (profile != state.end() && profile->is_object()) {
      const auto info = profile->find("info_cache");
      if (info != profile->end() && info->is_object()) cache = &*info;
    }
  }
  std::vector<QNChromiumProfile> profiles;
  for (const std::string& folder : folders) {
    std::string name;
    if (cache != nullptr) {
      const auto entry = cache->find(folder);
      if (entry != cache->end() && entry->is_object()) name = StringMember(*entry, "name");
    }
    profiles.push_back({folder, name.empty() ? folder : name});
  }
  return profiles;
}

}  // namespace qn
