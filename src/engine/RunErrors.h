#pragma once

// What the thread routines of a run log for an exception that escaped their work.

#include <exception>

namespace qn {

// The number an exception carries (a system error's code), 0 when it carries none.
int ExceptionCode(const std::exception& e);

}  // namespace qn
