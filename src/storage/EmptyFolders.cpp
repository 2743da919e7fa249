#include "storage/EmptyFolders.h"

#include <filesystem>
#include <system_error>

#include "web/Address.h"

namespace qn {

namespace fs = std::filesystem;

void RemoveFoldersLeftEmpty(const std::vector<std::string>& deleted, const std::string& top) {
  if (top.empty()) return;
  // Compared as files, so that "top/" and "top" are one folder.
  const auto isTop = [&](const fs::path& folder) {
    std::error_code ec;
    return fs::equivalent(folder, top, ec) && !ec;
  };
  for (const std::string& file : deleted) {
    for (fs::path folder = fs::path(file).parent_path(); !folder.empty();
         folder = folder.parent_path()) {
      const bool atTop = isTop(folder);
      if (!atTop && !IsPathInside(folder.string(), top)) break;
      std::error_code ec;
      if (fs::is_symlink(folder, ec) || !fs::is_empty(folder, ec) || ec) break;
      if (!fs::remove(folder, ec) || ec || atTop) break;
    }
  }
}

}  // namespace qn
