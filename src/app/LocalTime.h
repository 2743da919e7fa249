#pragma once

// Calendar dates and instants on the local clock, daylight saving included.

#include <ctime>

namespace qn {

struct QNCivilDate {
  int year = 1970;
  int month = 1;  // 1 … 12
  int day = 1;    // 1 … 31

  friend bool operator==(const QNCivilDate&, const QNCivilDate&) = default;
};

// Day `day` (counted from 1) of month `month` (1 … 12) of `year`; days beyond the end
// of the month count into the following months (day 31 of April is 1 May).
QNCivilDate CarriedDate(int year, int month, int day);
QNCivilDate AddDays(const QNCivilDate& date, int days);
int WeekdayOf(const QNCivilDate& date);  // 0 Sunday … 6 Saturday
QNCivilDate LocalDateOf(std::time_t instant);

// The first instant at which the local clock shows `date` at the given time or
// later: a time that a change to daylight saving skips comes when the clock jumps
// past it, and a time that the change back repeats counts at its first showing.
std::time_t LocalMoment(const QNCivilDate& date, int hour, int minute, int second);

}  // namespace qn
