#pragma once

// What the fetchers of one run share: the cookie jar, the pace of requests to each
// server, and each server's robots.txt rules. The run makes it when it starts and
// hands it to every fetcher through its context.

#include <memory>

#include "web/CookieJar.h"
#include "web/RobotsCache.h"
#include "web/ServerPacing.h"

namespace qn {

struct CQNSettings;

struct QNCrawlShared {
  explicit QNCrawlShared(CQNServerPacing::Rules rules) : pacing(rules) {}

  CQNCookieJar cookies;
  CQNServerPacing pacing;
  CQNRobotsCache robots;
};

// The pace a project asks for, its values kept within their ranges.
CQNServerPacing::Rules PacingRulesFor(CQNSettings s);

}  // namespace qn
