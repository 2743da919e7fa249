#include "web/RobotsCache.h"

#include <chrono>

namespace qn {

std::shared_ptr<const CQNRobotsRules> CQNRobotsCache::RulesFor(const std::string& server,
                                                               const Fetch& fetch,
                                                               const std::function<bool()>& stop) {
  std::unique_lock lock(mutex_);
  const auto [entry, added] = rules_.try_emplace(server);
  if (added) {
    lock.unlock();
    auto rules = std::make_shared<const CQNRobotsRules>(fetch());
    lock.lock();
    rules_[server] = rules;
    ready_.notify_all();
    return rules;
  }
  for (;;) {
    if (auto rules = rules_[server]) return rules;
    if (stop && stop()) return nullptr;
    ready_.wait_for(lock, std::chrono::milliseconds(100));
  }
}

}  // namespace qn
