#pragma once

// The environment variables the bookmark readers look at, passed in so that a
// caller (or a test) decides which values they see.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qn {

// The value of a variable, or nothing when it is not set.
using QNEnvironment = std::function<std::optional<std::string>(const std::string& name)>;

// The variables of this process.
QNEnvironment ProcessEnvironment();

// A leading "~" (alone or before "/") becomes $HOME, and "$NAME" and "${NAME}" the
// value of the variable (empty when it is not set), as a shell expands a path.
std::string ExpandVariables(std::string_view text, const QNEnvironment& environment);

}  // namespace qn
