#include "web/CrawlShared.h"

#include "settings/ProjectSettings.h"

namespace qn {

CQNServerPacing::Rules PacingRulesFor(CQNSettings s) {
  KeepCrawlingInRange(s);
  CQNServerPacing::Rules rules;
  if (s.QN_LIM_CONN != 0) rules.maxConnections = s.QN_MAX_CONN;
  rules.delay = std::chrono::milliseconds(s.QN_DELAY_MS);
  return rules;
}

}  // namespace qn
