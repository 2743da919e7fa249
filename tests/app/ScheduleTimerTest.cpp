// The scheduler's timer and the steps it asks of the program, with a simulated clock.
#include <gtest/gtest.h>

#include <memory>

#include "app/ScheduleClock.h"
#include "app/ScheduleTimer.h"
#include "support/QtCoreApp.h"

namespace qn::test {
namespace {

class ScheduleTimerTest : public ::testing::Test {
 protected:
  QtCoreApp qt_;
  LocalZone zone_;
  std::time_t now_ = Local(2024, 5, 6, 13, 59, 58);
  std::vector<std::string> events_;
  bool opens_ = true;
  bool starts_ = true;
  // Run by the stop step, as the event loop may run while a download stops.
  std::function<void()> duringStop_;

  std::unique_ptr<CQNScheduleTimer> Timer() {
    QNScheduleSteps steps;
    steps.stopDownload = [this] {
      events_.push_back("stop");
      if (duringStop_) duringStop_();
    };
    steps.openProject = [this](const std::string& path) {
      events_.push_back("open " + path);
      return opens_;
    };
    steps.startDownload = [this](const QNScheduledRun& run) {
      events_.push_back("start " + std::to_string(run.entryId) + (run.hangUpAfter ? " hang" : "") +
                        (run.shutDownAfter ? " shut" : ""));
      return starts_;
    };
    return std::make_unique<CQNScheduleTimer>(std::move(steps), [this] { return now_; });
  }
};

TEST_F(ScheduleTimerTest, AnEntryStartsWhenItsContentsAreReadyAndOnlyOnce) {
  QNScheduleEntry a = Entry("a.qnp", kScheduleDaily, 14, 0);
  a.hangUpAfter = true;
  QNScheduleEntry b = Entry("b.qnp", kScheduleDaily, 14, 0);
  b.shutDownAfter = true;
  const auto made = Timer();
  CQNScheduleTimer& timer = *made;
  timer.SetEntries({a, b});
  timer.Activate();
  EXPECT_TRUE(timer.Running());
  const std::uint64_t idA = timer.Entries()[0].id;
  const std::uint64_t idB = timer.Entries()[1].id;
  const std::vector<QNScheduleEntry> copy = timer.Entries();

  timer.Tick();
  EXPECT_TRUE(events_.empty());
  now_ = Local(2024, 5, 6, 14, 0, 0);
  timer.Tick();
  timer.ContentsReady();
  timer.ContentsReady();
  // The second entry of the same second stops the first one's download first; the
  // late end of the first run does not finish the second entry.
  now_ += 1;
  timer.Tick();
  timer.Finished(idA);
  EXPECT_EQ(timer.Entries()[1].state, kEntryRunning);
  // The Schedule dialog's copy was taken before b started: its OK keeps b running
  // (else b would start again within its window) and the counts of both.
  timer.SetEntries(copy);
  timer.Activate();
  EXPECT_EQ(timer.Entries()[1].state, kEntryRunning);
  timer.Tick();
  timer.ContentsReady();
  EXPECT_EQ(events_, (std::vector<std::string>{
                         "stop", "open a.qnp", "start " + std::to_string(idA) + " hang", "stop",
                         "open b.qnp", "start " + std::to_string(idB) + " shut"}));
  timer.Finished(idB);
  EXPECT_EQ(timer.Entries()[0].state, kEntryFinished);
  EXPECT_EQ(timer.Entries()[0].runCount, 0);
  EXPECT_EQ(timer.Entries()[1].state, kEntryFinished);
  EXPECT_EQ(timer.Entries()[1].runCount, 1);

  // Nothing active: the timer stops.
  timer.SetEntries({Entry("a.qnp", kScheduleDisabled, 0, 0)});
  timer.Activate();
  EXPECT_FALSE(timer.Running());
}

TEST_F(ScheduleTimerTest, AnEntryThatCannotOpenOrStartIsFinishedAndATickDuringAStopIsSkipped) {
  const auto made = Timer();
  CQNScheduleTimer& timer = *made;
  timer.SetEntries({Entry("a.qnp", kScheduleDaily, 14, 0), Entry("b.qnp", kScheduleDaily, 14, 0)});
  timer.Activate();
  now_ = Local(2024, 5, 6, 14, 0, 0);
  opens_ = false;
  duringStop_ = [&] { timer.Tick(); };
  timer.Tick();
  timer.ContentsReady();
  EXPECT_EQ(events_, (std::vector<std::string>{"stop", "open a.qnp"}));
  EXPECT_EQ(timer.Entries()[0].state, kEntryFinished);

  // A download that does not start leaves no entry running and no start pending.
  opens_ = true;
  starts_ = false;
  now_ += 1;
  timer.Tick();
  timer.ContentsReady();
  EXPECT_EQ(timer.Entries()[1].state, kEntryFinished);
  starts_ = true;
  timer.ContentsReady();
  EXPECT_EQ(events_.size(), 5u);

  // The next day both start again.
  events_.clear();
  duringStop_ = nullptr;
  now_ = Local(2024, 5, 7, 14, 0, 0);
  timer.Tick();
  timer.ContentsReady();
  EXPECT_EQ(events_.size(), 3u);
  EXPECT_EQ(timer.Entries()[0].state, kEntryRunning);
}

}  // namespace
}  // namespace qn::test
