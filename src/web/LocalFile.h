#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace qn {

// A local file being written by a transfer. Writes go straight to the system, so a
// full disk is noticed at the write that hits it and not later at closing.
class CQNOutputFile {
 public:
  // Creates the folders of `path` and the file itself; false when either fails.
  bool Create(const std::string& path);
  // False on a write error; `Error` then holds the system's error number.
  bool Write(const char* data, std::size_t n);
  // Closes the file; false when the last bytes could not be stored.
  bool Close();
  int Error() const { return error_; }
  bool DiskFull() const;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  int error_ = 0;
};

// Removes a local file, ignoring a file that is already gone.
void RemoveLocalFile(const std::string& path);

// Size and modification time of a local file, none when it does not exist.
std::optional<std::uint64_t> LocalFileSize(const std::string& path);
std::optional<std::time_t> LocalFileTime(const std::string& path);
// Gives the file the modification time `t` (seconds since 1970, UTC).
void SetLocalFileTime(const std::string& path, std::time_t t);

}  // namespace qn
