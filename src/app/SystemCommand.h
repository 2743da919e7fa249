#pragma once

// Running a system program (nmcli, systemctl) with an argument list, never through a
// shell, and reading what it answered.

#include <chrono>
#include <string>
#include <vector>

namespace qn {

struct QNCommandResult {
  bool started = false;   // the program could be run
  bool timedOut = false;  // it was killed at the time limit
  int exitCode = -1;
  std::string output;  // standard output
  std::string errors;  // standard error

  bool Succeeded() const { return started && !timedOut && exitCode == 0; }
};

// Runs `program` (a path, or a name looked up on the PATH) and waits at most
// `limit`. Usable from any thread.
QNCommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::milliseconds limit);

// The full path of `program`: as given when it holds a "/" and can be run, else the
// first match on the PATH; empty when there is none.
std::string FindProgram(const std::string& program);

}  // namespace qn
