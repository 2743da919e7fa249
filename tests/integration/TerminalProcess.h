#pragma once

// Runs the built quillorne-cli on a pseudo-terminal, as a user at a terminal runs it,
// and collects what it draws there.

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "TestPaths.h"

namespace qn::test {

class TerminalProcess {
 public:
  explicit TerminalProcess(const std::vector<std::string>& args) {
    std::vector<std::string> strings{QN_CLI_PATH};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) argv.push_back(s.data());
    argv.push_back(nullptr);
    winsize size{};
    size.ws_col = 120;
    size.ws_row = 40;
    pid_ = forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  ~TerminalProcess() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      Wait(std::chrono::seconds(10));
    }
    if (master_ >= 0) close(master_);
  }
  TerminalProcess(const TerminalProcess&) = delete;
  TerminalProcess& operator=(const TerminalProcess&) = delete;

  void Signal(int signal) const { kill(pid_, signal); }

  // Reads until `text` has been drawn; false when it did not come within `limit`.
  bool WaitFor(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (screen_.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline || Read(50) < 0) return false;
    }
    return true;
  }

  // The exit status, -1 while it runs past `limit`, 128 + n after signal n. The
  // terminal is drained meanwhile, so the program never blocks on a full one.
  int Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (status_ < 0) {
      Read(10);
      int raw = 0;
      if (waitpid(pid_, &raw, WNOHANG) == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        while (Read(0) > 0) {
        }
        break;
      }
      if (std::chrono::steady_clock::now() > deadline) return -1;
    }
    return status_;
  }

  // Everything drawn so far, standard output and standard error together.
  const std::string& Screen() const { return screen_; }

 private:
  // 1 when something came, 0 when nothing did, -1 when the terminal is gone.
  int Read(int milliseconds) {
    pollfd p{master_, POLLIN, 0};
    const int ready = poll(&p, 1, milliseconds);
    if (ready == 0) return 0;
    char buffer[4096];
    const ssize_t n = ready < 0 ? -1 : read(master_, buffer, sizeof buffer);
    if (n <= 0) return -1;
    screen_.append(buffer, static_cast<std::size_t>(n));
    return 1;
  }

  int master_ = -1;
  pid_t pid_ = -1;
  int status_ = -1;
  std::string screen_;
};

}  // namespace qn::test
