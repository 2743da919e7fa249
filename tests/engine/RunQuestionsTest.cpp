// Questions of a run wait for a person without holding up a forced stop.
#include "engine/RunGate.h"
#include "engine/RunRig.h"
#include "text/MessageIds.h"

namespace qn::test {
namespace {

void ServeOnePage(HttpTestServer& server) {
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<p>one page</p>", "text/html");
  });
  server.Start();
}

// As in the desktop program, a run's question is shown on another thread (here the
// test's) and waited for; the user stops the run by force there while it is open.
TEST(RunQuestions, AForcedStopWhileAQuestionWaitsEndsTheRunInTime) {
  RunRig rig;
  HttpTestServer server;
  ServeOnePage(server);
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  std::atomic<int> conversions{0};
  QNRunEnvironment env = rig.Environment();
  env.convertAfter = true;
  env.hooks.convertLinks = [&] { ++conversions; };
  env.forcedStopWait = std::chrono::seconds(5);
  rig.SetEnvironment(env);
  rig.observer.handOff = true;

  // The countdown before the conversion.
  ASSERT_TRUE(rig.doc.StartDownload());
  EXPECT_EQ(rig.observer.WaitForQuestion(std::chrono::seconds(30)),
            "Converting Links in %d seconds");
  EXPECT_TRUE(rig.doc.ForcedStop());  // the run ended within the limit
  EXPECT_FALSE(rig.doc.LeftBehindThreadsRunning());
  EXPECT_EQ(conversions, 0);
  ASSERT_TRUE(rig.doc.LastRunEnd());
  EXPECT_TRUE(rig.doc.LastRunEnd()->aborted);
  EXPECT_EQ(rig.DownloadState(), kInterrupted);

  // The question whether to initialise the tree, at the start of a run.
  rig.settings.QN_TR_INIT = 1;
  rig.settings.DownloadState = kPreviewCompleted;
  env.unattended = false;
  rig.SetEnvironment(env);
  rig.observer.kindAnswer = kKindNew;
  ASSERT_TRUE(rig.doc.StartDownload());
  EXPECT_EQ(rig.observer.WaitForQuestion(std::chrono::seconds(30)),
            "Do you want to initialize the Contents Tree?");
  EXPECT_TRUE(rig.doc.ForcedStop());
  EXPECT_FALSE(rig.doc.LeftBehindThreadsRunning());
  ASSERT_TRUE(rig.doc.LastRunEnd());
  EXPECT_TRUE(rig.doc.LastRunEnd()->aborted);

  // Answered, the same questions let the run go on.
  rig.settings.DownloadState = kPreviewCompleted;
  ASSERT_TRUE(rig.doc.StartDownload());
  EXPECT_EQ(rig.observer.WaitForQuestion(std::chrono::seconds(30)),
            "Do you want to initialize the Contents Tree?");
  rig.observer.Answer(true);
  EXPECT_EQ(rig.observer.WaitForQuestion(std::chrono::seconds(30)),
            "Converting Links in %d seconds");
  rig.observer.Answer(true);
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(30)));
  EXPECT_EQ(conversions, 1);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

TEST(RunQuestionsDeathTest, AQuestionAskedWithAPassHeldIsCaughtInADebugBuild) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  IQNObserver observer;
  QNRunGate gate;
  EXPECT_DEBUG_DEATH(
      {
        QNRunPass pass(gate);
        observer.Countdown("Converting Links in %d seconds", 5);
      },
      "RunPassesHeld");
  EXPECT_TRUE(observer.AskYesNo(kMsgInitTree, "", true));
  EXPECT_EQ(RunPassesHeld(), 0);
}

}  // namespace
}  // namespace qn::test
