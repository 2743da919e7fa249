#include "storage/EmptyFolders.h"

#include <filesystem>
#include <system_error>

namespace qn {
namespace {

namespace fs = std::filesystem;

void RemoveBelow(const fs::path& folder) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return;
  for (const fs::directory_entry& entry : it) {
    std::error_code typeError;
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError)) RemoveBelow(entry.path());
  }
  if (fs::is_empty(folder, ec) && !ec) fs::remove(folder, ec);
}

}  // namespace

void RemoveEmptyFolders(const std::string& folder) {
  if (folder.empty()) return;
  std::error_code ec;
  if (fs::is_symlink(folder, ec)) return;
  RemoveBelow(fs::path(folder));
}

}  // namespace qn
