#include "web/CrawlShared.h"

#include <algorithm>

#include "settings/ProjectSettings.h"

namespace qn {

CQNServerPacing::Rules PacingRulesFor(const CQNSettings& s) {
  CQNServerPacing::Rules rules;
  if (s.QN_LIM_CONN != 0)
    rules.maxConnections = std::clamp(s.QN_MAX_CONN, 1, kMaxConnectionsPerServer);
  rules.delay = std::chrono::milliseconds(std::clamp(s.QN_DELAY_MS, 0, kMaxDelayMs));
  return rules;
}

}  // namespace qn
