// Runs against servers and pages that try the program: a continued run whose project
// recorded nothing yet, local files named by a web page, redirections out of the
// project, stalls and trickles against Stop and the time limit, storms of busy
// answers, and a login whose password must not be shown.
#include "engine/RunRig.h"
#include "support/FaultServer.h"
#include "web/Address.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

FaultyPage Page(std::string body, std::string type = "text/html") {
  FaultyPage page;
  page.body = std::move(body);
  page.type = std::move(type);
  return page;
}

TEST(RunSafety, AContinuedRunWhoseProjectRecordedNothingStartsFromTheStartAddress) {
  RunRig rig;
  FaultyHttpServer server;
  server.Serve("/index.html", Page("<a href=\"a.html\">a</a><img src=\"p.gif\">"));
  server.Serve("/a.html", Page("<html>a</html>"));
  server.Serve("/p.gif", Page("GIF89a", "image/gif"));
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  // What a run killed right after its first save leaves: "running", an empty tree.
  rig.settings.DownloadState = kRunning;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.doc.DownloadKind(), kKindContinue);
  EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "a.html", "p.gif"}));
  EXPECT_EQ(rig.NodesIn(kStateDone).size(), 3u);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

TEST(RunSafety, LocalFilesAreCopiedOnlyInARunThatStartsFromOne) {
  RunRig rig;
  const fs::path local = rig.dir / "home";
  WriteFile(local / "secret.txt", "not for the web");
  WriteFile(local / "start.htm", "<a href=\"secret.txt\">s</a>");
  const std::string secret = "file://" + (local / "secret.txt").string();
  FaultyHttpServer server;
  server.Serve("/index.html", Page("<a href=\"" + secret + "\">s</a><a href=\"a.html\">a</a>"));
  server.Serve("/a.html", Page("<html>a</html>"));
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_OFFSITE = 1;

  ASSERT_TRUE(rig.Download());
  EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "a.html"}));
  EXPECT_FALSE(rig.NodesIn(kStateDone).count(secret));

  // Started from a local page, the run copies the local files it links.
  rig.settings.QN_START_URL[0] = "file://" + (local / "start.htm").string();
  rig.settings.QN_PROJECT_DIR = (rig.dir / "local").string() + "/";
  rig.doc.CreateRoot();
  ASSERT_TRUE(rig.Download());
  EXPECT_EQ(ReadFile(rig.dir / "local" / "secret.txt"), "not for the web");
}

TEST(RunSafety, RedirectionsPassTheFiltersALinkPasses) {
  RunRig rig;
  FaultyHttpServer elsewhere;
  elsewhere.Serve("/x.gif", Page("GIF89a elsewhere", "image/gif"));
  RequestCounter requests;
  HttpTestServer server;
  server.server().Get("/index.html", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    res.set_content("<img src=\"away.gif\"><img src=\"near.gif\"><img src=\"hidden.gif\">",
                    "text/html");
  });
  server.server().Get("/away.gif", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(elsewhere.Url("/x.gif"));
  });
  server.server().Get("/near.gif", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/img/real.gif");
  });
  server.server().Get("/hidden.gif", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/private/y.gif");
  });
  server.server().Get(R"(/(img|private)/.*)",
                      [&](const httplib::Request& req, httplib::Response& res) {
                        requests.Count(req.path);
                        res.set_content("GIF89a " + req.path, "image/gif");
                      });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  // Another server is outside the project, and so is the private folder.
  rig.settings.QN_OFFSITE = 0;
  rig.settings.QN_URL_FILTER.push_back(CQNUrlFilter{0, 15, "", "private", ""});

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "near.gif"}));
  EXPECT_EQ(ReadFile(rig.Site() / "near.gif"), "GIF89a /img/real.gif");
  EXPECT_EQ(elsewhere.Requests("/x.gif"), 0);
  EXPECT_EQ(requests.Of("/private/y.gif"), 0);
  const std::string log = rig.LogText();
  EXPECT_NE(log.find(" Redirection to '" + elsewhere.Url("/x.gif") +
                     "' is outside the project - '" + server.Url("/away.gif") + "'"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" Redirection to '" + server.Url("/private/y.gif") + "'"), std::string::npos)
      << log;
  EXPECT_EQ(rig.NodesIn(kStateFailed),
            (std::set<std::string>{server.Url("/away.gif"), server.Url("/hidden.gif")}));
}

TEST(RunSafety, StopAndTheTimeLimitEndTransfersThatCrawl) {
  RunRig rig;
  FaultyHttpServer server;
  FaultyPage stall = Page("GIF89a" + std::string(100000, 's'), "image/gif");
  stall.fault = Fault::Stall;
  server.Serve("/stall.gif", stall);
  FaultyPage trickle = Page("GIF89a" + std::string(100000, 't'), "image/gif");
  trickle.fault = Fault::Trickle;
  trickle.interval = std::chrono::milliseconds(20);
  server.Serve("/trickle.gif", trickle);
  rig.settings.QN_TIMEOUT = 600;

  // Stop: the stalled file goes back to be fetched by the next run.
  rig.settings.QN_START_URL[0] = server.Url("/stall.gif");
  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return server.Requests("/stall.gif") == 1; }));
  rig.doc.Stop();
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(20)));
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
  EXPECT_TRUE(rig.Files().empty());

  // The time limit: the run started long enough ago as soon as the trickle flows.
  rig.settings.QN_START_URL[0] = server.Url("/trickle.gif");
  rig.settings.QN_LIM_TIME = 1;
  rig.settings.QN_MAX_TIME = 1;
  rig.doc.CreateRoot();
  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return server.Requests("/trickle.gif") == 1; }));
  rig.doc.run.startTime = rig.doc.run.startTime - 120;
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(20)));
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
  EXPECT_NE(rig.LogText().find(" - Total Time exceeded the limit"), std::string::npos);
  EXPECT_TRUE(rig.Files().empty());
  EXPECT_EQ(server.WholeAnswers("/trickle.gif"), 0);
}

TEST(RunSafety, StormsOfBusyAnswersPassWithTheRetries) {
  RunRig rig;
  FaultyHttpServer server;
  server.Serve("/index.html", Page("<img src=\"busy.gif\"><img src=\"down.gif\">"));
  FaultyPage busy = Page("GIF89a busy", "image/gif");
  busy.fault = Fault::Status;
  busy.status = 429;
  busy.faultyAnswers = 3;
  server.Serve("/busy.gif", busy);
  FaultyPage down = busy;
  down.status = 503;
  down.faultyAnswers = -1;
  server.Serve("/down.gif", down);
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_RETRIES = 4;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(ReadFile(rig.Site() / "busy.gif"), "GIF89a busy");
  EXPECT_EQ(server.Requests("/busy.gif"), 4);
  EXPECT_EQ(server.Requests("/down.gif"), 5);
  EXPECT_TRUE(rig.NodesIn(kStateFailed).count(server.Url("/down.gif")));
  EXPECT_FALSE(fs::exists(rig.Site() / "down.gif"));
}

TEST(RunSafety, TheLoginPasswordIsShownNowhere) {
  RunRig rig;
  constexpr const char* kPassword = "s3cret-pw";
  FaultyHttpServer server;
  // The login's answer is missing, so the log names the address it was sent to.
  server.Serve("/index.html",
               Page("<form method=post action=\"login.asp\"><input name=user type=text>"
                    "<input name=pass type=password></form>"));
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_USER_ID = "ann";
  rig.settings.QN_PASSWORD = kPassword;
  rig.settings.SubmitLoginForms = 1;

  ASSERT_TRUE(rig.Download());

  const std::string log = rig.LogText();
  EXPECT_NE(log.find("login.asp?qnlogin.user=ann&pass=*****"), std::string::npos) << log;
  EXPECT_EQ(log.find(kPassword), std::string::npos) << log;
  EXPECT_EQ(rig.observer.AllTexts().find(kPassword), std::string::npos);
  EXPECT_NE(rig.observer.AllTexts().find("login.asp?qnlogin."), std::string::npos);
  for (const CQNDocNode* node = rig.doc.Tree().root->firstChild; node; node = node->nextSibling)
    for (const CQNDocNode* child = node->firstChild; child; child = child->nextSibling)
      EXPECT_EQ(child->title.find(kPassword), std::string::npos) << child->title;
  // The server itself gets the password.
  EXPECT_EQ(server.Requests("/login.asp"), 1);
}

}  // namespace
}  // namespace qn::test
