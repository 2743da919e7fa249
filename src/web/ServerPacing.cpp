#include "web/ServerPacing.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace qn {
namespace {

// How often a wait looks at the stop request.
constexpr std::chrono::milliseconds kStopPoll{100};

}  // namespace

CQNServerPacing::Ticket::Ticket(CQNServerPacing* pacing, std::string server)
    : pacing_(pacing), server_(std::move(server)) {}

CQNServerPacing::Ticket::Ticket(Ticket&& other) noexcept
    : pacing_(std::exchange(other.pacing_, nullptr)), server_(std::move(other.server_)) {}

CQNServerPacing::Ticket& CQNServerPacing::Ticket::operator=(Ticket&& other) noexcept {
  if (this != &other) {
    if (pacing_) pacing_->Leave(server_);
    pacing_ = std::exchange(other.pacing_, nullptr);
    server_ = std::move(other.server_);
  }
  return *this;
}

CQNServerPacing::Ticket::~Ticket() {
  if (pacing_) pacing_->Leave(server_);
}

CQNServerPacing::Ticket CQNServerPacing::Enter(const std::string& server,
                                               const std::function<bool()>& stop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stop && stop()) return {};
    Server& s = servers_[server];
    const auto now = Clock::now();
    const bool full = rules_.maxConnections > 0 && s.active >= rules_.maxConnections;
    if (!full && now >= s.nextStart) {
      ++s.active;
      s.nextStart = std::max(s.nextStart, now + rules_.delay);
      return Ticket(this, server);
    }
    const auto wake = full ? now + kStopPoll : std::min(s.nextStart, now + kStopPoll);
    changed_.wait_until(lock, wake);
  }
}

void CQNServerPacing::Leave(const std::string& server) {
  {
    std::lock_guard lock(mutex_);
    Server& s = servers_[server];
    --s.active;
    // The delay also runs from the end of a request: a slow answer is no reason to
    // send the next one sooner.
    s.nextStart = std::max(s.nextStart, Clock::now() + rules_.delay);
  }
  changed_.notify_all();
}

void CQNServerPacing::PauseUntil(const std::string& server, Clock::time_point until) {
  {
    std::lock_guard lock(mutex_);
    Server& s = servers_[server];
    s.nextStart = std::max(s.nextStart, until);
  }
  changed_.notify_all();
}

bool WaitUnlessStopped(CQNServerPacing::Clock::time_point until,
                       const std::function<bool()>& stop) {
  for (;;) {
    if (stop && stop()) return false;
    const auto now = CQNServerPacing::Clock::now();
    if (now >= until) return true;
    std::this_thread::sleep_for(std::min<CQNServerPacing::Clock::duration>(until - now, kStopPoll));
  }
}

}  // namespace qn
