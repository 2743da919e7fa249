#pragma once

// Stand-ins for nmcli and systemctl, alone on the PATH while the object lives, so
// that nothing a test runs can reach the real ones (CI runs as root). Each records
// its arguments, one call a line, and answers from state files in its folder:
//   nmcli: "connections" and "active" (one name a line); "fail-up" makes a dial
//   fail with an "Error:" line. A dial copies its password file to "secrets" and
//   notes its path in "secrets-path" and its mode in "secrets-mode".
//   systemctl: "exit-code" (default 0).

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace qn::test {

class FakeCommands {
 public:
  FakeCommands();
  ~FakeCommands();
  FakeCommands(const FakeCommands&) = delete;
  FakeCommands& operator=(const FakeCommands&) = delete;

  std::string Nmcli() const { return (dir_ / "nmcli").string(); }
  std::string Systemctl() const { return (dir_ / "systemctl").string(); }
  std::filesystem::path State(const std::string& name) const { return dir_ / name; }
  void SetState(const std::string& name, const std::string& content) const;
  // The recorded calls of one program, each as its arguments joined by spaces.
  std::vector<std::string> Calls(const std::string& program) const;

 private:
  TempDir dir_;
  std::string oldPath_;
};

}  // namespace qn::test
