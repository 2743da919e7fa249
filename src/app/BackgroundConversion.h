#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "storage/ProjectConversion.h"

namespace qn {

class QNProjectSession;

// "Convert Links" on a thread of its own, so the window stays responsive; the
// front end keeps the project's commands disabled while it runs.
class QNBackgroundConversion {
 public:
  using Finished = std::function<void(const QNConversionResult&)>;

  QNBackgroundConversion() = default;
  ~QNBackgroundConversion() { StopAndWait(); }
  QNBackgroundConversion(const QNBackgroundConversion&) = delete;
  QNBackgroundConversion& operator=(const QNBackgroundConversion&) = delete;

  // `finished` is called on the conversion's thread when it ends. False while one
  // is still going.
  bool Start(QNProjectSession& session, const std::string& programDir, Finished finished);
  // Asks a conversion to stop between two files; it ends as usual.
  void Stop() { stop_ = true; }
  // Stops a conversion between two files and waits for its thread.
  void StopAndWait();
  bool Running() const { return running_; }
  // How far the running conversion has come, 0 to 100.
  int Percent() const { return percent_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  std::atomic<int> percent_{0};
  std::thread thread_;
};

}  // namespace qn
