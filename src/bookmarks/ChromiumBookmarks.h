#pragma once

// The bookmarks of Chromium-family browsers (Chromium, Google Chrome, Brave,
// Microsoft Edge), kept as JSON in a profile's "Bookmarks" file.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkTree.h"

namespace qn {

// Reads the bookmarks bar, other and mobile bookmarks, in the browser's order. Text
// that is not JSON of that shape gives an empty tree.
QNBookmarkTree ReadChromiumBookmarks(std::string_view json);
QNBookmarkTree ReadChromiumBookmarksFile(const std::filesystem::path& file);

struct QNChromiumProfile {
  std::string folder;  // the profile's folder name ("Default", "Profile 1")
  std::string name;    // the name the browser shows, the folder's name when unknown
};

// The names the browser's "Local State" file gives its profiles, for the profile
// folders listed; in the order given.
std::vector<QNChromiumProfile> NameChromiumProfiles(std::string_view localState,
                                                    const std::vector<std::string>& folders);

}  // namespace qn
