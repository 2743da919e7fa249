#pragma once

// Runs a built program of the project as a child process with its output in files,
// so that a test can wait for it, signal it or kill it in the middle of a run. The
// child reads the program options from `outputDir`/config (XDG_CONFIG_HOME), never
// the user's own.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace qn::test {

class ChildProcess {
 public:
  // `environment`: "NAME=value" entries set for the child on top of this process's.
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outputDir,
               const std::vector<std::string>& environment = {})
      : out_(outputDir / "stdout.txt"), err_(outputDir / "stderr.txt") {
    // Everything the child needs is made before the fork: the child of a process with
    // threads may only make system calls until it runs the program.
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = environment;
    variables.push_back("XDG_CONFIG_HOME=" + ConfigHome(outputDir).string());
    auto isSet = [&variables](std::string_view entry) {
      const std::string_view name = entry.substr(0, entry.find('=') + 1);
      for (const std::string& v : variables)
        if (std::string_view(v).rfind(name, 0) == 0) return true;
      return false;
    };
    for (char** v = environ; *v; ++v)
      if (!isSet(*v)) variables.emplace_back(*v);
    std::vector<char*> envp;
    for (std::string& v : variables) envp.push_back(v.data());
    envp.push_back(nullptr);
    const std::string outPath = out_.string();
    const std::string errPath = err_.string();
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      dup2(err, 2);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
  }
  ~ChildProcess() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      Wait(std::chrono::seconds(10));
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Where the child's options file lives: ConfigHome(dir)/Lumbrook/Quillorne.conf.
  static std::filesystem::path ConfigHome(const std::filesystem::path& outputDir) {
    return outputDir / "config";
  }

  void Signal(int signal) const { kill(pid_, signal); }

  // The exit status, -1 while it runs past `limit`, 128 + n after signal n.
  int Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (status_ < 0) {
      int raw = 0;
      const pid_t done = waitpid(pid_, &raw, WNOHANG);
      if (done == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        break;
      }
      if (std::chrono::steady_clock::now() > deadline) return -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
  }

  std::string Out() const { return ReadFile(out_); }
  std::string Err() const { return ReadFile(err_); }

 private:
  std::filesystem::path out_;
  std::filesystem::path err_;
  pid_t pid_ = -1;
  int status_ = -1;
};

}  // namespace qn::test
