#pragma once

// The document's twelve locks. At most two are ever held together, and always in
// the same order: the tree lock and then the queue lock (saving during a run,
// adding or moving a node), the tree lock and then the URL-map lock (looking up and
// entering an address while a node is added), the log lock and then the log-view
// lock (writing a line and showing it). Any other nesting is a fault, caught by an
// assertion.

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace qn {

enum class DocLock : int {
  Queue = 0,         // the selection walk
  Tree = 1,          // adding and removing nodes
  FileCount = 2,     // the count of files downloaded
  AttemptCount = 3,  // the count of fetches started and not failed
  ByteTotal = 4,     // the total of bytes downloaded
  ViewReset = 5,     // notifications that reset or refresh the tree view
  NodeNotify = 6,    // node-changed and node-added notifications
  Status = 7,        // status records for the progress window
  Log = 8,           // writing a line to the download log
  LogView = 9,       // notifications to the log view
  Report = 10,       // writing to the download report
  UrlMap = 11,       // the URL map
};
constexpr int kDocLockCount = 12;

// One held lock; released when it goes out of scope.
class QNDocLockGuard {
 public:
  QNDocLockGuard(std::mutex& mutex, DocLock which);
  ~QNDocLockGuard();
  QNDocLockGuard(const QNDocLockGuard&) = delete;
  QNDocLockGuard& operator=(const QNDocLockGuard&) = delete;

 private:
  std::unique_lock<std::mutex> lock_;
  DocLock which_;
};

class CQNDocLocks {
 public:
  CQNDocLocks();

  [[nodiscard]] QNDocLockGuard Hold(DocLock which);

  // After a forced stop the locks are made anew. Threads that ignored the stop may
  // still hold the old ones, so those are kept alive, never destroyed under them.
  void Renew();

 private:
  using Set = std::array<std::mutex, kDocLockCount>;
  std::vector<std::unique_ptr<Set>> sets_;  // every set made; the last is current
  std::atomic<Set*> current_;
};

}  // namespace qn
