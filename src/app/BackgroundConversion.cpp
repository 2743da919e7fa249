#include "app/BackgroundConversion.h"

#include "app/ProjectSession.h"

namespace qn {

void QNBackgroundConversion::StopAndWait() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

bool QNBackgroundConversion::Start(QNProjectSession& session, const std::string& programDir,
                                   Finished finished) {
  if (running_) return false;
  if (thread_.joinable()) thread_.join();
  stop_ = false;
  percent_ = 0;
  running_ = true;
  thread_ = std::thread([this, &session, programDir, finished = std::move(finished)] {
    QNConversionResult result;
    try {
      result = session.ConvertLinks(programDir, [this](int percent) {
        percent_ = percent;
        return !stop_.load();
      });
    } catch (const std::exception&) {
      // The pages converted so far stay; the rest are counted as not converted.
      result.failed = 1;
    }
    running_ = false;
    finished(result);
  });
  return true;
}

}  // namespace qn
