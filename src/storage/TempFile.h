#pragma once

#include <filesystem>
#include <optional>

namespace qn {

// A uniquely named file made with the prefix "qn", removed again when the object
// goes out of scope unless it was kept (after it has been moved to its place).
class QNTempFile {
 public:
  // A new empty file in `folder` (the system temporary folder when empty) whose name
  // ends in `suffix`; nothing when none can be made.
  static std::optional<QNTempFile> Create(const std::filesystem::path& folder = {},
                                          const char* suffix = "");

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

}  // namespace qn
