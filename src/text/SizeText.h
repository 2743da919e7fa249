#pragma once

#include <cstdint>
#include <string>

namespace qn {

// A byte count as people read it: "1023 bytes", "1.0 KB", "1.5 MB", "2.0 GB".
// With `unknownForZero`, 0 gives "unknown" instead of "0 bytes".
std::string FormatSizeText(std::uint32_t bytes, bool unknownForZero = false);

}  // namespace qn
