#pragma once

#include <functional>
#include <memory>
#include <string>

#include "text/Texts.h"

namespace qn {

struct CQNSettings;
struct QNInternetOptions;
class IQNRunControl;
class IQNLogSink;
class IQNObserver;
struct QNCrawlShared;

// Everything a fetcher reads and reports to, handed over by its owner. The
// references must outlive the fetcher; settings may be replaced between fetches.
struct QNFetchContext {
  const CQNSettings& settings;
  const QNInternetOptions& options;
  IQNRunControl& run;
  IQNLogSink& log;
  IQNObserver& observer;
  QNTexts texts;
  // What the fetchers of the run share: cookies, the pace per server, robots.txt
  // rules. Without it a fetcher keeps its own cookies, waits for nobody and reads
  // no robots.txt.
  std::shared_ptr<QNCrawlShared> crawl{};
  // Whether a redirection to the address given may be followed, as a link to it
  // would be; empty: every HTTP target may.
  std::function<bool(const std::string& target)> redirectAllowed = {};
};

}  // namespace qn
