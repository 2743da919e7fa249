// Closing the main window while a run waits on a slow server: the forced stop waits
// off the GUI thread behind the wait window, the window keeps handling its events,
// and the project is saved as interrupted and closed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "engine/Doc.h"
#include "engine/RunState.h"
#include "support/TestServers.h"
#include "ui/CommandIds.h"
#include "ui/WaitWindow.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

TEST(CloseDuringRunTest, ClosingDuringARunWaitsBehindTheWaitWindowAndSavesTheProject) {
  WindowRig rig;
  std::atomic<int> slowAsked{0};
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    std::string page = "<html><body>";
    for (int i = 0; i < 8; ++i) page += "<a href=\"/slow/" + std::to_string(i) + ".html\">p</a>";
    res.set_content(page + "</body></html>", "text/html");
  });
  // Each page answers only after a while, so the workers are in the middle of their
  // transfers when the window closes.
  server.server().Get(R"(/slow/\d+\.html)",
                      [&slowAsked](const httplib::Request&, httplib::Response& res) {
                        ++slowAsked;
                        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                        res.set_content("<html>late</html>", "text/html");
                      });
  server.Start();

  rig.NewProjectOf(server.Url("/index.html"));
  CQNDoc& doc = rig.Doc();
  const std::string projectFile = (rig.dir / "slow.qnp").string();
  ASSERT_TRUE(rig.app->Projects().SaveAs(projectFile));
  rig.frame->show();

  rig.frame->UpdateCommands();
  rig.frame->Command(kCmdStartDownload)->trigger();
  QElapsedTimer waited;
  waited.start();
  while (slowAsked == 0 && waited.elapsed() < 30000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_GT(slowAsked.load(), 0) << "the run never reached the slow pages";
  ASSERT_TRUE(doc.run.running);

  // Fires only when the GUI thread handles its events; records what stands meanwhile.
  int ticksWhileWaiting = 0;
  QString waitText;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    auto* window = qobject_cast<QNWaitWindow*>(QApplication::activeModalWidget());
    if (!window) return;
    ++ticksWhileWaiting;
    if (const QLabel* label = window->findChild<QLabel*>()) waitText = label->text();
    // Escape and a second close change nothing while the stop waits.
    window->reject();
    EXPECT_FALSE(rig.app->Projects().Close());
  });
  probe.start();
  QSignalSpy closed(rig.frame.get(), &CQNMainFrame::Closed);
  EXPECT_TRUE(rig.frame->close());
  probe.stop();

  EXPECT_EQ(closed.count(), 1);
  EXPECT_GT(ticksWhileWaiting, 0) << "the GUI thread handled no events while the stop waited";
  EXPECT_EQ(waitText, "Stopping the download, please wait...");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(doc.run.running);
  EXPECT_FALSE(rig.app->Projects().ProjectOpen());

  // The stop saved what the run had found, marked as interrupted.
  ASSERT_TRUE(rig.app->Projects().Open(projectFile, true));
  EXPECT_EQ(rig.app->Session().settings.DownloadState, kInterrupted);
  EXPECT_GE(doc.NodeCount(), 9);
}

}  // namespace
}  // namespace qn::test
