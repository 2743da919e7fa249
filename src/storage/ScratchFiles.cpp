#include "storage/ScratchFiles.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace qn {

namespace fs = std::filesystem;

std::string MakeTempFile(const std::string& folder, const std::string& prefix) {
  const fs::path dir = folder.empty() ? fs::temp_directory_path() : fs::path(folder);
  std::string pattern = (dir / (prefix + "XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "mkstemp " + pattern);
  close(fd);
  return name.data();
}

QNScratchFile::~QNScratchFile() {
  if (kept_) return;
  std::error_code ec;
  fs::remove(path_, ec);
}

void MoveFileReplacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (!ec) return;
  if (ec != std::errc::cross_device_link) throw fs::filesystem_error("move", from, to, ec);
  const fs::path target(to);
  QNScratchFile copy(target.parent_path().empty() ? "." : target.parent_path().string(), ".qn");
  fs::copy_file(from, copy.Path(), fs::copy_options::overwrite_existing);
  fs::rename(copy.Path(), to);
  copy.Keep();
  fs::remove(from, ec);
}

}  // namespace qn
