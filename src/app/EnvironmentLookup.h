#pragma once

#include <functional>

namespace qn {

// Looks up an environment variable (null when it is not set); tests pass their own
// instead of changing the process's environment.
using QNEnvironmentLookup = std::function<const char*(const char*)>;

}  // namespace qn
