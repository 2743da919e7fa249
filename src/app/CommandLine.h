#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qn {

// What the program was asked to do on its command line. The flags live for the
// whole process and are read by download runs, the dial-up part and the views.
struct QNCommandLine {
  std::string projectFile;  // empty when only switches were given
  bool download = false;    // "-D"
  bool convert = false;     // "-CONV"
  bool exitAfter = false;   // "-E"
  bool shutdown = false;    // "-SHUT"
  bool disconnect = false;  // "-DISC"
};

// Splits at spaces; a token that starts with a double quote runs to the next one.
std::vector<std::string> TokenizeCommandLine(std::string_view line);

// Reads the switches (without regard to case) and the first other token as the
// project file, resolved by ResolveProjectPath.
QNCommandLine ParseCommandLine(const std::vector<std::string>& tokens,
                               const std::string& programFolder, const std::string& currentFolder);

// A project path as the user typed it: absolute paths stay; a relative path that
// exists from the current folder is taken from there; otherwise it is taken
// relative to the program folder, ".." climbing one folder each.
std::string ResolveProjectPath(const std::string& path, const std::string& programFolder,
                               const std::string& currentFolder);

}  // namespace qn
