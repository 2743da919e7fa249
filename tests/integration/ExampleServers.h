#pragma once

// examples/serve.py in a child process: the garden club's site, its partner site and
// the modern site, each on a free port of 127.0.0.1. The script ends by itself should
// this process die.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "TestPaths.h"
#include "support/TempDir.h"

extern char** environ;

namespace qn::test {

inline const std::filesystem::path kExamples =
    std::filesystem::path(QN_TEST_SOURCE_DIR) / "examples";

class ExampleServers {
 public:
  explicit ExampleServers(const std::filesystem::path& dir) {
    const std::string script = (kExamples / "serve.py").string();
    const std::string site = (kExamples / "site").string();
    const std::string partner = (kExamples / "partner").string();
    const std::string modern = (kExamples / "modern").string();
    const std::string portsFile = (dir / "ports").string();
    const std::string logFile = (dir / "serve.log").string();
    const char* argv[] = {QN_PYTHON3,        script.c_str(), site.c_str(),
                          partner.c_str(),   modern.c_str(), "--ports-file",
                          portsFile.c_str(), "--log",        nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int rc =
        posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
      pid_ = -1;
      return;
    }
    // The script writes the ports file whole (by a rename) once every server listens.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline && Alive()) {
      std::istringstream ports(ReadFile(portsFile));
      if (ports >> sitePort_ >> partnerPort_ >> modernPort_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    sitePort_ = partnerPort_ = modernPort_ = 0;
  }
  ~ExampleServers() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Alive()) {
      if (std::chrono::steady_clock::now() > deadline) ::kill(pid_, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ExampleServers(const ExampleServers&) = delete;
  ExampleServers& operator=(const ExampleServers&) = delete;

  bool running() const { return sitePort_ > 0 && partnerPort_ > 0 && modernPort_ > 0; }
  int sitePort() const { return sitePort_; }
  int partnerPort() const { return partnerPort_; }
  int modernPort() const { return modernPort_; }

 private:
  // Reaps the child once it has ended.
  bool Alive() {
    if (pid_ <= 0 || exited_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
    return !exited_;
  }

  pid_t pid_ = -1;
  bool exited_ = false;
  int sitePort_ = 0;
  int partnerPort_ = 0;
  int modernPort_ = 0;
};

}  // namespace qn::test
