#pragma once

#include "app/ProgramOptions.h"

namespace qn {

// The primary screen's size and the window frame's measures, for the default and
// the limits of the main window's placement.
QNScreenMetrics CurrentScreenMetrics();

}  // namespace qn
