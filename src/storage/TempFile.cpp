#include "storage/TempFile.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

namespace qn {

std::optional<QNTempFile> QNTempFile::Create(const std::filesystem::path& folder,
                                             const char* suffix) {
  std::error_code ec;
  std::filesystem::path dir = folder.empty() ? std::filesystem::temp_directory_path(ec) : folder;
  if (ec) return std::nullopt;
  const std::string pattern = (dir / "qnXXXXXX").string() + suffix;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemps(name.data(), static_cast<int>(std::strlen(suffix)));
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return QNTempFile(std::filesystem::path(name.data()));
}

QNTempFile::QNTempFile(QNTempFile&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

QNTempFile::~QNTempFile() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

}  // namespace qn
