#include "cli/PasswordPrompt.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace qn {
namespace {

// Echo off for the lifetime of the object; the terminal gets its mode back even
// when reading fails.
class QNEchoOff {
 public:
  QNEchoOff() : ok_(tcgetattr(STDIN_FILENO, &saved_) == 0) {
    if (!ok_) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  ~QNEchoOff() {
    if (ok_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
  }
  QNEchoOff(const QNEchoOff&) = delete;
  QNEchoOff& operator=(const QNEchoOff&) = delete;

 private:
  termios saved_{};
  bool ok_;
};

void StripLineEnd(std::string& line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
}

}  // namespace

std::optional<std::string> ReadPassword() {
  if (const char* value = std::getenv(kPasswordVariable)) return std::string(value);
  if (!isatty(STDIN_FILENO)) return std::nullopt;
  std::fputs("Enter Password: ", stderr);
  std::fflush(stderr);
  std::string line;
  bool read = false;
  {
    QNEchoOff quiet;
    read = static_cast<bool>(std::getline(std::cin, line));
  }
  std::fputs("\n", stderr);
  if (!read) return std::nullopt;
  StripLineEnd(line);
  return line;
}

std::optional<std::string> ReadPasswordFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!in || (!std::getline(in, line) && !in.eof())) return std::nullopt;
  StripLineEnd(line);
  return line;
}

}  // namespace qn
