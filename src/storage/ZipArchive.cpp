#include "storage/ZipArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "storage/TempFile.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 65536;

struct QNZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using QNZipFileHandle = std::unique_ptr<zip_file_t, QNZipFileCloser>;

struct QNSourceFreer {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};

class QNFd {
 public:
  explicit QNFd(int fd) : fd_(fd) {}
  ~QNFd() {
    if (fd_ >= 0) close(fd_);
  }
  QNFd(const QNFd&) = delete;
  QNFd& operator=(const QNFd&) = delete;
  int Get() const { return fd_; }
  // Closes now, telling whether the data reached the file.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fsync(fd) == 0 && close(fd) == 0;
  }

 private:
  int fd_;
};

[[noreturn]] void ThrowArchiveError(zip_t* archive, const std::string& what) {
  zip_error_t* error = zip_get_error(archive);
  const int code = zip_error_code_zip(error);
  const std::string text = what + ": " + zip_error_strerror(error);
  if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD) throw QNZipPasswordError(text);
  throw QNZipError(text);
}

[[noreturn]] void ThrowFileError(zip_file_t* file, const std::string& what) {
  zip_error_t* error = zip_file_get_error(file);
  const int code = zip_error_code_zip(error);
  const std::string text = what + ": " + zip_error_strerror(error);
  if (code == ZIP_ER_WRONGPASSWD) throw QNZipPasswordError(text);
  throw QNZipError(text);
}

QNZipHandle OpenArchive(const std::string& path, int flags) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), flags, &code);
  if (!archive) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string text = path + ": " + zip_error_strerror(&error);
    zip_error_fini(&error);
    throw QNZipError(text);
  }
  return QNZipHandle(archive);
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& target) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw QNZipError(target + ": " + std::strerror(n < 0 ? errno : ENOSPC));
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

}  // namespace

QNZipWriter::QNZipWriter(const std::string& path)
    : path_(path), archive_(OpenArchive(path, ZIP_CREATE | ZIP_TRUNCATE)) {}

bool QNZipWriter::AddFile(const std::string& source, const std::string& name) {
  zip_t* a = archive_.get();
  if (zip_name_locate(a, name.c_str(), 0) >= 0) return false;
  zip_error_t error;
  zip_error_init(&error);
  std::unique_ptr<zip_source_t, QNSourceFreer> src(
      zip_source_file_create(source.c_str(), 0, -1, &error));
  if (!src) {
    const std::string text = source + ": " + zip_error_strerror(&error);
    zip_error_fini(&error);
    throw QNZipError(text);
  }
  zip_error_fini(&error);
  const zip_int64_t index = zip_file_add(a, name.c_str(), src.get(), ZIP_FL_ENC_GUESS);
  if (index < 0) ThrowArchiveError(a, name);
  src.release();  // the archive owns the source now
  const auto i = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(a, i, ZIP_CM_DEFLATE, 0) != 0) ThrowArchiveError(a, name);
  if (!password_.empty() &&
      zip_file_set_encryption(a, i, ZIP_EM_TRAD_PKWARE, password_.c_str()) != 0)
    ThrowArchiveError(a, name);
  return true;
}

void QNZipWriter::Close() {
  if (zip_close(archive_.get()) != 0) ThrowArchiveError(archive_.get(), path_);
  archive_.release();  // zip_close freed it
}

std::int64_t QNZipWriter::Entries() const {
  return zip_get_num_entries(archive_.get(), 0);
}

QNZipReader::QNZipReader(const std::string& path)
    : path_(path), archive_(OpenArchive(path, ZIP_RDONLY | ZIP_CHECKCONS)) {}

std::int64_t QNZipReader::Entries() const {
  return zip_get_num_entries(archive_.get(), 0);
}

std::uint64_t QNZipReader::Index(std::int64_t index) const {
  if (index < 0 || index >= Entries()) throw QNZipError(path_ + ": no such entry");
  return static_cast<std::uint64_t>(index);
}

std::string QNZipReader::Name(std::int64_t index) const {
  const char* name = zip_get_name(archive_.get(), Index(index), ZIP_FL_ENC_RAW);
  if (!name) ThrowArchiveError(archive_.get(), path_);
  return name;
}

bool QNZipReader::IsEncrypted(std::int64_t index) const {
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive_.get(), Index(index), 0, &st) != 0)
    ThrowArchiveError(archive_.get(), path_);
  return (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
}

bool QNZipReader::AnyEncrypted() const {
  for (std::int64_t i = 0; i < Entries(); ++i)
    if (IsEncrypted(i)) return true;
  return false;
}

bool QNZipReader::IsLink(std::int64_t index) const {
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(archive_.get(), Index(index), 0, &system, &attributes) != 0)
    ThrowArchiveError(archive_.get(), path_);
  return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & S_IFMT) == S_IFLNK;
}

bool QNZipReader::IsFolder(std::int64_t index) const {
  const std::string name = Name(index);
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

void QNZipReader::Extract(std::int64_t index, const std::string& password,
                          const std::string& target) const {
  QNZipFileHandle file(zip_fopen_index_encrypted(archive_.get(), Index(index), 0,
                                                 password.empty() ? nullptr : password.c_str()));
  if (!file) ThrowArchiveError(archive_.get(), Name(index));
  const fs::path parent = fs::path(target).parent_path();
  QNTempFile temp = QNTempFile::CreateOrThrow(parent.empty() ? "." : parent, ".qn");
  QNFd out(open(temp.Path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (out.Get() < 0) throw QNZipError(temp.Path().string() + ": " + std::strerror(errno));
  std::string buffer(kChunk, '\0');
  for (;;) {
    const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
    if (n < 0) ThrowFileError(file.get(), Name(index));
    if (n == 0) break;
    WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(n), target);
  }
  if (!out.Close()) throw QNZipError(target + ": " + std::strerror(errno));
  fs::permissions(temp.Path(), fs::perms::owner_read | fs::perms::owner_write |
                                   fs::perms::group_read | fs::perms::others_read);
  fs::rename(temp.Path(), target);
  temp.Keep();
}

void QNZipReader::Verify(const std::string& password) const {
  std::string buffer(kChunk, '\0');
  for (std::int64_t i = 0; i < Entries(); ++i) {
    QNZipFileHandle file(zip_fopen_index_encrypted(archive_.get(), Index(i), 0,
                                                   password.empty() ? nullptr : password.c_str()));
    if (!file) ThrowArchiveError(archive_.get(), Name(i));
    zip_int64_t n;
    while ((n = zip_fread(file.get(), buffer.data(), buffer.size())) > 0) {
    }
    if (n < 0) ThrowFileError(file.get(), Name(i));
  }
}

}  // namespace qn
