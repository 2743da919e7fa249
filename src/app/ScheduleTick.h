#pragma once

// The scheduler's decisions as functions of the entries and the current time, so
// that any clock can drive them.

#include <ctime>
#include <optional>
#include <vector>

#include "app/LocalTime.h"
#include "app/ScheduleEntry.h"

namespace qn {

// A due moment counts from its instant until this many seconds later.
constexpr int kDueWindowSeconds = 5;

// The timer starts (or the schedule was edited): intervals of Every entries count
// from now, and nothing before now is caught up.
void StartSchedule(std::vector<QNScheduleEntry>& entries, std::time_t now);

// Whether any entry gives the timer something to look at.
bool ScheduleActive(const std::vector<QNScheduleEntry>& entries);

// One tick of the timer: entries of kinds Daily to Yearly that finished more than
// the due window ago wait again, and the first due entry in list order is chosen,
// its last start set to now. At most one entry is chosen per tick; an entry without
// a project file is never due, so it does not hold up the entries below it.
std::optional<std::size_t> ScheduleTick(std::vector<QNScheduleEntry>& entries, std::time_t now);

// When a Daily to Yearly entry is due on `date`: its time on that date, or nothing
// when it is not due that day (a Weekly entry on another weekday, a Monthly or
// Yearly day that does not exist that month and falls on a later date).
std::optional<std::time_t> DueOnDate(const QNScheduleEntry& entry, const QNCivilDate& date);

// The next moment at or after `now` at which the entry can start, as the tick would
// find it; nothing for Disabled and Following Previous entries.
std::optional<std::time_t> NextDue(const QNScheduleEntry& entry, std::time_t now);

}  // namespace qn
