#pragma once

#include <cstdint>
#include <string>

namespace qn {

class QNTexts;

// A byte count as people read it: "1023 bytes", "1.0 KB", "1.5 MB", "2.0 GB", the
// units in the user's language. With `unknownForZero`, 0 gives "unknown" instead of
// "0 bytes".
std::string FormatSizeText(const QNTexts& texts, std::uint64_t bytes, bool unknownForZero = false);

}  // namespace qn
