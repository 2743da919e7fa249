#pragma once

// The schedule as the program options keep it: section "Schedule" with the number
// of entries and, per entry numbered from 1, its project file and three packed
// words.

#include <cstdint>
#include <vector>

#include "app/ScheduleEntry.h"

class QSettings;

namespace qn {

// Kind in bits 0–7, day in 8–15, weekday in 16–23, month in 24–31.
std::uint32_t PackScheduleData(const QNScheduleEntry& entry);
// Second in bits 0–7, minute in 8–15, hour in 16–23.
std::uint32_t PackScheduleTime(const QNScheduleEntry& entry);
// Hang up after in bits 0–7, shut down after in 8–15.
std::uint32_t PackScheduleOther(const QNScheduleEntry& entry);
// The stored fields of an entry from its packed words, each kept within its range:
// an unknown kind disables the entry, a field out of range becomes 0.
QNScheduleEntry UnpackScheduleEntry(std::uint32_t data, std::uint32_t time, std::uint32_t other);

// Reads at most 100 entries, all waiting; missing values read as 0.
std::vector<QNScheduleEntry> LoadSchedule(QSettings& settings);
// Replaces the section with the entries' stored fields.
void SaveSchedule(QSettings& settings, const std::vector<QNScheduleEntry>& entries);

}  // namespace qn
