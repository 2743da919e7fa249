#include "storage/TempFile.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace qn {
namespace {

namespace fs = std::filesystem;

// The made file's path, or nothing with errno telling why.
std::optional<fs::path> MakeUnique(const fs::path& folder, const char* prefix, const char* suffix) {
  std::error_code ec;
  const fs::path dir = folder.empty() ? fs::temp_directory_path(ec) : folder;
  if (ec) {
    errno = ec.value();
    return std::nullopt;
  }
  const std::string pattern = (dir / (std::string(prefix) + "XXXXXX")).string() + suffix;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemps(name.data(), static_cast<int>(std::strlen(suffix)));
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return fs::path(name.data());
}

}  // namespace

std::optional<QNTempFile> QNTempFile::Create(const fs::path& folder, const char* suffix,
                                             const char* prefix) {
  auto path = MakeUnique(folder, prefix, suffix);
  if (!path) return std::nullopt;
  return QNTempFile(std::move(*path));
}

QNTempFile QNTempFile::CreateOrThrow(const fs::path& folder, const char* prefix) {
  auto path = MakeUnique(folder, prefix, "");
  if (!path)
    throw std::system_error(errno, std::generic_category(),
                            "cannot make a temporary file in " + folder.string());
  return QNTempFile(std::move(*path));
}

QNTempFile::QNTempFile(QNTempFile&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

QNTempFile::~QNTempFile() {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove(path_, ec);
}

std::optional<QNTempFolder> QNTempFolder::Create(const char* prefix) {
  std::error_code ec;
  const fs::path dir = fs::temp_directory_path(ec);
  if (ec) return std::nullopt;
  std::string pattern = (dir / (std::string(prefix) + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) return std::nullopt;
  return QNTempFolder(fs::path(pattern));
}

QNTempFolder::QNTempFolder(QNTempFolder&& other) noexcept : path_(std::move(other.path_)) {
  other.path_.clear();
}

QNTempFolder::~QNTempFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void MoveFileReplacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return;
  if (ec != std::errc::cross_device_link) throw fs::filesystem_error("move", from, to, ec);
  const fs::path target(to);
  QNTempFile copy =
      QNTempFile::CreateOrThrow(target.parent_path().empty() ? "." : target.parent_path(), ".qn");
  fs::copy_file(from, copy.Path(), fs::copy_options::overwrite_existing);
  fs::rename(copy.Path(), to);
  copy.Keep();
  fs::remove(from, ec);
}

}  // namespace qn
