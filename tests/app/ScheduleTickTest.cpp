// The scheduler's tick driven by a simulated clock in a zone with daylight saving.
#include <gtest/gtest.h>

#include "app/ScheduleClock.h"
#include "app/ScheduleTick.h"

namespace qn::test {
namespace {

class ScheduleTickTest : public ::testing::Test {
 protected:
  LocalZone zone_;
};

std::vector<std::time_t> StartTimes(const ScheduleDriver& driver) {
  std::vector<std::time_t> times;
  for (const auto& start : driver.starts) times.push_back(start.first);
  return times;
}

TEST_F(ScheduleTickTest, DailyStartsOnceInsideItsWindow) {
  CQNScheduler scheduler({Entry("a.qnp", kScheduleDaily, 14, 0)});
  ScheduleDriver driver(scheduler);
  driver.runSeconds = 2;
  ASSERT_TRUE(scheduler.Activate(Local(2024, 5, 6, 10, 0)));
  driver.Run(Local(2024, 5, 6, 10, 0), Local(2024, 5, 7, 9, 0));
  EXPECT_EQ(StartTimes(driver), std::vector<std::time_t>{Local(2024, 5, 6, 14, 0)});

  // A timer started inside the window starts the entry at once; one started after
  // it waits for the next day.
  CQNScheduler late({Entry("a.qnp", kScheduleDaily, 14, 0)});
  ScheduleDriver lateDriver(late);
  late.Activate(Local(2024, 5, 6, 14, 0, 5));
  lateDriver.Run(Local(2024, 5, 6, 14, 0, 5), Local(2024, 5, 6, 14, 0, 8));
  EXPECT_EQ(StartTimes(lateDriver), std::vector<std::time_t>{Local(2024, 5, 6, 14, 0, 5)});
  CQNScheduler missed({Entry("a.qnp", kScheduleDaily, 14, 0)});
  ScheduleDriver missedDriver(missed);
  missed.Activate(Local(2024, 5, 6, 14, 0, 6));
  missedDriver.Run(Local(2024, 5, 6, 14, 0, 6), Local(2024, 5, 6, 16, 0));
  EXPECT_TRUE(missedDriver.starts.empty());
}

// Each day of a period around the entry's time; how many starts each day saw.
std::vector<int> StartsPerDay(QNScheduleEntry entry, int year, int month, int firstDay, int days) {
  std::vector<int> perDay;
  for (int d = 0; d < days; ++d) {
    const std::time_t from = Local(year, month, firstDay + d, entry.hour, entry.minute) - 10;
    CQNScheduler scheduler({entry});
    ScheduleDriver driver(scheduler);
    scheduler.Activate(from);
    driver.Run(from, from + 30);
    perDay.push_back(static_cast<int>(driver.starts.size()));
  }
  return perDay;
}

TEST_F(ScheduleTickTest, WeeklyMonthlyAndYearlyDates) {
  // 6 May 2024 is a Monday.
  QNScheduleEntry weekly = Entry("w.qnp", kScheduleWeekly, 9, 30);
  weekly.weekday = 3;
  EXPECT_EQ(StartsPerDay(weekly, 2024, 5, 6, 7), (std::vector<int>{0, 0, 1, 0, 0, 0, 0}));

  // Day 31 falls on the 1st of the next month in April, which is never today then;
  // May 1st looks for May 31st.
  QNScheduleEntry monthly = Entry("m.qnp", kScheduleMonthly, 8, 0);
  monthly.day = 30;
  std::vector<int> april = StartsPerDay(monthly, 2024, 4, 1, 31);
  EXPECT_EQ(std::count(april.begin(), april.end(), 1), 0);
  EXPECT_EQ(StartsPerDay(monthly, 2024, 5, 31, 1), std::vector<int>{1});

  // 29 February is 1 March in a common year, and itself in a leap year.
  QNScheduleEntry yearly = Entry("y.qnp", kScheduleYearly, 12, 0);
  yearly.month = 1;
  yearly.day = 28;
  EXPECT_EQ(StartsPerDay(yearly, 2023, 2, 28, 2), (std::vector<int>{0, 1}));
  EXPECT_EQ(StartsPerDay(yearly, 2024, 2, 28, 3), (std::vector<int>{0, 1, 0}));

  EXPECT_EQ(NextDue(monthly, Local(2024, 4, 10, 0, 0)), Local(2024, 5, 31, 8, 0));
  EXPECT_EQ(NextDue(yearly, Local(2023, 2, 1, 0, 0)), Local(2023, 3, 1, 12, 0));
  EXPECT_EQ(NextDue(weekly, Local(2024, 5, 8, 9, 31)), Local(2024, 5, 15, 9, 30));
}

TEST_F(ScheduleTickTest, SameSecondEntriesStartInTurnAndTheSecondStopsTheFirst) {
  CQNScheduler scheduler(
      {Entry("a.qnp", kScheduleDaily, 14, 0), Entry("b.qnp", kScheduleDaily, 14, 0)});
  ScheduleDriver driver(scheduler);
  driver.runSeconds = 600;
  const std::time_t due = Local(2024, 5, 6, 14, 0);
  scheduler.Activate(due - 5);
  driver.Run(due - 5, due + 5);
  ASSERT_EQ(driver.starts.size(), 2u);
  EXPECT_EQ(driver.starts[0], std::make_pair(due, std::string("a.qnp")));
  EXPECT_EQ(driver.starts[1], std::make_pair(due + 1, std::string("b.qnp")));
  EXPECT_EQ(driver.events, (std::vector<std::string>{"stop", "open a.qnp", "stop", "open b.qnp"}));

  // The first entry was stopped, not finished; the late end of its run does not
  // touch the second, whose run is still the current one.
  const auto& entries = scheduler.Entries();
  EXPECT_EQ(entries[0].state, kEntryFinished);
  EXPECT_EQ(entries[0].runCount, 0);
  scheduler.Finished(entries[0].id);
  ASSERT_TRUE(scheduler.CurrentRun());
  EXPECT_EQ(scheduler.CurrentRun()->entryId, entries[1].id);
  EXPECT_EQ(entries[1].state, kEntryRunning);
  scheduler.Finished(entries[1].id);
  EXPECT_EQ(entries[1].runCount, 1);
  EXPECT_FALSE(scheduler.CurrentRun());
}

TEST_F(ScheduleTickTest, FollowingPreviousAndEveryIntervals) {
  CQNScheduler scheduler(
      {Entry("a.qnp", kScheduleEvery, 0, 10), Entry("b.qnp", kScheduleFollowing, 0, 0)});
  ScheduleDriver driver(scheduler);
  driver.runSeconds = 20;
  const std::time_t start = Local(2024, 5, 6, 8, 0);
  scheduler.Activate(start);
  driver.Run(start, start + 3600 - 1);
  // b starts once after each finished run of a; a's next interval stops b's run
  // only if b were still going, which it is not.
  EXPECT_EQ(driver.StartsOf("a.qnp"), 5);
  EXPECT_EQ(driver.StartsOf("b.qnp"), 5);
  for (std::size_t i = 0; i + 1 < driver.starts.size(); i += 2) {
    EXPECT_EQ(driver.starts[i].second, "a.qnp");
    EXPECT_EQ(driver.starts[i + 1].first, driver.starts[i].first + 20);
  }

  // One hour apart, a download of 90 minutes: the next start two hours after.
  CQNScheduler hourly({Entry("h.qnp", kScheduleEvery, 1, 0)});
  ScheduleDriver hourlyDriver(hourly);
  hourlyDriver.runSeconds = 90 * 60;
  hourly.Activate(start);
  hourlyDriver.Run(start, start + 4 * 3600 + 10);
  EXPECT_EQ(StartTimes(hourlyDriver), (std::vector<std::time_t>{start + 3600, start + 3 * 3600}));
}

TEST_F(ScheduleTickTest, EveryEntriesCountTheirOwnIntervals) {
  CQNScheduler scheduler(
      {Entry("hour.qnp", kScheduleEvery, 1, 0), Entry("quarter.qnp", kScheduleEvery, 0, 25)});
  ScheduleDriver driver(scheduler);
  driver.runSeconds = 60;
  const std::time_t start = Local(2024, 5, 6, 0, 0);
  scheduler.Activate(start);
  driver.Run(start, start + 6 * 3600);
  EXPECT_EQ(driver.StartsOf("hour.qnp"), 6);
  EXPECT_EQ(driver.StartsOf("quarter.qnp"), 14);

  // A download longer than a hundred intervals does not end the entry's turns: it
  // starts again at the first interval end after the download.
  CQNScheduler minutely({Entry("m.qnp", kScheduleEvery, 0, 1)});
  ScheduleDriver longRun(minutely);
  longRun.runSeconds = 3 * 3600;
  minutely.Activate(start);
  longRun.Run(start, start + 3 * 3600 + 3 * 60);
  EXPECT_EQ(StartTimes(longRun), (std::vector<std::time_t>{start + 60, start + 3 * 3600 + 60}));
}

TEST_F(ScheduleTickTest, EntriesThatCannotStartDoNotHoldUpOthers) {
  // No project, an interval of 0, and a project that cannot be opened, each due at
  // the same moment as the last entry.
  CQNScheduler scheduler({Entry("", kScheduleDaily, 14, 0), Entry("zero.qnp", kScheduleEvery, 0, 0),
                          Entry("broken.qnp", kScheduleDaily, 14, 0),
                          Entry("good.qnp", kScheduleDaily, 14, 0)});
  ScheduleDriver driver(scheduler);
  driver.failingProjects = {"broken.qnp"};
  driver.runSeconds = 30;
  const std::time_t due = Local(2024, 5, 6, 14, 0);
  scheduler.Activate(due - 60);
  driver.Run(due - 60, due + 120);
  EXPECT_EQ(StartTimes(driver), std::vector<std::time_t>{due + 1});
  EXPECT_EQ(driver.StartsOf("good.qnp"), 1);
  // The failed open was tried once; it left no start request behind for the
  // user's next project, and its entry is not stuck as running.
  EXPECT_EQ(std::count(driver.events.begin(), driver.events.end(), "open broken.qnp"), 1);
  const auto& entries = scheduler.Entries();
  EXPECT_EQ(entries[2].state, kEntryWaiting);
  EXPECT_EQ(entries[2].runCount, 1);
  EXPECT_EQ(entries[0].state, kEntryWaiting);
  EXPECT_FALSE(scheduler.CurrentRun());
  EXPECT_FALSE(scheduler.TakeStartRequest());
}

TEST_F(ScheduleTickTest, MomentsMissedWhileBusyAreCaughtUpOnce) {
  CQNScheduler scheduler(
      {Entry("a.qnp", kScheduleDaily, 14, 0), Entry("n.qnp", kScheduleDaily, 23, 59, 59)});
  ScheduleDriver driver(scheduler);
  driver.runSeconds = 1;
  const std::time_t before = Local(2024, 5, 6, 13, 59, 55);
  scheduler.Activate(before);
  driver.Step(before);
  // The program was busy for 17 seconds (a forced stop waits up to 10).
  driver.Run(before + 17, before + 60);
  // Across midnight as well.
  const std::time_t night = Local(2024, 5, 6, 23, 59, 58);
  driver.Step(night);
  driver.Run(night + 12, night + 60);
  EXPECT_EQ(StartTimes(driver), (std::vector<std::time_t>{before + 17, night + 12}));
}

TEST_F(ScheduleTickTest, DaylightSavingDays) {
  // 31 March 2024: 02:00 CET becomes 03:00 CEST at 01:00 UTC. 02:30 does not exist
  // and comes with the jump; 14:00 is 12:00 UTC.
  const std::time_t springDay = Local(2024, 3, 31, 0, 0);
  CQNScheduler spring(
      {Entry("gap.qnp", kScheduleDaily, 2, 30), Entry("noon.qnp", kScheduleDaily, 14, 0)});
  ScheduleDriver springDriver(spring);
  spring.Activate(springDay);
  springDriver.Run(springDay, springDay + 23 * 3600 - 1);
  EXPECT_EQ(StartTimes(springDriver),
            (std::vector<std::time_t>{1711846800 /* 01:00 UTC */, 1711886400 /* 12:00 UTC */}));

  // 27 October 2024: 03:00 CEST becomes 02:00 CET at 01:00 UTC, so 02:30 comes
  // twice; the first counts.
  const std::time_t autumnDay = Local(2024, 10, 27, 0, 0);
  CQNScheduler autumn({Entry("twice.qnp", kScheduleDaily, 2, 30)});
  ScheduleDriver autumnDriver(autumn);
  autumnDriver.runSeconds = 60;
  autumn.Activate(autumnDay);
  autumnDriver.Run(autumnDay, autumnDay + 25 * 3600 - 1);
  EXPECT_EQ(StartTimes(autumnDriver), std::vector<std::time_t>{1729989000 /* 00:30 UTC */});
}

}  // namespace
}  // namespace qn::test
