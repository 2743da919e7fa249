#pragma once

// What a fetcher needs around it in a test: settings, options, run flags, and a log
// and observer that record what they are told.

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "seams/RunControl.h"
#include "settings/ProjectSettings.h"
#include "web/CrawlShared.h"
#include "web/FetchContext.h"
#include "web/Fetcher.h"
#include "web/InternetOptions.h"

namespace qn::test {

class RecordingLog : public IQNLogSink {
 public:
  void WriteLine(LogKind, const std::string& text) override {
    std::lock_guard lock(mutex_);
    lines_.push_back(text);
  }
  std::vector<std::string> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

class RecordingObserver : public IQNObserver {
 public:
  std::function<void(const QNStatus&)> onStatus;

  void OnStatus(const QNStatus& status) override {
    {
      std::lock_guard lock(mutex_);
      statuses_.push_back(status);
    }
    if (onStatus) onStatus(status);
  }
  std::vector<QNStatus> Statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  // The status texts of the rows (text 3 of row updates), in order.
  std::vector<std::string> RowTexts() const {
    std::vector<std::string> texts;
    for (const QNStatus& s : Statuses())
      if (s.mask & QNStatus::kText1) texts.push_back(s.text3);
    return texts;
  }
  std::vector<QNStatus> Progress() const {
    std::vector<QNStatus> p;
    for (const QNStatus& s : Statuses())
      if (s.mask & QNStatus::kProgress) p.push_back(s);
    return p;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<QNStatus> statuses_;
};

struct FetchRig {
  CQNSettings settings;
  QNInternetOptions options;
  QNRunFlags run;
  RecordingLog log;
  RecordingObserver observer;

  // What the fetchers of one run share; none unless a test makes it.
  std::shared_ptr<QNCrawlShared> crawl;

  FetchRig() { settings.QN_TIMEOUT = 5; }
  QNFetchContext Context() {
    QNFetchContext context{settings, options, run, log, observer, QNTexts()};
    context.crawl = crawl;
    return context;
  }
};

}  // namespace qn::test
