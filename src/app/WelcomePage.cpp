#include "app/WelcomePage.h"

#include <filesystem>
#include <system_error>

namespace qn {

std::string WriteWelcomePage(const std::string& sourceFolder, const std::string& writableFolder,
                             const std::string& languageFile) {
  namespace fs = std::filesystem;
  if (sourceFolder.empty()) return {};
  std::error_code ec;
  const fs::path target = fs::path(writableFolder) / "_QNwelcome";
  fs::create_directories(target, ec);
  if (ec) return {};
  for (const fs::directory_entry& entry : fs::directory_iterator(sourceFolder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const fs::path copy = target / entry.path().filename();
    // An installation may hold its data read-only, and so is an earlier copy of it;
    // the copy is rewritten at every start.
    if (fs::exists(copy, ec))
      fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add, ec);
    fs::copy_file(entry.path(), copy, fs::copy_options::overwrite_existing, ec);
    if (ec) return {};
  }
  if (!languageFile.empty()) {
    const fs::path translated =
        target / ("Welcome." + fs::path(languageFile).stem().string() + ".htm");
    std::error_code missing;
    if (fs::is_regular_file(translated, missing)) return translated.string();
  }
  const fs::path page = target / "Welcome.htm";
  return !ec && fs::is_regular_file(page, ec) ? page.string() : std::string();
}

}  // namespace qn
