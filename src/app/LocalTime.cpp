#include "app/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <tuple>
#include <vector>

namespace qn {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

QNCivilDate FromDays(sys_days days) {
  const year_month_day ymd(days);
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

sys_days ToDays(const QNCivilDate& date) {
  return sys_days(std::chrono::year(date.year) / std::chrono::month(date.month) /
                  std::chrono::day(1)) +
         std::chrono::days(date.day - 1);
}

// Year, month, day, hour, minute, second, compared as the clock reads them.
using Wall = std::tuple<int, int, int, int, int, int>;

Wall WallOf(std::time_t instant) {
  std::tm tm{};
  localtime_r(&instant, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::time_t MakeTime(const Wall& wall, int isDst) {
  std::tm tm{};
  std::tie(tm.tm_year, tm.tm_mon, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec) = wall;
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  tm.tm_isdst = isDst;
  return std::mktime(&tm);
}

}  // namespace

QNCivilDate CarriedDate(int year, int month, int day) {
  return FromDays(ToDays({year, month, 1}) + std::chrono::days(day - 1));
}

QNCivilDate AddDays(const QNCivilDate& date, int days) {
  return FromDays(ToDays(date) + std::chrono::days(days));
}

int WeekdayOf(const QNCivilDate& date) {
  return static_cast<int>(std::chrono::weekday(ToDays(date)).c_encoding());
}

QNCivilDate LocalDateOf(std::time_t instant) {
  const Wall wall = WallOf(instant);
  return {std::get<0>(wall), std::get<1>(wall), std::get<2>(wall)};
}

std::time_t LocalMoment(const QNCivilDate& date, int hour, int minute, int second) {
  const Wall target{date.year, date.month, date.day, hour, minute, second};
  // Read as standard time and as summer time: where the clock shows the time once,
  // one reading gives it back; where it shows it twice, both do.
  std::vector<std::time_t> readings;
  for (const int isDst : {0, 1})
    if (const std::time_t t = MakeTime(target, isDst); t != -1) readings.push_back(t);
  std::time_t first = -1;
  for (const std::time_t t : readings)
    if (WallOf(t) == target && (first == -1 || t < first)) first = t;
  if (first != -1) return first;
  if (readings.size() < 2) return MakeTime(target, -1);

  // The clock skips the time: the two readings lie on both sides of the jump, and
  // between them the clock only moves forward.
  std::time_t before = std::min(readings[0], readings[1]);
  std::time_t after = std::max(readings[0], readings[1]);
  while (after - before > 1) {
    const std::time_t middle = before + (after - before) / 2;
    (WallOf(middle) < target ? before : after) = middle;
  }
  return after;
}

}  // namespace qn
