#pragma once

#include <functional>
#include <string>

#include "text/Texts.h"

namespace qn {

struct CQNSettings;
struct QNInternetOptions;
class IQNRunControl;
class IQNLogSink;
class IQNObserver;

// Everything a fetcher reads and reports to, handed over by its owner. The
// references must outlive the fetcher; settings may be replaced between fetches.
struct QNFetchContext {
  const CQNSettings& settings;
  const QNInternetOptions& options;
  IQNRunControl& run;
  IQNLogSink& log;
  IQNObserver& observer;
  QNTexts texts;
  // Whether a redirection to the address given may be followed, as a link to it
  // would be; empty: every HTTP target may.
  std::function<bool(const std::string& target)> redirectAllowed = {};
};

}  // namespace qn
