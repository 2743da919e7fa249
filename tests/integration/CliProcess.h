#pragma once

// Runs the built quillorne-cli as a child process (see ChildProcess).

#include "TestPaths.h"
#include "support/ChildProcess.h"

namespace qn::test {

class CliProcess : public ChildProcess {
 public:
  CliProcess(const std::vector<std::string>& args, const std::filesystem::path& outputDir)
      : ChildProcess(QN_CLI_PATH, args, outputDir) {}
};

// Runs the program to its end (at most a minute).
inline int RunCli(const std::vector<std::string>& args, const std::filesystem::path& outputDir,
                  std::string* out = nullptr, std::string* err = nullptr) {
  CliProcess process(args, outputDir);
  const int status = process.Wait(std::chrono::seconds(60));
  if (out) *out = process.Out();
  if (err) *err = process.Err();
  return status;
}

}  // namespace qn::test
