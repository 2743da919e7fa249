#include "app/RecentFiles.h"

#include <algorithm>

namespace qn {

void QNRecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  Remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kLimit) paths_.resize(kLimit);
}

void QNRecentFiles::Remove(const std::string& path) {
  std::erase(paths_, path);
}

void QNRecentFiles::Assign(std::vector<std::string> paths) {
  std::erase(paths, std::string());
  if (paths.size() > kLimit) paths.resize(kLimit);
  paths_ = std::move(paths);
}

}  // namespace qn
