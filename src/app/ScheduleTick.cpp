#include "app/ScheduleTick.h"

namespace qn {
namespace {

// Days searched for the next due moment of a dated entry: a Yearly entry comes
// round within one year.
constexpr int kDaysAhead = 370;

// A moment missed while the program was busy counts as well as one inside the due
// window.
bool Due(std::time_t moment, std::time_t now, std::time_t checkedUntil) {
  return moment <= now && (now - moment <= kDueWindowSeconds || moment > checkedUntil);
}

// The latest interval end of an Every entry at or before now; nothing before the
// first. An interval of 0 never ends.
std::optional<std::time_t> LatestIntervalEnd(const QNScheduleEntry& entry, std::time_t now) {
  const int interval = entry.IntervalSeconds();
  if (interval <= 0 || now < entry.reference + interval) return std::nullopt;
  return entry.reference + (now - entry.reference) / interval * interval;
}

bool DatedDue(const QNScheduleEntry& entry, std::time_t now) {
  const QNCivilDate today = LocalDateOf(now);
  if (const auto moment = DueOnDate(entry, today); moment && Due(*moment, now, entry.checkedUntil))
    return true;
  // A busy spell across midnight: the day before may hold the missed moment.
  const QNCivilDate checkedDay = LocalDateOf(entry.checkedUntil);
  if (checkedDay == today) return false;
  const auto moment = DueOnDate(entry, checkedDay);
  return moment && Due(*moment, now, entry.checkedUntil);
}

bool FollowingDue(const std::vector<QNScheduleEntry>& entries, std::size_t i) {
  if (i == 0) return false;
  const QNScheduleEntry& previous = entries[i - 1];
  return (previous.state == kEntryWaiting || previous.state == kEntryFinished) &&
         previous.runCount > entries[i].runCount;
}

bool IsDue(const std::vector<QNScheduleEntry>& entries, std::size_t i, std::time_t now) {
  const QNScheduleEntry& entry = entries[i];
  if (entry.projectFile.empty()) return false;
  switch (entry.kind) {
    case kScheduleDaily:
    case kScheduleWeekly:
    case kScheduleMonthly:
    case kScheduleYearly:
      return DatedDue(entry, now);
    case kScheduleEvery: {
      const auto end = LatestIntervalEnd(entry, now);
      return end && Due(*end, now, entry.checkedUntil);
    }
    case kScheduleFollowing:
      return FollowingDue(entries, i);
    default:
      return false;
  }
}

}  // namespace

void StartSchedule(std::vector<QNScheduleEntry>& entries, std::time_t now) {
  for (QNScheduleEntry& entry : entries) {
    entry.reference = now;
    entry.checkedUntil = now;
  }
}

bool ScheduleActive(const std::vector<QNScheduleEntry>& entries) {
  for (const QNScheduleEntry& entry : entries)
    if (entry.Active()) return true;
  return false;
}

std::optional<std::size_t> ScheduleTick(std::vector<QNScheduleEntry>& entries, std::time_t now) {
  const std::size_t count = std::min<std::size_t>(entries.size(), kMaxScheduleEntries);
  for (std::size_t i = 0; i < count; ++i) {
    QNScheduleEntry& entry = entries[i];
    const bool dated = entry.kind >= kScheduleDaily && entry.kind <= kScheduleYearly;
    if (dated && entry.state == kEntryFinished && entry.lastStart &&
        now - *entry.lastStart > kDueWindowSeconds)
      entry.state = kEntryWaiting;
    const bool eligible = entry.state == kEntryWaiting ||
                          (entry.state == kEntryFinished &&
                           (entry.kind == kScheduleEvery || entry.kind == kScheduleFollowing));
    const bool due = eligible && IsDue(entries, i, now);
    entry.checkedUntil = now;
    if (!due) continue;
    entry.lastStart = now;
    if (entry.kind == kScheduleEvery) {
      entry.reference = now;
      entry.state = kEntryWaiting;
    }
    return i;
  }
  return std::nullopt;
}

std::optional<std::time_t> DueOnDate(const QNScheduleEntry& entry, const QNCivilDate& date) {
  QNCivilDate moment = date;
  switch (entry.kind) {
    case kScheduleDaily:
      break;
    case kScheduleWeekly:
      if (WeekdayOf(date) != entry.weekday) return std::nullopt;
      break;
    case kScheduleMonthly:
      moment = CarriedDate(date.year, date.month, entry.day + 1);
      break;
    case kScheduleYearly:
      moment = CarriedDate(date.year, entry.month + 1, entry.day + 1);
      break;
    default:
      return std::nullopt;
  }
  // A day carried over into a later month is that month's date, never this one's.
  if (moment != date) return std::nullopt;
  return LocalMoment(date, entry.hour, entry.minute, entry.second);
}

std::optional<std::time_t> NextDue(const QNScheduleEntry& entry, std::time_t now) {
  if (entry.kind == kScheduleEvery) {
    const int interval = entry.IntervalSeconds();
    if (interval <= 0) return std::nullopt;
    const auto end = LatestIntervalEnd(entry, now);
    return end && *end == now ? now : (end ? *end : entry.reference) + interval;
  }
  const QNCivilDate today = LocalDateOf(now);
  for (int d = 0; d < kDaysAhead; ++d) {
    const auto moment = DueOnDate(entry, AddDays(today, d));
    if (moment && *moment >= now) return moment;
  }
  return std::nullopt;
}

}  // namespace qn
