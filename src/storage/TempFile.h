#pragma once

// Temporary files, and moving a finished file into its place.

#include <filesystem>
#include <optional>
#include <string>

namespace qn {

// A uniquely named file, removed again when the object goes out of scope unless it
// was kept (after it has been moved to its place): the partial result of a step that
// failed never stays behind.
class QNTempFile {
 public:
  // A new empty file in `folder` (the system temporary folder when empty) whose name
  // starts with `prefix` and ends in `suffix`; nothing when none can be made.
  static std::optional<QNTempFile> Create(const std::filesystem::path& folder = {},
                                          const char* suffix = "", const char* prefix = "qn");
  // The same for the file and archive layer, which reports by exception: throws
  // std::system_error when no file can be made.
  static QNTempFile CreateOrThrow(const std::filesystem::path& folder = {},
                                  const char* prefix = "qn");

  QNTempFile(QNTempFile&& other) noexcept;
  QNTempFile& operator=(QNTempFile&&) = delete;
  QNTempFile(const QNTempFile&) = delete;
  QNTempFile& operator=(const QNTempFile&) = delete;
  ~QNTempFile();

  const std::filesystem::path& Path() const { return path_; }
  // The file no longer belongs to this object (it was renamed or handed on).
  void Keep() { path_.clear(); }

 private:
  explicit QNTempFile(std::filesystem::path path) : path_(std::move(path)) {}
  std::filesystem::path path_;
};

// A uniquely named folder in the system temporary folder, removed with everything in
// it when the object goes out of scope: for work on copies of files that must keep
// their names side by side (a database and its journal).
class QNTempFolder {
 public:
  // Nothing when no folder can be made.
  static std::optional<QNTempFolder> Create(const char* prefix = "qn");

  QNTempFolder(QNTempFolder&& other) noexcept;
  QNTempFolder& operator=(QNTempFolder&&) = delete;
  QNTempFolder(const QNTempFolder&) = delete;
  QNTempFolder& operator=(const QNTempFolder&) = delete;
  ~QNTempFolder();

  const std::filesystem::path& Path() const { return path_; }

 private:
  explicit QNTempFolder(std::filesystem::path path) : path_(std::move(path)) {}
  std::filesystem::path path_;
};

// Moves `from` to `to`, replacing `to` in one step. Across file systems the file is
// first copied beside `to` and then renamed over it, so `to` is never half written.
// Throws std::filesystem::filesystem_error; on failure `to` is unchanged.
void MoveFileReplacing(const std::string& from, const std::string& to);

}  // namespace qn
