#include "settings/SafeFileWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

namespace qn {
namespace {

// Closes the descriptor it holds when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the error a delayed write may only show here.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Reason(const char* what, const std::string& file) {
  return std::string(what) + " '" + file + "': " + std::strerror(errno);
}

// A fresh name beside `path`, created exclusively so that no other file is reused.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  std::random_device device;
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::minstd_rand pick(device() ^ counter++);
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kChars[pick() % (sizeof kChars - 1)];
    tempPath = path + ".qn" + suffix;
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string& error) {
  std::string tempPath;
  FileDescriptor file(CreateTemporary(path, tempPath));
  if (file.get() < 0) {
    error = Reason("Cannot create a temporary file for", path);
    return false;
  }
  // The new file keeps the permissions of the one it replaces.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(file.get(), old.st_mode & 07777);

  const char* failed = nullptr;
  if (!WriteAll(file.get(), bytes)) {
    failed = "Cannot write";
  } else if (::fsync(file.get()) != 0) {
    failed = "Cannot flush";
  } else if (!file.Close()) {
    failed = "Cannot close";
  } else if (::rename(tempPath.c_str(), path.c_str()) != 0) {
    failed = "Cannot replace";
  }
  if (failed) {
    error = Reason(failed, path);
    ::unlink(tempPath.c_str());
    return false;
  }
  // Make the rename itself durable; a failure here no longer endangers either file.
  FileDescriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  error.clear();
  return true;
}

}  // namespace qn
