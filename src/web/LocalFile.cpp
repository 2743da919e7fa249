#include "web/LocalFile.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace qn {

std::string PartialFilePath(const std::string& path) {
  const std::filesystem::path p(path);
  return (p.parent_path() / ("." + p.filename().string() + ".qnpart")).string();
}

CQNOutputFile::~CQNOutputFile() {
  file_.reset();
  if (!partial_.empty()) {
    std::error_code ec;
    std::filesystem::remove(partial_, ec);
  }
}

bool CQNOutputFile::Create(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  if (ec) {
    error_ = ec.value();
    return false;
  }
  path_ = path;
  const std::string partial = PartialFilePath(path);
  file_.reset(std::fopen(partial.c_str(), "wb"));
  if (!file_) {
    error_ = errno;
    return false;
  }
  partial_ = partial;
  std::setvbuf(file_.get(), nullptr, _IONBF, 0);
  return true;
}

bool CQNOutputFile::Write(const char* data, std::size_t n) {
  if (!file_) return false;
  errno = 0;
  if (std::fwrite(data, 1, n, file_.get()) == n) return true;
  error_ = errno != 0 ? errno : EIO;
  return false;
}

bool CQNOutputFile::Close() {
  if (!file_) return false;
  errno = 0;
  const bool ok = std::fclose(file_.release()) == 0;
  if (!ok) error_ = errno != 0 ? errno : EIO;
  return ok;
}

bool CQNOutputFile::Commit(std::optional<std::time_t> t) {
  if (partial_.empty() || file_) return false;
  if (t) SetLocalFileTime(partial_, *t);
  std::error_code ec;
  std::filesystem::rename(partial_, path_, ec);
  if (ec) {
    error_ = ec.value();
    return false;
  }
  partial_.clear();
  return true;
}

bool CQNOutputFile::DiskFull() const {
  return error_ == ENOSPC || error_ == EDQUOT;
}

std::optional<std::uint64_t> LocalFileSize(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t n = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  return n;
}

std::optional<std::time_t> LocalFileTime(const std::string& path) {
  std::error_code ec;
  const auto t = std::filesystem::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          std::chrono::file_clock::to_sys(t)));
}

void SetLocalFileTime(const std::string& path, std::time_t t) {
  std::error_code ec;
  std::filesystem::last_write_time(
      path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(t)), ec);
}

}  // namespace qn
