#pragma once

#include "cli/CliOptions.h"

namespace qn {

// Opens or makes the project, runs its download with the progress line and Ctrl+C,
// saves it, and gives the exit status: 0 completed, 1 stopped or limited, 2 the
// project could not be opened or saved or the run could not start.
int RunCli(const QNCliOptions& options);

}  // namespace qn
