#include "app/ScheduleText.h"

#include <cstdio>

#include "text/MessageIds.h"

namespace qn {
namespace {

std::string Clock(int hour, int minute, int second) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour % 100, minute % 100, second % 100);
  return text;
}

}  // namespace

std::string ScheduleWhenText(const QNTexts& texts, const QNScheduleEntry& entry) {
  const std::string kind = texts.Text(kMsgIntervalDisabled + entry.kind);
  const std::string clock = Clock(entry.hour, entry.minute, entry.second);
  switch (entry.kind) {
    case kScheduleDaily:
    case kScheduleEvery:
      return kind + " " + clock;
    case kScheduleWeekly:
      return kind + " " + texts.Text(kMsgSunday + entry.weekday) + " " + clock;
    case kScheduleMonthly:
      return kind + " day " + std::to_string(entry.day + 1) + " " + clock;
    case kScheduleYearly:
      return kind + " " + std::to_string(entry.day + 1) + " " +
             texts.Text(kMsgJanuary + entry.month) + " " + clock;
    default:
      return kind;
  }
}

}  // namespace qn
