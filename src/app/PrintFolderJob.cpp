#include "app/PrintFolderJob.h"

#include <system_error>
#include <utility>

namespace qn {

QNPrintFolderJob::QNPrintFolderJob(std::vector<QNPrintPage> pages, CQNSettings settings,
                                   std::string programDir, std::string startAddress)
    : pages_(static_cast<int>(pages.size())) {
  thread_ =
      std::thread([this, pages = std::move(pages), settings = std::move(settings),
                   programDir = std::move(programDir), startAddress = std::move(startAddress)] {
        try {
          result_ = BuildPrintFile(pages, settings, programDir, startAddress, [this] {
            ++done_;
            return !stop_.load();
          });
        } catch (const std::exception&) {
          // Nothing is printed; the window says so as for any failed collection.
          result_.reset();
        }
        finished_ = true;
      });
}

QNPrintFolderJob::~QNPrintFolderJob() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (result_) {
    std::error_code ec;
    std::filesystem::remove(*result_, ec);
  }
}

std::optional<std::filesystem::path> QNPrintFolderJob::TakeResult() {
  if (!finished_) return std::nullopt;
  return std::exchange(result_, std::nullopt);
}

}  // namespace qn
