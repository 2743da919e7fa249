#pragma once

// A document over its own settings, with an observer and a log sink that record
// what the engine tells them, and helpers to hand-build trees.

#include <mutex>
#include <string>
#include <vector>

#include "engine/Doc.h"
#include "seams/LogSink.h"
#include "seams/Observer.h"

namespace qn::test {

class RecordingObserver : public IQNObserver {
 public:
  void OnNodeAdded(const QNNodeId& node) override {
    std::lock_guard lock(mutex_);
    added.push_back(node);
  }
  void OnNodeChanged(const QNNodeId& node, bool) override {
    std::lock_guard lock(mutex_);
    changed.push_back(node);
  }
  void OnTreeCleared() override { ++cleared; }

  std::vector<QNNodeId> added;
  std::vector<QNNodeId> changed;
  int cleared = 0;

 private:
  std::mutex mutex_;
};

class NullLog : public IQNLogSink {
 public:
  void WriteLine(LogKind, const std::string&) override {}
};

struct DocFixture {
  DocFixture() : doc(settings, observer, log, QNTexts()) {
    doc.CreateRoot();
    doc.SetCurrentStart(0, "http://h/");
  }

  CQNDocNode* Root() { return doc.Tree().root; }

  // A node added under `parent` (the root when null) with the given members.
  CQNDocNode* Node(CQNDocNode* parent, const std::string& url, int level, int sitePos = 0,
                   int type = kCatHtml) {
    CQNDocNode* node = doc.Tree().AddFolder(parent ? parent : Root(), true);
    node->title = url;
    node->url = url;
    node->level = level;
    node->sitePos = sitePos;
    node->type = type;
    return node;
  }

  // The titles of every node taken until the queue is empty.
  std::vector<std::string> TakeAll() {
    std::vector<std::string> order;
    while (CQNDocNode* node = doc.TakeNextLink()) order.push_back(node->title);
    return order;
  }

  CQNSettings settings;
  RecordingObserver observer;
  NullLog log;
  CQNDoc doc;
};

}  // namespace qn::test
