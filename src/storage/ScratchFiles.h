#pragma once

// Temporary files of the project operations, and moving a finished file into place.

#include <string>

namespace qn {

// A new empty file with a unique name starting with `prefix` in `folder` (the
// system temporary folder when empty). Throws std::system_error when it cannot be
// made.
std::string MakeTempFile(const std::string& folder = {}, const std::string& prefix = "qn");

// A temporary file that is removed again unless Keep is called: the partial result
// of a step that failed never stays behind.
class QNScratchFile {
 public:
  explicit QNScratchFile(const std::string& folder = {}, const std::string& prefix = "qn")
      : path_(MakeTempFile(folder, prefix)) {}
  ~QNScratchFile();
  QNScratchFile(const QNScratchFile&) = delete;
  QNScratchFile& operator=(const QNScratchFile&) = delete;

  const std::string& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  bool kept_ = false;
};

// Moves `from` to `to`, replacing `to` in one step. Across file systems the file is
// first copied beside `to` and then renamed over it, so `to` is never half written.
// Throws std::filesystem::filesystem_error; on failure `to` is unchanged.
void MoveFileReplacing(const std::string& from, const std::string& to);

}  // namespace qn
