#include "storage/ProjectPaths.h"

#include <filesystem>

#include "project/ProjectOpen.h"
#include "records/ReportLogo.h"
#include "settings/ProjectSettings.h"
#include "web/Address.h"

namespace qn {

namespace fs = std::filesystem;

std::string DownloadArchivePath(const std::string& projectFile) {
  return projectFile.empty() ? std::string() : WithExtension(projectFile, "qnz");
}

std::string ReportCompanionPath(const std::string& reportPath) {
  if (reportPath.empty()) return {};
  const std::string folder = FolderOf(reportPath);
  return folder.empty() ? std::string(kReportLogoName)
                        : folder + kNativeSeparator + kReportLogoName;
}

std::string FolderOf(const std::string& path) {
  const std::size_t sep = FindLastSeparator(path);
  if (sep == std::string::npos) return {};
  return sep == 0 ? path.substr(0, 1) : path.substr(0, sep);
}

std::string EntryNameFor(const std::string& path) {
  std::string name = fs::absolute(path).lexically_normal().generic_string();
  const std::size_t first = name.find_first_not_of('/');
  return first == std::string::npos ? std::string() : name.substr(first);
}

std::optional<std::string> EntryTarget(const std::string& root, const std::string& name) {
  fs::path relative;
  std::size_t begin = 0;
  while (begin <= name.size()) {
    std::size_t end = FindFirstSeparator(name, begin);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(begin, end - begin);
    if (part == "..") return std::nullopt;
    if (!part.empty() && part != ".") relative /= part;
    begin = end + 1;
  }
  if (relative.empty()) return std::nullopt;
  return (fs::path(root) / relative).string();
}

}  // namespace qn
