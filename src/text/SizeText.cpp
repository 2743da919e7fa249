#include "text/SizeText.h"

#include <charconv>

#include "text/MessageIds.h"
#include "text/Texts.h"

namespace qn {

std::string FormatSizeText(const QNTexts& texts, std::uint64_t bytes, bool unknownForZero) {
  if (bytes == 0 && unknownForZero) return texts.Text(kMsgUnknownSize);
  double v = static_cast<double>(bytes);
  int k = 0;
  // Gigabytes are the largest unit: dividing further would print a terabyte as
  // "1.0 GB".
  while (k < 3 && v / 1024.0 >= 1.0) {
    v /= 1024.0;
    ++k;
  }
  const int unit =
      k == 0 ? kMsgUnitBytes : (k == 1 ? kMsgUnitKB : (k == 2 ? kMsgUnitMB : kMsgUnitGB));
  if (k == 0) return std::to_string(bytes) + " " + texts.Text(unit);
  // One decimal, rounded as "%.1f" rounds.
  char number[32];
  const auto written =
      std::to_chars(number, number + sizeof number, v, std::chars_format::fixed, 1);
  return std::string(number, written.ptr) + " " + texts.Text(unit);
}

}  // namespace qn
