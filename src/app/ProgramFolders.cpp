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

}  // namespace

std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && program.has_parent_path()) return WithSlash(program.parent_path().string());
  return WithSlash(std::filesystem::current_path(ec).string());
}

std::string WritableProgramFolder() {
  const std::string program = ProgramFolder();
  if (access(program.c_str(), W_OK) == 0) return program;
  const char* home = std::getenv("HOME");
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  std::string data =
      dataHome && *dataHome ? dataHome : std::string(home ? home : "") + "/.local/share";
  return WithSlash(data + "/Lumbrook/Quillorne");
}

}  // namespace qn
