#pragma once

// ZIP archives of the project operations over libzip: entries deflated at the
// default level and, when a password is set, under the traditional PKWARE
// encryption that every common ZIP tool reads. Failures throw QNZipError; the
// operations above catch them, so none leaves this layer's callers.

#include <zip.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace qn {

class QNZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A password the reader needs and does not have, or one that does not fit.
class QNZipPasswordError : public QNZipError {
 public:
  using QNZipError::QNZipError;
};

struct QNZipDeleter {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using QNZipHandle = std::unique_ptr<zip_t, QNZipDeleter>;

// Writes a new archive (an existing file is replaced when the archive is closed).
// Nothing reaches the disk before Close; an archive never closed leaves no file.
class QNZipWriter {
 public:
  explicit QNZipWriter(const std::string& path);

  // Every entry added afterwards is encrypted with it; empty means no encryption.
  void SetPassword(std::string password) { password_ = std::move(password); }
  // Adds the file at `source` under `name`. A name already in the archive is
  // skipped (two nodes can share one saved file); false then.
  bool AddFile(const std::string& source, const std::string& name);
  // Writes the archive; throws when it could not be written completely.
  void Close();
  std::int64_t Entries() const;

 private:
  std::string path_;
  std::string password_;
  QNZipHandle archive_;
};

// Reads an archive.
class QNZipReader {
 public:
  explicit QNZipReader(const std::string& path);

  std::int64_t Entries() const;
  std::string Name(std::int64_t index) const;
  bool IsEncrypted(std::int64_t index) const;
  bool AnyEncrypted() const;
  // Whether the entry is a symbolic link (written by a Unix ZIP tool).
  bool IsLink(std::int64_t index) const;
  bool IsFolder(std::int64_t index) const;

  // Writes the entry to `target` through a temporary file beside it, so a failure
  // leaves any earlier file at `target` untouched. A wrong password throws
  // QNZipPasswordError.
  void Extract(std::int64_t index, const std::string& password, const std::string& target) const;
  // Reads every entry to its end, which checks each entry's CRC (and so the
  // password); throws at the first entry that does not read back.
  void Verify(const std::string& password) const;

 private:
  std::uint64_t Index(std::int64_t index) const;
  std::string path_;
  QNZipHandle archive_;
};

}  // namespace qn
