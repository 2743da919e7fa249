#pragma once

// The command line of quillorne-cli.

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace qn {

// What to do with the project: download it, or one of the project operations.
enum class QNCliAction { kDownload, kConvert, kCopy, kDelete };

struct QNCliOptions {
  bool help = false;
  bool schedule = false;      // --schedule: run the stored schedule
  bool scheduleList = false;  // --schedule-list: print it
  QNCliAction action = QNCliAction::kDownload;
  int actionsGiven = 0;      // --convert, --copy, --delete: at most one
  std::string copyDir;       // --copy DIR
  bool copyZip = false;      // --zip: one ZIP archive
  std::string passwordFile;  // --password-file: the ZIP archive's password
  bool withFiles = false;    // --delete --with-files: the downloaded files go too
  // A project or template file (the desktop program's command line), or else a start
  // address for a new project.
  bool projectMode = false;
  QNCommandLine commandLine;          // the project file and the switches
  std::string address;                // the start address of a new project
  std::string outputDir;              // -o: QN_PROJECT_DIR
  std::vector<std::string> settings;  // --set KEY=VALUE, in order
  std::string saveAs;                 // --save: the new project's file
  int autosaveSeconds = 60;           // --autosave: 0 never
};

// False with a one-line reason when the arguments make no sense.
bool ParseCliArguments(const std::vector<std::string>& args, const std::string& programFolder,
                       const std::string& currentFolder, QNCliOptions& options, std::string& error);

// The text of --help.
std::string CliHelpText();

}  // namespace qn
