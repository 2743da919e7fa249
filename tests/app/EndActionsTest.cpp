#include <gtest/gtest.h>

#include "app/EndActions.h"

namespace qn {
namespace {

constexpr auto kNone = QNEndAction::kNone;
constexpr auto kExit = QNEndAction::kExit;
constexpr auto kShutdown = QNEndAction::kShutdown;

QNRunEnd Completed() {
  QNRunEnd end;
  end.started = true;
  end.downloadState = kDownloadCompleted;
  return end;
}
QNRunEnd Limited() {
  QNRunEnd end = Completed();
  end.stopReason = kStopTime;
  end.downloadState = kInterrupted;
  return end;
}
QNRunEnd Stopped() {
  QNRunEnd end = Completed();
  end.stoppedByUser = true;
  end.downloadState = kInterrupted;
  return end;
}
QNRunEnd Aborted() {
  QNRunEnd end = Stopped();
  end.aborted = true;
  return end;
}
QNRunEnd NotStarted() {
  return QNRunEnd{};
}

struct Row {
  const char* what;
  QNRunEnd end;
  QNEndPolicy policy;
  QNEndActions expected;  // tray idle, hang up, action, hand back
};

TEST(EndActions, DecidedInTheOrderOfTheCommandLineTheScheduleAndTheOptions) {
  QNEndPolicy dE;  // -D -E
  dE.commandLineDownload = dE.exitAfter = true;
  QNEndPolicy dShutE = dE;  // -D -E -SHUT: shutting down wins
  dShutE.shutdownAfter = true;
  QNEndPolicy dOnly;  // -D alone: the options do not count
  dOnly.commandLineDownload = dOnly.autoShutdown = dOnly.autoDisconnect = true;
  QNEndPolicy dDisc = dE;  // -D -E -DISC
  dDisc.disconnectAfter = true;
  QNEndPolicy entry;  // a scheduled entry with both of its flags
  entry.scheduled = entry.entryHangsUp = entry.entryShutsDown = true;
  entry.autoShutdown = false;
  QNEndPolicy entryPlain;  // an entry without flags: the options do not count
  entryPlain.scheduled = true;
  entryPlain.autoShutdown = entryPlain.autoDisconnect = true;
  QNEndPolicy options;  // a run the user started, with the options set
  options.autoShutdown = options.autoDisconnect = options.useTray = true;
  QNEndPolicy quiet;

  const Row rows[] = {
      {"-D -E after a normal end", Completed(), dE, {false, false, kExit, false}},
      {"-D -E after a limit", Limited(), dE, {false, false, kExit, false}},
      {"-D -E after Stop", Stopped(), dE, {false, false, kNone, false}},
      {"-D -E after a forced stop", Aborted(), dE, {false, false, kNone, false}},
      {"-D -E when the run could not start", NotStarted(), dE, {false, false, kNone, false}},
      {"-D -E -SHUT", Completed(), dShutE, {false, false, kShutdown, false}},
      {"-D alone", Completed(), dOnly, {false, false, kNone, false}},
      {"-D -DISC hangs up even after Stop", Stopped(), dDisc, {false, true, kNone, false}},
      {"entry flags", Completed(), entry, {false, true, kShutdown, true}},
      {"entry flags after Stop", Stopped(), entry, {false, true, kNone, true}},
      {"entry that could not start", NotStarted(), entry, {false, true, kNone, true}},
      {"entry without flags", Limited(), entryPlain, {false, false, kNone, true}},
      {"options", Completed(), options, {true, true, kShutdown, false}},
      {"options after Stop", Stopped(), options, {true, true, kNone, false}},
      {"options, run not started", NotStarted(), options, {false, true, kNone, false}},
      {"nothing asked", Completed(), quiet, {false, false, kNone, false}},
  };
  for (const Row& row : rows) {
    const QNEndActions got = DecideEndActions(row.end, row.policy);
    EXPECT_EQ(got.trayIdle, row.expected.trayIdle) << row.what;
    EXPECT_EQ(got.hangUp, row.expected.hangUp) << row.what;
    EXPECT_EQ(got.action, row.expected.action) << row.what;
    EXPECT_EQ(got.handBack, row.expected.handBack) << row.what;
  }
}

TEST(EndActions, AConversionOnTheCommandLineExitsOrShutsDown) {
  QNEndPolicy policy;
  policy.commandLineConvert = true;
  EXPECT_EQ(DecideConversionEndAction(false, policy), kNone);
  policy.exitAfter = true;
  EXPECT_EQ(DecideConversionEndAction(false, policy), kExit);
  policy.shutdownAfter = true;
  EXPECT_EQ(DecideConversionEndAction(false, policy), kShutdown);
  EXPECT_EQ(DecideConversionEndAction(true, policy), kNone);
  policy.commandLineConvert = false;
  EXPECT_EQ(DecideConversionEndAction(false, policy), kNone);
}

}  // namespace
}  // namespace qn
