#pragma once

// The dial-up connection over NetworkManager's nmcli: the connections it knows are
// the entries, dialing brings one up, hanging up brings it down. Without nmcli
// every operation does nothing, and a run goes on as on a permanent connection.
// Dialing and hanging up run on a run's controller thread; listing the entries on
// any thread.

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "seams/Messenger.h"

namespace qn {

// The program options the connection reads.
struct QNDialUpSettings {
  int connType = 0;  // 1: dial-up
  std::string entry;
  std::string userId;  // nmcli takes no user name for one connection: unused
  std::string password;
};

class CQNDialUp {
 public:
  // `nmcli`: the program to run, looked up on the PATH when it is a bare name; the
  // connection is unavailable when it cannot be found.
  explicit CQNDialUp(const std::string& nmcli = "nmcli");

  bool Available() const { return !program_.empty(); }
  // The names of the connections; nothing when they cannot be listed.
  std::optional<std::vector<std::string>> ListEntries() const;

  // Before a download: dials the chosen entry when the settings ask for dial-up and
  // entries exist, reusing a connection that is already up (found without regard
  // to case; it is then never hung up). False with the error text when no entry is
  // chosen or the dial failed; the status line shows "Connecting..." while dialing.
  bool DialIfNeeded(const QNDialUpSettings& settings, const QNMessenger& messenger,
                    std::string& error);
  // After a download whose end calls for a hang-up (DecideEndActions): when this
  // connection dialed, counts down 5 seconds, brings the connection down and waits
  // for the line to be released; then shows `finalStatus` again, which the hang-up
  // message replaced.
  void HangUpIfDialed(const QNDialUpSettings& settings, const QNMessenger& messenger,
                      const std::string& finalStatus);

  bool Connected() const { return connected_; }
  bool DialedByUs() const { return dialedByUs_; }
  std::string LastError() const;

  // How long a dial may take, and the pause after hanging up.
  std::chrono::seconds dialLimit{90};
  std::chrono::milliseconds releaseWait{3000};

 private:
  std::optional<std::vector<std::string>> Names(bool activeOnly) const;
  // The active connection of that name, as nmcli spells it.
  std::optional<std::string> FindActive(const std::string& entry) const;
  void SetLastError(std::string error);

  std::string program_;
  std::atomic<bool> connected_{false};
  std::atomic<bool> dialedByUs_{false};
  mutable std::mutex errorMutex_;
  std::string lastError_;
};

}  // namespace qn
