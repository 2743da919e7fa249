#pragma once

// The robots.txt rules of each server met during one run, read once per server: the
// first fetcher that needs a server's rules fetches them while the others wait.

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "web/RobotsRules.h"

namespace qn {

class CQNRobotsCache {
 public:
  using Fetch = std::function<CQNRobotsRules()>;

  // The rules of `server`, fetched with `fetch` when nobody has asked for them yet;
  // null when `stop` said so while another fetcher was still reading them.
  std::shared_ptr<const CQNRobotsRules> RulesFor(const std::string& server, const Fetch& fetch,
                                                 const std::function<bool()>& stop);

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  // Null while a fetcher reads the server's rules.
  std::map<std::string, std::shared_ptr<const CQNRobotsRules>> rules_;
};

}  // namespace qn
