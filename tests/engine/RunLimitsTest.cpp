// Each limit ends a run after the addresses under way, with its reason in the log,
// the state "interrupted" and the end action; a stop ends it without the end action.
#include "engine/RunRig.h"
#include "text/SizeText.h"

namespace qn::test {
namespace {

// Serves /N.gif with `size` bytes after a pause of `delayMs`.
void ServeSlowGifs(HttpTestServer& server, RequestCounter& requests, std::size_t size,
                   int delayMs) {
  server.server().Get(R"(/(\d+)\.gif)", [&requests, size, delayMs](const httplib::Request& req,
                                                                   httplib::Response& res) {
    requests.Count(req.path);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    res.set_content(std::string(size, 'g'), "image/gif");
  });
}

std::vector<std::string> EndOfLog(const std::string& stopped, int files, const std::string& size) {
  return {"",
          stopped,
          "",
          "Summary:",
          " Number of Files: " + std::to_string(files) + "        Total Size: " + size,
          ""};
}

TEST(RunLimits, TheFileCountEndsTheRunWithItsReason) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 100, 5);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-100}.gif");
  rig.settings.QN_THREADS = 4;
  rig.settings.QN_LIM_FQ = 1;
  rig.settings.QN_MAX_FQ = 20;

  ASSERT_TRUE(rig.Download());

  const int files = rig.doc.Counters().files;
  EXPECT_GE(files, 20);
  EXPECT_LE(files, 20 + 4);  // addresses under way are finished
  EXPECT_EQ(rig.doc.run.stopReason, kStopFiles);
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
  std::vector<std::string> expected{"Download is Started", ""};
  for (const std::string& line :
       EndOfLog("Download is Stopped - Number of Files exceeded the limit", files,
                FormatSizeText(QNTexts(), static_cast<std::uint32_t>(files * 100))))
    expected.push_back(line);
  EXPECT_EQ(LogLines(rig.LogText()), expected);
  EXPECT_EQ(rig.observer.StatusTexts().back(), "Stopped");
}

TEST(RunLimits, TheTotalTimeEndsARunThatIsStillGoing) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 10, 100);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-200}.gif");
  rig.settings.QN_THREADS = 2;
  rig.settings.QN_LIM_TIME = 1;
  rig.settings.QN_MAX_TIME = 0;  // the run may last no second

  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(rig.Download());

  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_LT(requests.Total(), 200);
  EXPECT_EQ(rig.doc.run.stopReason, kStopTime);
  const std::vector<std::string> lines = LogLines(rig.LogText());
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[lines.size() - 5], "Download is Stopped - Total Time exceeded the limit");
}

TEST(RunLimits, TheDiskSpaceEndsTheRunOnceTheBytesExceedIt) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 2000, 1);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-100}.gif");
  rig.settings.QN_THREADS = 2;
  rig.settings.QN_LIM_DS = 1;
  rig.settings.QN_MAX_DS = 10000;

  ASSERT_TRUE(rig.Download());

  const CQNRunCounters counters = rig.doc.Counters();
  EXPECT_GT(counters.bytes, 10000);
  EXPECT_LT(counters.files, 100);
  EXPECT_EQ(rig.doc.run.stopReason, kStopDiskSpace);
  const std::vector<std::string> lines = LogLines(rig.LogText());
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[lines.size() - 5], "Download is Stopped - Total Disk Space exceeded the limit");
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
}

// The settings dialog takes any unsigned 32-bit number for the file count and the
// minutes; neither turns into a limit that has already been reached.
TEST(RunLimits, LimitsBeyondTheRangeOfAnIntDoNotEndTheRunAtOnce) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 10, 1);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-5}.gif");
  rig.settings.QN_LIM_TIME = 1;
  rig.settings.QN_MAX_TIME = 40000000;  // seconds beyond an int
  rig.settings.QN_LIM_FQ = 1;
  rig.settings.QN_MAX_FQ = static_cast<int>(4000000000u);

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.doc.run.stopReason, kStopNone);
  EXPECT_EQ(rig.doc.Counters().files, 5);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

// However few threads the settings ask for, one worker downloads.
TEST(RunLimits, ThreadsBelowOneStillDownload) {
  for (const int threads : {0, -3}) {
    RunRig rig;
    RequestCounter requests;  // outlives the server's handlers
    HttpTestServer server;
    ServeSlowGifs(server, requests, 10, 1);
    server.Start();
    rig.settings.QN_START_URL[0] = server.Url("/{:1-4}.gif");
    rig.settings.QN_THREADS = threads;

    ASSERT_TRUE(rig.Download());

    EXPECT_EQ(rig.doc.Counters().files, 4) << threads;
    EXPECT_EQ(requests.Total(), 4) << threads;
  }
}

// A limit changed while the run goes on holds from the next address on: a maximum
// size raised lets larger files in, a file count switched off lets the run go on.
TEST(RunLimits, LimitsChangedDuringTheRunHoldAtOnce) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 2000, 100);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-12}.gif");
  rig.settings.QN_THREADS = 1;
  rig.settings.QN_LIM_MAXFS = 1;
  rig.settings.QN_MAX_MAXFS = 1000;
  rig.settings.QN_LIM_FQ = 1;
  rig.settings.QN_MAX_FQ = 4;

  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return requests.Total() >= 2; }));
  CQNSettings changed = rig.doc.SettingsCopy();
  changed.QN_MAX_MAXFS = 100000;
  changed.QN_LIM_FQ = 0;
  rig.doc.ApplyChangedSettings(changed);
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));

  EXPECT_EQ(requests.All().size(), 12u);
  EXPECT_GT(rig.doc.Counters().files, 4);
  EXPECT_TRUE(std::filesystem::exists(rig.Site() / "12.gif"));
  EXPECT_EQ(rig.doc.run.stopReason, kStopNone);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

TEST(RunLimits, TheRunReportsWhetherALimitOrAStopEndedIt) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 10, 20);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-100}.gif");
  rig.settings.QN_THREADS = 2;
  rig.settings.QN_LIM_FQ = 1;
  rig.settings.QN_MAX_FQ = 5;
  std::vector<QNRunEnd> ends;
  QNRunEnvironment env = rig.Environment();
  env.hooks.runEnded = [&](const QNRunEnd& end) {
    // The run still counts as going while what follows it is carried out.
    EXPECT_FALSE(rig.doc.WaitForRunEnd(std::chrono::milliseconds(0)));
    ends.push_back(end);
  };
  rig.SetEnvironment(env);

  ASSERT_TRUE(rig.Download());
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_TRUE(ends[0].started);
  EXPECT_FALSE(ends[0].stoppedByUser);
  EXPECT_FALSE(ends[0].aborted);
  EXPECT_EQ(ends[0].stopReason, kStopFiles);
  EXPECT_EQ(ends[0].downloadState, kInterrupted);
  ASSERT_TRUE(rig.doc.LastRunEnd());
  EXPECT_EQ(rig.doc.LastRunEnd()->stopReason, kStopFiles);

  rig.settings.QN_LIM_FQ = 0;
  env.unattended = false;
  rig.SetEnvironment(env);
  rig.observer.kindAnswer = kKindNew;
  requests.Clear();
  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return requests.Total() >= 3; }));
  EXPECT_FALSE(rig.doc.LastRunEnd());
  rig.doc.Stop();
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(30)));
  ASSERT_EQ(ends.size(), 2u);
  EXPECT_TRUE(ends[1].started);
  EXPECT_TRUE(ends[1].stoppedByUser);
  EXPECT_EQ(ends[1].stopReason, kStopNone);
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
}

}  // namespace
}  // namespace qn::test
