// The schedule in the program options: packed words, value names and ranges.
#include <gtest/gtest.h>

#include <QSettings>

#include "app/ScheduleStore.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

TEST(ScheduleStore, RoundTripWithPackedValues) {
  TempDir dir;
  const QString file = QString::fromStdString((dir / "Quillorne.conf").string());
  QNScheduleEntry yearly;
  yearly.projectFile = "/home/u/sites/Gärten 1.qnp";
  yearly.kind = kScheduleYearly;
  yearly.hour = 23;
  yearly.minute = 59;
  yearly.second = 58;
  yearly.weekday = 6;
  yearly.day = 30;
  yearly.month = 11;
  yearly.shutDownAfter = true;
  QNScheduleEntry every;
  every.projectFile = "/b.qnp";
  every.kind = kScheduleEvery;
  every.minute = 25;
  every.hangUpAfter = true;
  every.state = kEntryRunning;  // memory only
  every.runCount = 7;
  {
    QSettings settings(file, QSettings::IniFormat);
    SaveSchedule(settings, std::vector<QNScheduleEntry>(3, every));
    SaveSchedule(settings, {yearly, every});
  }
  QSettings settings(file, QSettings::IniFormat);
  EXPECT_EQ(settings.value("Schedule/ProjectQuant").toInt(), 2);
  EXPECT_EQ(settings.value("Schedule/FieName01").toString().toStdString(), yearly.projectFile);
  EXPECT_EQ(settings.value("Schedule/Data01").toUInt(), 4u | 30u << 8 | 6u << 16 | 11u << 24);
  EXPECT_EQ(settings.value("Schedule/Time01").toUInt(), 58u | 59u << 8 | 23u << 16);
  EXPECT_EQ(settings.value("Schedule/Other01").toUInt(), 1u << 8);
  EXPECT_EQ(settings.value("Schedule/Other02").toUInt(), 1u);
  // A shorter list leaves no entries of the longer one behind.
  EXPECT_FALSE(settings.contains("Schedule/FieName03"));

  const std::vector<QNScheduleEntry> loaded = LoadSchedule(settings);
  ASSERT_EQ(loaded.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const QNScheduleEntry& want = i == 0 ? yearly : every;
    const QNScheduleEntry& got = loaded[i];
    EXPECT_EQ(got.projectFile, want.projectFile);
    EXPECT_EQ(PackScheduleData(got), PackScheduleData(want));
    EXPECT_EQ(PackScheduleTime(got), PackScheduleTime(want));
    EXPECT_EQ(PackScheduleOther(got), PackScheduleOther(want));
    EXPECT_EQ(got.state, kEntryWaiting);
    EXPECT_EQ(got.runCount, 0);
  }
}

TEST(ScheduleStore, DamagedValuesStayInRange) {
  TempDir dir;
  QSettings settings(QString::fromStdString((dir / "q.conf").string()), QSettings::IniFormat);
  settings.setValue("Schedule/ProjectQuant", 250);
  // Kind 9, day 31, weekday 7, month 12; hour 24, minute 60, second 200.
  settings.setValue("Schedule/Data01", 9u | 31u << 8 | 7u << 16 | 12u << 24);
  settings.setValue("Schedule/Time01", 200u | 60u << 8 | 24u << 16);
  settings.setValue("Schedule/Other01", 7u | 3u << 8);
  settings.setValue("Schedule/Data02", "not a number");
  settings.setValue("Schedule/Data03", -1);  // all bits set, as the registry would hold it
  const std::vector<QNScheduleEntry> loaded = LoadSchedule(settings);
  ASSERT_EQ(loaded.size(), 100u);
  const QNScheduleEntry& first = loaded[0];
  EXPECT_EQ(first.kind, kScheduleDisabled);
  EXPECT_EQ(first.day + first.weekday + first.month, 0);
  EXPECT_EQ(first.hour + first.minute + first.second, 0);
  EXPECT_TRUE(first.hangUpAfter && first.shutDownAfter);
  EXPECT_EQ(loaded[1].kind, kScheduleDisabled);
  EXPECT_EQ(loaded[2].kind, kScheduleDisabled);
  EXPECT_TRUE(loaded[99].projectFile.empty());
}

}  // namespace
}  // namespace qn::test
