#include "app/ScheduleStore.h"

#include <QSettings>
#include <QString>
#include <algorithm>
#include <cstdio>

namespace qn {
namespace {

constexpr const char* kSection = "Schedule";

std::uint32_t Byte(std::uint32_t word, int index) {
  return (word >> (8 * index)) & 0xFFu;
}

// A stored field within 0 … max; anything else is 0.
int Field(std::uint32_t value, int max) {
  return value <= static_cast<std::uint32_t>(max) ? static_cast<int>(value) : 0;
}

QString Key(const char* name, int number) {
  char key[32];
  std::snprintf(key, sizeof key, "%s%02d", name, number);
  return QString::fromLatin1(key);
}

// A stored word as the registry keeps it, 32 bits without sign.
std::uint32_t Word(const QSettings& settings, const QString& key) {
  bool ok = false;
  const qlonglong value = settings.value(key).toLongLong(&ok);
  return ok ? static_cast<std::uint32_t>(value) : 0;
}

}  // namespace

std::uint32_t PackScheduleData(const QNScheduleEntry& entry) {
  return static_cast<std::uint32_t>(entry.kind & 0xFF) |
         static_cast<std::uint32_t>(entry.day & 0xFF) << 8 |
         static_cast<std::uint32_t>(entry.weekday & 0xFF) << 16 |
         static_cast<std::uint32_t>(entry.month & 0xFF) << 24;
}

std::uint32_t PackScheduleTime(const QNScheduleEntry& entry) {
  return static_cast<std::uint32_t>(entry.second & 0xFF) |
         static_cast<std::uint32_t>(entry.minute & 0xFF) << 8 |
         static_cast<std::uint32_t>(entry.hour & 0xFF) << 16;
}

std::uint32_t PackScheduleOther(const QNScheduleEntry& entry) {
  return static_cast<std::uint32_t>(entry.hangUpAfter ? 1 : 0) |
         static_cast<std::uint32_t>(entry.shutDownAfter ? 1 : 0) << 8;
}

QNScheduleEntry UnpackScheduleEntry(std::uint32_t data, std::uint32_t time, std::uint32_t other) {
  QNScheduleEntry entry;
  entry.kind = Field(Byte(data, 0), kScheduleKindCount - 1);
  entry.day = Field(Byte(data, 1), 30);
  entry.weekday = Field(Byte(data, 2), 6);
  entry.month = Field(Byte(data, 3), 11);
  entry.second = Field(Byte(time, 0), 59);
  entry.minute = Field(Byte(time, 1), 59);
  entry.hour = Field(Byte(time, 2), 23);
  entry.hangUpAfter = Byte(other, 0) != 0;
  entry.shutDownAfter = Byte(other, 1) != 0;
  return entry;
}

std::vector<QNScheduleEntry> LoadSchedule(QSettings& settings) {
  settings.beginGroup(kSection);
  const int count = std::clamp(settings.value("ProjectQuant").toInt(), 0, kMaxScheduleEntries);
  std::vector<QNScheduleEntry> entries;
  for (int n = 1; n <= count; ++n) {
    QNScheduleEntry entry =
        UnpackScheduleEntry(Word(settings, Key("Data", n)), Word(settings, Key("Time", n)),
                            Word(settings, Key("Other", n)));
    entry.projectFile = settings.value(Key("FieName", n)).toString().toStdString();
    entries.push_back(std::move(entry));
  }
  settings.endGroup();
  return entries;
}

void SaveSchedule(QSettings& settings, const std::vector<QNScheduleEntry>& entries) {
  settings.remove(kSection);
  settings.beginGroup(kSection);
  const int count = static_cast<int>(std::min<std::size_t>(entries.size(), kMaxScheduleEntries));
  settings.setValue("ProjectQuant", count);
  for (int n = 1; n <= count; ++n) {
    const QNScheduleEntry& entry = entries[static_cast<std::size_t>(n - 1)];
    settings.setValue(Key("FieName", n), QString::fromStdString(entry.projectFile));
    settings.setValue(Key("Data", n), PackScheduleData(entry));
    settings.setValue(Key("Time", n), PackScheduleTime(entry));
    settings.setValue(Key("Other", n), PackScheduleOther(entry));
  }
  settings.endGroup();
}

}  // namespace qn
