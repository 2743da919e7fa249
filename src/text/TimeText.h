#pragma once

#include <ctime>
#include <string>

namespace qn {

class QNTexts;

// Whether the user's locale writes the time of day with a 24-hour clock. Read from
// the LC_TIME time format: "%H", "%k", "%R" or "%T" mean 24 hours.
bool LocaleUses24HourClock();

// "3:05 PM, January 7, 2001" (12-hour) or "15:05, January 7, 2001" (24-hour), with
// month names and AM/PM in the user's language.
std::string FormatTimeText(const QNTexts& texts, const std::tm& local, bool use24Hour);
// The same for the current local time and the locale's clock.
std::string CurrentTimeText(const QNTexts& texts);

}  // namespace qn
