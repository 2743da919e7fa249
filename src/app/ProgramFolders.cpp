#include "app/ProgramFolders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace qn {
namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// The data folder of an installation: a program in PREFIX/bin finds its data in
// PREFIX/share/quillorne, wherever PREFIX was put.
std::string InstalledDataFolder() {
  std::error_code ec;
  const std::filesystem::path data =
      (std::filesystem::path(ProgramFolder()) / "../share/quillorne").lexically_normal();
  return std::filesystem::is_directory(data, ec) ? WithSlash(data.string()) : std::string();
}

}  // namespace

std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && program.has_parent_path()) return WithSlash(program.parent_path().string());
  return WithSlash(std::filesystem::current_path(ec).string());
}

std::string WritableProgramFolder() {
  const std::string program = ProgramFolder();
  // An installed program never writes into bin/, even when it may (as root, or in a
  // prefix the user owns).
  if (InstalledDataFolder().empty() && access(program.c_str(), W_OK) == 0) return program;
  const char* home = std::getenv("HOME");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  std::string data =
      dataHome && *dataHome ? dataHome : std::string(home ? home : "") + "/.local/share";
  return WithSlash(data + "/Lumbrook/Quillorne");
}

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders{ProgramFolder()};
  if (std::string installed = InstalledDataFolder(); !installed.empty())
    folders.push_back(std::move(installed));
  const std::string configured = WithSlash(QN_DATA_DIR);
  if (configured != folders.back()) folders.push_back(configured);
  return folders;
}

std::string FindDataFile(const std::string& name) {
  std::error_code ec;
  for (const std::string& folder : DataFolders())
    if (std::filesystem::exists(folder + name, ec)) return folder + name;
  return {};
}

}  // namespace qn
