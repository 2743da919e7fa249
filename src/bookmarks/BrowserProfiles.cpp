#include "bookmarks/BrowserProfiles.h"

#include <algorithm>
#include <fstream>
#include <tuple>

#include "bookmarks/ChromiumBookmarks.h"
#include "bookmarks/IniFile.h"
#include "bookmarks/TextInput.h"
#include "text/NoCase.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxProfileListSize = 1 << 20;
constexpr std::size_t kMaxLocalStateSize = 64u << 20;

bool IsReadableFile(const fs::path& file) {
  std::error_code ec;
  // Only a regular file is opened: a FIFO would block.
  return fs::is_regular_file(file, ec) && std::ifstream(file).is_open();
}

}  // namespace

std::vector<QNBrowserProfile> ReadMozillaProfiles(const fs::path& root) {
  std::vector<QNBrowserProfile> profiles;
  const auto text = ReadWholeFile(root / "profiles.ini", kMaxProfileListSize);
  if (!text) return profiles;
  for (const QNIniSection& section : ParseIni(*text)) {
    if (!StartsWithNoCase(section.name, "Profile")) continue;
    const auto path = section.Value("Path");
    if (!path || path->empty()) continue;
    const bool relative = section.Value("IsRelative").value_or("1") != "0";
    const fs::path folder = relative ? root / *path : fs::path(*path);
    profiles.push_back({section.Value("Name").value_or(*path), folder});
  }
  return profiles;
}

std::optional<fs::path> FindFileNoCase(const fs::path& folder, const std::string& name) {
  if (IsReadableFile(folder / name)) return folder / name;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (EqualNoCase(it->path().filename().string(), name) && IsReadableFile(it->path()))
      return it->path();
  return std::nullopt;
}

std::vector<QNBrowserProfile> FindChromiumProfiles(const fs::path& userData) {
  std::vector<std::string> folders;
  std::error_code ec;
  for (fs::directory_iterator it(userData, ec), end; !ec && it != end; it.increment(ec))
    if (IsReadableFile(it->path() / "Bookmarks")) folders.push_back(it->path().filename().string());
  const auto order = [](const std::string& folder) {
    return std::make_tuple(folder != "Default", folder.size(), folder);
  };
  std::sort(folders.begin(), folders.end(),
            [&](const auto& a, const auto& b) { return order(a) < order(b); });
  const auto state = ReadWholeFile(userData / "Local State", kMaxLocalStateSize);
  std::vector<QNBrowserProfile> profiles;
  for (const QNChromiumProfile& profile : NameChromiumProfiles(state.value_or(""), folders))
    profiles.push_back({profile.name, userData / profile.folder});
  return profiles;
}

}  // namespace qn
