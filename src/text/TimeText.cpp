#include "text/TimeText.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>

#include "text/MessageIds.h"
#include "text/Texts.h"

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

std::string FormatTimeText(const QNTexts& texts, const std::tm& t, bool use24Hour) {
  const std::string minutes = (t.tm_min < 10 ? "0" : "") + std::to_string(t.tm_min);
  std::string clock;
  if (use24Hour) {
    clock = std::to_string(t.tm_hour) + ":" + minutes;
  } else {
    const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    clock =
        std::to_string(hour) + ":" + minutes + " " + texts.Text(t.tm_hour < 12 ? kMsgAM : kMsgPM);
  }
  return clock + ", " + texts.Text(kMsgJanuary + t.tm_mon) + " " + std::to_string(t.tm_mday) +
         ", " + std::to_string(t.tm_year + 1900);
}

std::string CurrentTimeText(const QNTexts& texts) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatTimeText(texts, local, LocaleUses24HourClock());
}

}  // namespace qn
