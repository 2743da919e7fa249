// quillorne-cli: the desktop program's command line without windows.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ProgramFolders.h"
#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "cli/CliSchedule.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::error_code ec;
  const std::string current = std::filesystem::current_path(ec).string();
  qn::QNCliOptions options;
  std::string error;
  if (!qn::ParseCliArguments(args, qn::ProgramFolder(), current, options, error)) {
    std::fprintf(stderr, "quillorne-cli: %s (see quillorne-cli --help)\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(qn::CliHelpText().c_str(), stdout);
    return 0;
  }
  if (options.scheduleList) return qn::ListCliSchedule();
  if (options.schedule) return qn::RunCliSchedule(options);
  return qn::RunCli(options);
}
