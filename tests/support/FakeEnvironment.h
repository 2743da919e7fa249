#pragma once

// An environment of the test's own for code that takes its variables as a function.

#include <map>
#include <optional>
#include <string>

#include "bookmarks/Environment.h"

namespace qn::test {

// Exactly these variables are set.
inline QNEnvironment Variables(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const std::string& name) -> std::optional<std::string> {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

}  // namespace qn::test
