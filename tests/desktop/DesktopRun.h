#pragma once

// Runs the desktop program without a display (the offscreen platform), with its
// options and data folders under the test's folder.

#include <QSettings>

#include "app/OptionsStore.h"
#include "support/ChildProcess.h"

namespace qn::test {

inline std::vector<std::string> DesktopEnvironment(const std::filesystem::path& dir) {
  return {"QT_QPA_PLATFORM=offscreen", "XDG_DATA_HOME=" + (dir / "data").string(),
          "XDG_RUNTIME_DIR=" + dir.string(),
          // Qt's own libraries keep caches for the life of the process.
          "ASAN_OPTIONS=detect_leaks=0"};
}

// The program's options file of a run in `dir`.
inline std::filesystem::path OptionsFileIn(const std::filesystem::path& dir) {
  return ChildProcess::ConfigHome(dir) / "Lumbrook" / "Quillorne.conf";
}

inline QNOptionSections ReadOptionsIn(const std::filesystem::path& dir) {
  QSettings settings(QString::fromStdString(OptionsFileIn(dir).string()), QSettings::IniFormat);
  return LoadOptions(settings, QNScreenMetrics());
}

inline void WriteOptionsIn(const std::filesystem::path& dir, const QNOptionSections& options) {
  QSettings settings(QString::fromStdString(OptionsFileIn(dir).string()), QSettings::IniFormat);
  SaveOptions(settings, options);
}

// Runs `program` with `args` to its end (at most two minutes); the exit status.
inline int RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& dir, std::string* err = nullptr) {
  ChildProcess process(program, args, dir, DesktopEnvironment(dir));
  const int status = process.Wait(std::chrono::minutes(2));
  if (err) *err = process.Err();
  return status;
}

}  // namespace qn::test
