#include "text/SizeText.h"

#include <cstdio>

#include "text/StringTable.h"

namespace qn {

std::string FormatSizeText(std::uint32_t bytes, bool unknownForZero) {
  if (bytes == 0 && unknownForZero) return BuiltinString(55494);
  double v = bytes;
  int k = 0;
  while (k < 10 && v / 1024.0 >= 1.0) {
    v /= 1024.0;
    ++k;
  }
  const int unitId = k == 0 ? 55485 : (k == 1 ? 55486 : (k == 2 ? 55487 : 55488));
  char buf[64];
  if (k == 0)
    std::snprintf(buf, sizeof buf, "%u %s", bytes, BuiltinString(unitId));
  else
    std::snprintf(buf, sizeof buf, "%.1f %s", v, BuiltinString(unitId));
  return buf;
}

}  // namespace qn
