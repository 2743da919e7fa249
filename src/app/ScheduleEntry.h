#pragma once

// One entry of the schedule: which project to download, when, and what to do after
// its download. The first group of members is stored with the program options; the
// rest lives only while the program runs.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace qn {

constexpr int kMaxScheduleEntries = 100;

enum QNScheduleKind : int {
  kScheduleDisabled = 0,
  kScheduleDaily = 1,
  kScheduleWeekly = 2,
  kScheduleMonthly = 3,
  kScheduleYearly = 4,
  kScheduleEvery = 5,
  kScheduleFollowing = 6,  // after each finished run of the entry above it
};
constexpr int kScheduleKindCount = 7;

enum QNEntryState : int { kEntryWaiting = 0, kEntryRunning = 1, kEntryFinished = 2 };

struct QNScheduleEntry {
  std::string projectFile;
  int kind = kScheduleDisabled;
  // Time of day for Daily to Yearly; the interval for Every.
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 0;  // 0 Sunday … 6 Saturday
  int day = 0;      // day of the month minus one
  int month = 0;    // month minus one
  bool hangUpAfter = false;
  bool shutDownAfter = false;

  int state = kEntryWaiting;
  int runCount = 0;  // finished runs since the program started
  std::optional<std::time_t> lastStart;
  // Every: the intervals are counted from here, for each entry on its own.
  std::time_t reference = 0;
  // Due moments up to this instant have been looked at; a later one that the timer
  // missed while the program was busy is caught up.
  std::time_t checkedUntil = 0;
  // Names the entry to the run it starts, so that the end of that run finds its
  // entry even when the list was edited or another entry started meanwhile.
  std::uint64_t id = 0;

  int IntervalSeconds() const { return hour * 3600 + minute * 60 + second; }
  // Counts for the timer: the tick has something to look at.
  bool Active() const {
    return kind != kScheduleDisabled && (state != kEntryFinished || kind == kScheduleEvery);
  }
};

}  // namespace qn
