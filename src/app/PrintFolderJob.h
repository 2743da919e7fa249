#pragma once

// "Print Folder" puts a folder's pages together on a thread of its own, so that the
// window stays responsive and can offer to stop; the window polls the job for its
// progress and takes the collected file when it is done.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "settings/ProjectSettings.h"
#include "storage/PrintFolder.h"

namespace qn {

class QNPrintFolderJob {
 public:
  // Starts putting `pages` together with a copy of the settings they were saved
  // with; `startAddress` gives the start folder of local naming.
  QNPrintFolderJob(std::vector<QNPrintPage> pages, CQNSettings settings, std::string programDir,
                   std::string startAddress);
  // Stops the work between two pages and waits for it; a collected file that was
  // never taken is removed.
  ~QNPrintFolderJob();
  QNPrintFolderJob(const QNPrintFolderJob&) = delete;
  QNPrintFolderJob& operator=(const QNPrintFolderJob&) = delete;

  int Pages() const { return pages_; }
  int PagesDone() const { return done_; }
  bool Finished() const { return finished_; }
  // Asks the work to end after the page it is on.
  void Stop() { stop_ = true; }
  // Once finished: the collected file, now the caller's to remove; nothing when the
  // work was stopped or no file could be made.
  std::optional<std::filesystem::path> TakeResult();

 private:
  const int pages_;
  std::atomic<int> done_{0};
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::optional<std::filesystem::path> result_;  // written before finished_
  std::thread thread_;
};

}  // namespace qn
