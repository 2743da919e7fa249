#pragma once

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
};

}  // namespace qn
