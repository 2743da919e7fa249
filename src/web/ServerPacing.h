#pragma once

// The pace of one run's requests to each server: at most so many transfers to a
// server at once, a delay between two requests to it, and the pauses a server asks
// for (Retry-After). Every fetcher of the run asks here before it sends a request.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace qn {

class CQNServerPacing {
 public:
  using Clock = std::chrono::steady_clock;

  struct Rules {
    int maxConnections = 0;  // transfers to one server at once; 0: no cap
    std::chrono::milliseconds delay{0};
  };

  // A request under way; the server's place is given back when it goes.
  class Ticket {
   public:
    Ticket() = default;
    Ticket(CQNServerPacing* pacing, std::string server);
    Ticket(Ticket&& other) noexcept;
    Ticket& operator=(Ticket&& other) noexcept;
    ~Ticket();
    explicit operator bool() const { return pacing_ != nullptr; }

   private:
    CQNServerPacing* pacing_ = nullptr;
    std::string server_;
  };

  explicit CQNServerPacing(Rules rules) : rules_(rules) {}
  CQNServerPacing(const CQNServerPacing&) = delete;
  CQNServerPacing& operator=(const CQNServerPacing&) = delete;

  // Waits until a request to `server` may start and takes its place; an empty
  // ticket when `stop` said so while waiting (it is asked several times a second).
  Ticket Enter(const std::string& server, const std::function<bool()>& stop);
  // No request to `server` starts before `until`.
  void PauseUntil(const std::string& server, Clock::time_point until);

 private:
  struct Server {
    int active = 0;
    Clock::time_point nextStart{};
  };
  void Leave(const std::string& server);

  const Rules rules_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::string, Server> servers_;
};

// Waits until `until`, asking `stop` several times a second; false when it said so.
bool WaitUnlessStopped(CQNServerPacing::Clock::time_point until, const std::function<bool()>& stop);

}  // namespace qn
