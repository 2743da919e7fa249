// A run whose texts come from a language table.
#include "engine/RunRig.h"
#include "text/MessageIds.h"

namespace qn::test {
namespace {

// The translator swapped, added and dropped placeholders: the run writes those lines
// as they stand instead of reading values that were never given, and ends normally.
TEST(TranslatedRun, TextsWhosePlaceholdersDoNotFitAreLoggedAsWritten) {
  RunRig rig;
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<a href=\"gone.html\">gone</a>", "text/html");
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.texts.Install(std::make_shared<const QNTextTable>(
      std::unordered_map<int, std::string>{{kMsgDownloadStarted, "Start %d"},
                                           {kMsgHttpError, " '%s' - (HTTP %d)"},
                                           {kMsgDownloadCompleted, "Fertig (%s) %s"},
                                           {kMsgSummary, "Dateien: %s, Gesamt: %d"},
                                           {kMsgStarting, "Beginne..."},
                                           {kMsgCompleted, "Fertig..."}}));

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_EQ(rig.LogText(),
            "Start %d\r\n\r\n"
            " '%s' - (HTTP %d)\r\n"
            "\r\nFertig (%s) %s\r\n"
            "\r\nDateien: %s, Gesamt: %d\r\n");
  EXPECT_EQ(rig.NodesIn(kStateFailed), (std::set<std::string>{server.Url("/gone.html")}));
  const std::vector<std::string> status = rig.observer.StatusTexts();
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front(), "Beginne...");
  EXPECT_EQ(status.back(), "Fertig...");
}

}  // namespace
}  // namespace qn::test
