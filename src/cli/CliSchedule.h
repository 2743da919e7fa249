#pragma once

#include "cli/CliOptions.h"

namespace qn {

// --schedule: runs the stored schedule until Ctrl+C; 0, or 2 when no entry is
// active.
int RunCliSchedule(const QNCliOptions& options);

// --schedule-list: prints the entries with their next due moment.
int ListCliSchedule();

}  // namespace qn
