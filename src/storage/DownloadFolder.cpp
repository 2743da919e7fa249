#include "storage/DownloadFolder.h"

#include <cstdio>

#include "settings/ProjectSettings.h"
#include "web/Address.h"

namespace qn {
namespace {

void ReplaceAll(std::string& s, std::string_view field, std::string_view value) {
  for (std::size_t pos = s.find(field); pos != std::string::npos;
       pos = s.find(field, pos + value.size()))
    s.replace(pos, field.size(), value);
}

// An empty folder stays empty: it names no folder at all, not the file-system root.
std::string WithSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != kNativeSeparator) dir += kNativeSeparator;
  return dir;
}

}  // namespace

std::string ExpandDownloadDir(std::string_view projectDir, const std::tm& now) {
  char date[16];
  char time[16];
  std::snprintf(date, sizeof date, "%02d%02d%02d", (now.tm_mon + 1) % 100, now.tm_mday % 100,
                now.tm_year % 100);
  std::snprintf(time, sizeof time, "%02d_%02d_%02d", now.tm_hour % 100, now.tm_min % 100,
                now.tm_sec % 100);
  std::string dir(projectDir);
  ReplaceAll(dir, "[%d]", date);
  ReplaceAll(dir, "[%t]", time);
  return WithSeparator(std::move(dir));
}

std::string DownloadRoot(const CQNSettings& settings, std::string_view programDir) {
  return WithSeparator(settings.DownloadDir.empty() ? std::string(programDir)
                                                    : settings.DownloadDir);
}

}  // namespace qn
