#include "app/CommandLine.h"

#include <filesystem>
#include <system_error>

#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {

std::vector<std::string> TokenizeCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? line.size() : close;
      tokens.emplace_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      const std::size_t end = std::min(line.find(' ', i), line.size());
      tokens.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return tokens;
}

QNCommandLine ParseCommandLine(const std::vector<std::string>& tokens,
                               const std::string& programFolder, const std::string& currentFolder) {
  QNCommandLine cmd;
  for (const auto& token : tokens) {
    if (EqualNoCase(token, "-D"))
      cmd.download = true;
    else if (EqualNoCase(token, "-CONV"))
      cmd.convert = true;
    else if (EqualNoCase(token, "-E"))
      cmd.exitAfter = true;
    else if (EqualNoCase(token, "-SHUT"))
      cmd.shutdown = true;
    else if (EqualNoCase(token, "-DISC"))
      cmd.disconnect = true;
    else if (cmd.projectFile.empty() && !token.empty())
      cmd.projectFile =
          ResolveProjectPath(CutToBuffer(token), programFolder, currentFolder).substr(0, 1039);
  }
  return cmd;
}

std::string ResolveProjectPath(const std::string& path, const std::string& programFolder,
                               const std::string& currentFolder) {
  std::string p = path;
  ToNativeSeparators(p);
  if (p.empty() || p.front() == '/') return p;
  std::error_code ec;
  if (!currentFolder.empty() &&
      std::filesystem::exists(std::filesystem::path(currentFolder) / p, ec))
    return (std::filesystem::path(currentFolder) / p).lexically_normal().string();

  std::string base = programFolder;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::size_t last = p.rfind("..");
  if (last == std::string::npos) return base + "/" + p;
  std::size_t count = 0;
  for (std::size_t at = p.find(".."); at != std::string::npos; at = p.find("..", at + 2)) ++count;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t sep = base.find_last_of('/');
    if (sep == std::string::npos || sep == 0) {
      base = "";
      break;
    }
    base.erase(sep);
  }
  std::string rest = p.substr(last + 2);
  if (rest.empty() || rest.front() != '/') rest.insert(rest.begin(), '/');
  return base + rest;
}

}  // namespace qn
