#pragma once

// A document ready for download runs against local servers: settings with a
// download folder in a temporary folder, the real download log, an observer that
// records what the run tells it and answers its questions, and a site whose
// handlers count the requests per path.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/Doc.h"
#include "engine/DownloadKind.h"
#include "records/DownloadLog.h"
#include "seams/Observer.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {

class RunObserver : public IQNObserver {
 public:
  // With `handOff`, a countdown or Yes/No question of a run waits, as the desktop
  // program's do, until the test's thread answers it or a forced stop cancels it.
  std::atomic<bool> handOff{false};
  // Waits until a question waits for its answer; its text.
  std::optional<std::string> WaitForQuestion(std::chrono::milliseconds limit) {
    std::unique_lock lock(questionMutex_);
    questionChanged_.wait_for(lock, limit, [this] { return question_.has_value(); });
    return question_;
  }
  void Answer(bool yes) {
    std::lock_guard lock(questionMutex_);
    question_.reset();  // answered: the next wait is for the next question
    answer_ = yes;
    questionChanged_.notify_all();
  }
  void CancelQuestions() override {
    std::lock_guard lock(questionMutex_);
    cancelled_ = true;
    questionChanged_.notify_all();
  }

  void OnStatus(const QNStatus& status) override {
    std::lock_guard lock(mutex_);
    statuses.push_back(status);
  }
  std::vector<QNStatus> Statuses() {
    std::lock_guard lock(mutex_);
    return statuses;
  }

  // Node events wait in a queue, as on their way to the desktop program's GUI thread.
  void OnNodeAdded(const QNNodeId& node) override {
    std::lock_guard lock(mutex_);
    nodeEvents_.push_back(node);
  }
  void OnNodeChanged(const QNNodeId& node, bool) override {
    std::lock_guard lock(mutex_);
    nodeEvents_.push_back(node);
  }
  std::vector<QNNodeId> TakeNodeEvents() {
    std::lock_guard lock(mutex_);
    return std::exchange(nodeEvents_, {});
  }

  // With `display`, the observer stands for a front end that shows the tree: the
  // test says when its display has rebuilt itself. The tree notifications are kept
  // in order.
  std::atomic<bool> display{false};
  bool ShowsTree() const override { return display; }
  void OnTreeUsable(bool usable) override { TreeEvent(usable ? "usable" : "discarded"); }
  void OnTreeCleared() override { TreeEvent("cleared"); }
  void OnTreeRebuilt() override { TreeEvent("rebuilt"); }
  void OnTreeReady() override { TreeEvent("ready"); }
  std::vector<std::string> TakeTreeEvents() {
    std::lock_guard lock(mutex_);
    return std::exchange(treeEvents_, {});
  }
  void OnRunStarted() override { ++started; }
  void OnRunEnded() override { ++ended; }
  bool DoAskYesNo(int, const std::string& text, bool preselectYes) override {
    return handOff ? HandOff(text) : preselectYes;
  }
  bool DoCountdown(const std::string& format, int) override {
    return handOff ? HandOff(format) : true;
  }
  int DoAskDownloadKind(const QNDownloadKindOffer& offer) override {
    std::lock_guard lock(mutex_);
    offers.push_back(offer);
    return kindAnswer ? kindAnswer : offer.preselected;
  }
  void ShowWait(const std::string& text, bool shown) override {
    std::lock_guard lock(mutex_);
    waits.push_back((shown ? "+" : "-") + text);
  }

  // The status texts (text 3 with the status-text bit), in order.
  std::vector<std::string> StatusTexts() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const QNStatus& s : statuses)
      if (s.mask & QNStatus::kStatusText) texts.push_back(s.text3);
    return texts;
  }

  // Every text of every status record (rows and status line), one per line.
  std::string AllTexts() {
    std::lock_guard lock(mutex_);
    std::string all;
    for (const QNStatus& s : statuses) all += s.text1 + "\n" + s.text2 + "\n" + s.text3 + "\n";
    return all;
  }

  std::atomic<int> started{0};
  std::atomic<int> ended{0};
  int kindAnswer = 0;  // 0: the preselected kind
  std::vector<QNDownloadKindOffer> offers;
  std::vector<std::string> waits;

 private:
  bool HandOff(const std::string& text) {
    std::unique_lock lock(questionMutex_);
    question_ = text;
    answer_.reset();
    cancelled_ = false;
    questionChanged_.notify_all();
    questionChanged_.wait(lock, [this] { return answer_.has_value() || cancelled_; });
    question_.reset();
    return answer_.value_or(false);
  }

  void TreeEvent(const std::string& what) {
    std::lock_guard lock(mutex_);
    treeEvents_.push_back(what);
  }

  std::mutex mutex_;
  std::vector<QNStatus> statuses;
  std::vector<QNNodeId> nodeEvents_;
  std::vector<std::string> treeEvents_;
  std::mutex questionMutex_;
  std::condition_variable questionChanged_;
  std::optional<std::string> question_;
  std::optional<bool> answer_;
  bool cancelled_ = false;
};

// Request counts per path, shared by a test's handlers.
class RequestCounter {
 public:
  void Count(const std::string& path) {
    std::lock_guard lock(mutex_);
    ++counts_[path];
  }
  int Of(const std::string& path) {
    std::lock_guard lock(mutex_);
    const auto it = counts_.find(path);
    return it == counts_.end() ? 0 : it->second;
  }
  std::map<std::string, int> All() {
    std::lock_guard lock(mutex_);
    return counts_;
  }
  int Total() {
    int total = 0;
    for (const auto& [path, n] : All()) total += n;
    return total;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    counts_.clear();
  }

 private:
  std::mutex mutex_;
  std::map<std::string, int> counts_;
};

struct Resource {
  std::string content;
  std::string type;
};

// Serves fixed files by path, counting the requests; any other path is a 404.
inline void ServeFiles(HttpTestServer& server, const std::map<std::string, Resource>& files,
                       RequestCounter& counter) {
  server.server().Get(".*",
                      [&files, &counter](const httplib::Request& req, httplib::Response& res) {
                        counter.Count(req.path);
                        const auto it = files.find(req.path);
                        if (it == files.end()) {
                          res.status = 404;
                          return;
                        }
                        res.set_content(it->second.content, it->second.type);
                      });
}

struct RunRig {
  RunRig() : log(&observer), doc(settings, observer, log, texts) {
    settings.ResetToDefaults("", dir.str() + "/");
    settings.QN_PROJECT_DIR = (dir / "site").string() + "/";
    settings.QN_TIMEOUT = 10;
    doc.CreateRoot();
    QNRunEnvironment env;
    env.unattended = true;
    env.programDir = dir.str() + "/";
    env.hooks.resetLog = [this] {
      log.SetPath((dir / "run.log").string());
      log.Reset();
    };
    env.hooks.saveProject = [this] { ++saves; };
    doc.SetRunEnvironment(env);
  }

  QNRunEnvironment Environment() { return doc.RunEnvironment(); }
  void SetEnvironment(QNRunEnvironment env) { doc.SetRunEnvironment(std::move(env)); }

  // Starts a download with the project's start addresses and waits for its end.
  bool Download(std::chrono::seconds limit = std::chrono::seconds(60)) {
    if (!doc.StartDownload()) return false;
    return doc.WaitForRunEnd(limit);
  }

  std::filesystem::path Site() const { return dir / "site"; }
  std::string LogText() { return ReadFile(dir / "run.log"); }
  int DownloadState() { return doc.SettingsCopy().DownloadState; }

  // The URLs of the nodes in `state`.
  std::set<std::string> NodesIn(int state) {
    std::set<std::string> urls;
    std::vector<CQNDocNode*> stack{doc.Tree().root};
    while (!stack.empty()) {
      CQNDocNode* node = stack.back();
      stack.pop_back();
      for (CQNDocNode* child = node->firstChild; child; child = child->nextSibling)
        stack.push_back(child);
      if (node != doc.Tree().root && node->state == state) urls.insert(node->url);
    }
    return urls;
  }

  // The files under the download folder, relative to it.
  std::set<std::string> Files() {
    std::set<std::string> files;
    if (!std::filesystem::exists(Site())) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Site()))
      if (entry.is_regular_file())
        files.insert(std::filesystem::relative(entry.path(), Site()).string());
    return files;
  }

  TempDir dir;
  CQNSettings settings;
  RunObserver observer;
  CQNDownloadLog log;
  QNTexts texts;  // the document's, so that a test can install a language table
  CQNDoc doc;
  std::atomic<int> saves{0};
};

// Waits until `done` holds, for at most `limit`.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds limit = std::chrono::milliseconds(30000)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// The lines of a log, without the time texts in parentheses.
inline std::vector<std::string> LogLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    const std::size_t open = line.find(" (");
    const std::size_t close = line.find(')', open == std::string::npos ? 0 : open);
    if (open != std::string::npos && close != std::string::npos &&
        (line.rfind("Download is", 0) == 0 || line.rfind("Preview is", 0) == 0))
      line.erase(open, close - open + 1);
    lines.push_back(line);
    if (end == text.size()) break;
    start = end + 2;
  }
  return lines;
}

}  // namespace qn::test
