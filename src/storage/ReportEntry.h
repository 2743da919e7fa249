#pragma once

// One row of the download report, as a worker hands it on when it finishes a file.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace qn {

class CQNDocNode;

// Statuses of a report row.
constexpr int kReportDownloaded = 0;  // transferred
constexpr int kReportSkipped = 1;     // refused before the transfer
constexpr int kReportUnchanged = 2;   // kept unchanged

struct QNReportEntry {
  const CQNDocNode* node = nullptr;  // null when the address has no node
  std::string address;               // used when there is no node
  bool error = false;
  int errorCode = 0;  // HTTP status or error number of the fetch
  int status = kReportDownloaded;
  std::optional<std::time_t> modified;
  std::uint64_t size = 0;
};

}  // namespace qn
