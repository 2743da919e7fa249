#pragma once

// Where browsers keep their profiles on this system.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qn {

struct QNBrowserProfile {
  std::string name;
  std::filesystem::path folder;
};

// The profiles that "profiles.ini" in a Mozilla-family folder (~/.mozilla/firefox,
// ~/.netscape) lists, in its order; a relative path is taken from that folder.
std::vector<QNBrowserProfile> ReadMozillaProfiles(const std::filesystem::path& root);

// The file `name` in `folder`, its name compared without regard to case; nothing
// when there is none that can be read.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder,
                                                    const std::string& name);

// The profiles of a Chromium-family user-data folder that hold a "Bookmarks" file,
// "Default" first and the others in number order, named as the browser names them.
std::vector<QNBrowserProfile> FindChromiumProfiles(const std::filesystem::path& userData);

}  // namespace qn
