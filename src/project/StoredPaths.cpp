#include "project/ProjectFileFormat.h"
#include "web/Address.h"

namespace qn {

std::string StartFolder(const CQNSettings& s) {
  return s.QN_START_URL[0].empty() ? std::string() : GetBaseDirectory(s.QN_START_URL[0]);
}

std::string ProjectFolder(const std::string& projectPath) {
  const std::size_t sep = FindLastSeparator(projectPath);
  return sep == std::string::npos ? std::string() : projectPath.substr(0, sep + 1);
}

std::string JoinStoredAddress(std::string_view t, std::string_view base) {
  const std::string b(base);
  if (t.empty()) return b;
  // The writer stores an address unchanged only when it could not relate it to the
  // start folder; such an address keeps its scheme. Everything else is relative,
  // including texts with a dot before their first separator ("v1.2/index.htm",
  // "localhost" addresses, "?u=http://..." queries).
  if (!GetSchemePrefix(t).empty()) return CutToBuffer(t);
  if (FindFirstSeparator(t) == std::string_view::npos) return CutToBuffer(b + std::string(t));
  if (IsSeparator(t.front())) return CutToBuffer(b + std::string(t.substr(1)));

  // "..\" is tested first and decides which form is counted.
  const std::string_view up = t.starts_with("..\\") ? "..\\" : t.starts_with("../") ? "../" : "";
  if (!up.empty()) {
    std::size_t count = 0;
    std::size_t after = 0;
    for (std::size_t at = t.find(up); at != std::string_view::npos; at = t.find(up, at + 1)) {
      ++count;
      after = at + up.size();
    }
    std::string folder = b;
    if (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
    for (; count > 0; --count) {
      const std::size_t sep = FindLastSeparator(folder);
      if (sep == std::string::npos) break;
      folder.resize(sep);
    }
    return CutToBuffer(folder + "/" + std::string(t.substr(after)));
  }
  if (t.starts_with(".\\") || t.starts_with("./")) return CutToBuffer(b + std::string(t.substr(2)));
  if (t.find("file://") != std::string_view::npos) return CutToBuffer(t);
  return CutToBuffer(b + std::string(t));
}

}  // namespace qn
