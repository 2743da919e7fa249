#pragma once

// What every address and local path shares, from the settings record up.

#include <cstddef>

namespace qn {

// Addresses and paths handled in fixed buffers hold at most this many characters;
// longer values are cut.
constexpr std::size_t kMaxAddressLength = 1039;

// Slash and backslash both separate the parts of an address or a path.
inline bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

}  // namespace qn
