#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace qn {

// A local file being written by a transfer. The bytes go into a temporary file
// beside it (PartialFilePath), which takes the file's name only when Commit is
// called: a transfer that breaks off, is stopped or is killed with the program never
// leaves a cut file under the name of a complete one, and never harms an older copy.
// Writes go straight to the system, so a full disk is noticed at the write that hits
// it and not later at closing.
class CQNOutputFile {
 public:
  CQNOutputFile() = default;
  // A file never committed is removed.
  ~CQNOutputFile();
  CQNOutputFile(const CQNOutputFile&) = delete;
  CQNOutputFile& operator=(const CQNOutputFile&) = delete;

  // Creates the folders of `path` and the temporary file; false when either fails.
  bool Create(const std::string& path);
  // False on a write error; `Error` then holds the system's error number.
  bool Write(const char* data, std::size_t n);
  // Closes the file; false when the last bytes could not be stored.
  bool Close();
  // After Close: gives the file its modification time `t` and then its name,
  // replacing an older file. False (with `Error`) when the rename fails.
  bool Commit(std::optional<std::time_t> t);
  int Error() const { return error_; }
  bool DiskFull() const;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
  std::string partial_;
  int error_ = 0;
};

// Where a transfer to `path` writes until it is complete: a hidden name in the same
// folder. A run that is killed leaves it behind; fetching the file again replaces it.
std::string PartialFilePath(const std::string& path);

// Size and modification time of a local file, none when it does not exist.
std::optional<std::uint64_t> LocalFileSize(const std::string& path);
std::optional<std::time_t> LocalFileTime(const std::string& path);
// Gives the file the modification time `t` (seconds since 1970, UTC).
void SetLocalFileTime(const std::string& path, std::time_t t);

}  // namespace qn
