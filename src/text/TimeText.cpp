#include "text/TimeText.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include "text/StringTable.h"

namespace qn {

bool LocaleUses24HourClock() {
  // The program never changes LC_TIME, so the environment's setting is read here.
  static const bool uses24 = [] {
    locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return true;
    const char* fmt = nl_langinfo_l(T_FMT, loc);
    bool result = true;
    if (fmt != nullptr && *fmt != '\0')
      result = std::strstr(fmt, "%H") || std::strstr(fmt, "%k") || std::strstr(fmt, "%R") ||
               std::strstr(fmt, "%T");
    freelocale(loc);
    return result;
  }();
  return uses24;
}

std::string FormatTimeText(const std::tm& t, bool use24Hour) {
  char clock[64];
  if (use24Hour) {
    std::snprintf(clock, sizeof clock, "%d:%02d", t.tm_hour, t.tm_min);
  } else {
    const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    std::snprintf(clock, sizeof clock, "%d:%02d %s", hour, t.tm_min,
                  BuiltinString(t.tm_hour < 12 ? 65026 : 65027));
  }
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s, %s %d, %d", clock, BuiltinString(65000 + t.tm_mon), t.tm_mday,
                t.tm_year + 1900);
  return buf;
}

std::string CurrentTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatTimeText(local, LocaleUses24HourClock());
}

}  // namespace qn
