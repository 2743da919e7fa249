#pragma once

#include <string>
#include <vector>

namespace qn {

// The projects opened last, most recent first, at most kLimit. Paths are compared
// exactly, as the file system tells them apart.
class QNRecentFiles {
 public:
  static constexpr std::size_t kLimit = 4;

  void Add(const std::string& path);
  void Remove(const std::string& path);
  // Entries as loaded: empty ones and those past the limit are dropped.
  void Assign(std::vector<std::string> paths);

  const std::vector<std::string>& Entries() const { return paths_; }
  // The most recent project, or "" when there is none.
  std::string First() const { return paths_.empty() ? std::string() : paths_.front(); }

  bool operator==(const QNRecentFiles&) const = default;

 private:
  std::vector<std::string> paths_;
};

}  // namespace qn
