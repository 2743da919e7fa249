// The program's options and the scheduler's flags change while a run goes on.
#include "engine/RunRig.h"

namespace qn::test {
namespace {

TEST(RunEnvironment, ChangesDuringARunWaitForTheNextRun) {
  RunRig rig;
  HttpTestServer server;
  server.server().Get(R"(/(\d+)\.gif)", [](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    res.set_content("GIF89a", "image/gif");
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-40}.gif");
  rig.settings.QN_THREADS = 4;
  rig.settings.QN_REPORT = 1;

  std::atomic<int> firstRows{0}, laterRows{0}, firstEnds{0}, laterEnds{0};
  QNRunEnvironment first = rig.Environment();
  first.hooks.reportRow = [&](const QNReportEntry&) { ++firstRows; };
  first.hooks.runEnded = [&](const QNRunEnd&) { ++firstEnds; };
  rig.SetEnvironment(first);
  QNRunEnvironment later = first;
  later.hooks.reportRow = [&](const QNReportEntry&) { ++laterRows; };
  later.hooks.runEnded = [&](const QNRunEnd&) { ++laterEnds; };

  ASSERT_TRUE(rig.doc.StartDownload());
  int changes = 0;
  while (!rig.doc.WaitForRunEnd(std::chrono::milliseconds(2))) {
    later.unattended = changes % 2 == 0;
    later.convertAfter = changes % 3 == 0;
    later.internet.UseProxy = changes % 2;
    later.internet.ProxyAddress = "proxy" + std::to_string(changes);
    rig.SetEnvironment(later);
    ++changes;
  }
  EXPECT_GT(changes, 10);
  EXPECT_EQ(firstRows, 40);
  EXPECT_EQ(firstEnds, 1);
  EXPECT_EQ(laterRows, 0);
  EXPECT_EQ(laterEnds, 0);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);

  // The next run starts from the environment as it stands then.
  later.unattended = true;
  later.internet.UseProxy = 0;
  rig.SetEnvironment(later);
  ASSERT_TRUE(rig.Download());
  EXPECT_EQ(laterEnds, 1);
  EXPECT_EQ(firstEnds, 1);
}

}  // namespace
}  // namespace qn::test
