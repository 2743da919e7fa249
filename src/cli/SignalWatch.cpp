#include "cli/SignalWatch.h"

#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

namespace qn {
namespace {

sigset_t WatchedSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

QNSignalWatch::QNSignalWatch() {
  const sigset_t set = WatchedSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  fd_ = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

QNSignalWatch::~QNSignalWatch() {
  if (fd_ >= 0) close(fd_);
}

int QNSignalWatch::Wait(int milliseconds) {
  if (fd_ < 0) {
    usleep(static_cast<useconds_t>(milliseconds) * 1000);
    return 0;
  }
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, milliseconds) <= 0) return 0;
  int count = 0;
  signalfd_siginfo info{};
  while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) ++count;
  return count;
}

}  // namespace qn
