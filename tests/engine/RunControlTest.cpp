// Stop and continue, pause, the download kinds, the forced stop, the number of
// workers changed during a run, and failures of the run itself.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <system_error>

#include "engine/RunRig.h"

namespace qn::test {
namespace {

void ServeSlowGifs(HttpTestServer& server, RequestCounter& requests, int delayMs,
                   std::atomic<int>* inFlight = nullptr, std::atomic<int>* peak = nullptr) {
  server.server().Get(R"(/(\d+)\.gif)",
                      [=, &requests](const httplib::Request& req, httplib::Response& res) {
                        requests.Count(req.path);
                        if (inFlight) {
                          const int now = ++*inFlight;
                          int seen = peak->load();
                          while (now > seen && !peak->compare_exchange_weak(seen, now)) {
                          }
                        }
                        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                        if (inFlight) --*inFlight;
                        res.set_content("GIF89a" + req.path, "image/gif");
                      });
}

std::set<std::string> Paths(const std::map<std::string, int>& counts) {
  std::set<std::string> paths;
  for (const auto& [path, n] : counts) paths.insert(path);
  return paths;
}

std::string PathOf(const std::string& url) {
  return url.substr(url.find('/', std::string("http://").size()));
}

TEST(RunControl, AStoppedRunIsContinuedWithExactlyWhatWasLeft) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 20);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-120}.gif");
  rig.settings.QN_THREADS = 4;

  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return rig.doc.Counters().files >= 25; }));
  rig.doc.Stop();
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(30)));

  EXPECT_EQ(rig.DownloadState(), kInterrupted);
  EXPECT_TRUE(rig.doc.run.stoppedByUser);
  const std::vector<std::string> texts = rig.observer.StatusTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Stopping..."), texts.end());
  EXPECT_EQ(texts.back(), "Stopped");
  const std::set<std::string> done = rig.NodesIn(kStateDone);
  ASSERT_LT(done.size(), 120u);
  std::set<std::string> left;
  for (int n = 1; n <= 120; ++n)
    if (!done.count(server.Url("/" + std::to_string(n) + ".gif")))
      left.insert("/" + std::to_string(n) + ".gif");

  requests.Clear();
  ASSERT_TRUE(rig.Download());  // unattended: continues

  EXPECT_EQ(rig.doc.DownloadKind(), kKindContinue);
  EXPECT_EQ(Paths(requests.All()), left);
  EXPECT_EQ(requests.Total(), static_cast<int>(left.size()));
  EXPECT_EQ(rig.NodesIn(kStateDone).size(), 120u);
  EXPECT_EQ(rig.Files().size(), 120u);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_EQ(LogLines(rig.LogText()).front(), "Download is Started");
}

TEST(RunControl, PauseHoldsTheWorkersUntilResumed) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 10);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-60}.gif");
  rig.settings.QN_THREADS = 2;

  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return requests.Total() >= 5; }));
  rig.doc.Pause();
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const int held = requests.Total();
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  EXPECT_EQ(requests.Total(), held);
  EXPECT_TRUE(rig.doc.run.running);
  ASSERT_TRUE(rig.doc.StartDownload());  // Start while paused resumes
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));

  EXPECT_EQ(requests.Total(), 60);
  const std::vector<std::string> texts = rig.observer.StatusTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Paused..."), texts.end());
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

// A site of one page and three images; `failing` answers 404 until `healed` is set.
struct SmallSite {
  SmallSite() {
    server.server().Get("/index.html", [this](const httplib::Request& req, httplib::Response& res) {
      requests.Count(req.path);
      res.set_content("<img src=\"a.gif\"><img src=\"b.gif\"><img src=\"c.gif\">", "text/html");
    });
    server.server().Get(R"(/(\w)\.gif)",
                        [this](const httplib::Request& req, httplib::Response& res) {
                          requests.Count(req.path);
                          if (req.path == "/b.gif" && !healed) {
                            res.status = 404;
                            return;
                          }
                          res.set_content("GIF89a", "image/gif");
                        });
    server.Start();
  }
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  std::atomic<bool> healed{false};
};

TEST(RunControl, KindEightFetchesOnlyTheAddressesThatFailedBefore) {
  RunRig rig;
  SmallSite site;
  rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
  ASSERT_TRUE(rig.Download());
  ASSERT_EQ(rig.NodesIn(kStateFailed), (std::set<std::string>{site.server.Url("/b.gif")}));

  site.healed = true;
  site.requests.Clear();
  QNRunEnvironment env = rig.Environment();
  env.unattended = false;
  rig.SetEnvironment(env);
  rig.observer.kindAnswer = kKindFailed;
  ASSERT_TRUE(rig.Download());

  ASSERT_EQ(rig.observer.offers.size(), 1u);
  EXPECT_TRUE(rig.observer.offers[0].offerFailed);
  EXPECT_FALSE(rig.observer.offers[0].offerSelected);
  EXPECT_EQ(site.requests.All(), (std::map<std::string, int>{{"/b.gif", 1}}));
  EXPECT_TRUE(rig.NodesIn(kStateFailed).empty());
  EXPECT_EQ(rig.NodesIn(kStateDone).size(), 4u);
}

TEST(RunControl, KindFourFetchesOnlyTheSelectedAddresses) {
  RunRig rig;
  SmallSite site;
  site.healed = true;
  rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
  ASSERT_TRUE(rig.Download());
  ASSERT_EQ(rig.NodesIn(kStateDone).size(), 4u);

  const CQNDocNode* page = rig.doc.Tree().root->firstChild;
  ASSERT_NE(page, nullptr);
  std::vector<CQNDocNode*> chosen;
  for (CQNDocNode* image = page->firstChild; image; image = image->nextSibling)
    if (image->url != site.server.Url("/b.gif")) chosen.push_back(image);
  ASSERT_EQ(chosen.size(), 2u);
  for (CQNDocNode* node : chosen) node->mark = kMarkSelected;

  site.requests.Clear();
  QNRunEnvironment env = rig.Environment();
  env.unattended = false;
  rig.SetEnvironment(env);
  ASSERT_TRUE(rig.Download());  // the dialog preselects the selected files

  ASSERT_EQ(rig.observer.offers.size(), 1u);
  EXPECT_EQ(rig.observer.offers[0].preselected, kKindSelected);
  EXPECT_EQ(rig.doc.DownloadKind(), kKindSelected);
  std::set<std::string> expected;
  for (CQNDocNode* node : chosen) {
    expected.insert(PathOf(node->url));
    EXPECT_EQ(node->mark, kMarkNone);
  }
  EXPECT_EQ(Paths(site.requests.All()), expected);
  EXPECT_EQ(site.requests.Total(), 2);
}

TEST(RunControl, ABranchRunKeepsTheRestOfTheTreeEvenWhenTheTreeIsToBeInitialised) {
  RunRig rig;
  SmallSite site;
  site.healed = true;
  rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
  ASSERT_TRUE(rig.Download());
  const std::set<std::string> all = rig.NodesIn(kStateDone);
  ASSERT_EQ(all.size(), 4u);

  CQNDocNode* a = rig.doc.FindNodeByUrl(site.server.Url("/a.gif"), false);
  ASSERT_NE(a, nullptr);
  rig.settings.QN_TR_INIT = 1;
  site.requests.Clear();
  ASSERT_TRUE(rig.doc.StartBranch(a));
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));

  EXPECT_EQ(Paths(site.requests.All()), (std::set<std::string>{"/a.gif"}));
  EXPECT_EQ(rig.NodesIn(kStateDone), all);
  EXPECT_EQ(rig.doc.FindNodeByUrl(site.server.Url("/a.gif"), false), a);
}

// Stop ends every transfer at once; a thread can still be held where no stop reaches
// it, here in the system, opening a named pipe that nobody writes to.
TEST(RunControl, AForcedStopGivesUpOnAThreadThatCannotStopAndTheNextRunWorks) {
  RunRig rig;
  const std::filesystem::path pipe = rig.dir / "pipe.htm";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  rig.settings.QN_START_URL[0] = "file://" + pipe.string();
  rig.settings.QN_THREADS = 2;
  QNRunEnvironment env = rig.Environment();
  env.forcedStopWait = std::chrono::seconds(2);
  rig.SetEnvironment(env);

  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<std::string> texts = rig.observer.StatusTexts();
    return std::find(texts.begin(), texts.end(), "Downloading...") != texts.end();
  }));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const int savesBefore = rig.saves;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(rig.doc.ForcedStop());  // the worker in the request was given up on
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::seconds(2));
  EXPECT_LT(took, std::chrono::seconds(12));
  EXPECT_FALSE(rig.doc.run.running);
  EXPECT_TRUE(rig.doc.LeftBehindThreadsRunning());
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
  EXPECT_EQ(rig.saves, savesBefore + 1);
  EXPECT_EQ(rig.observer.ended, 1);
  EXPECT_EQ(rig.observer.waits,
            (std::vector<std::string>{"+Stopping the download, please wait...",
                                      "-Stopping the download, please wait..."}));
  EXPECT_TRUE(rig.doc.WaitForRunEnd(std::chrono::milliseconds(0)));

  SmallSite site;
  site.healed = true;
  rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
  rig.settings.QN_TIMEOUT = 10;
  env.unattended = false;
  rig.SetEnvironment(env);
  rig.observer.kindAnswer = kKindNew;
  ASSERT_TRUE(rig.Download());
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "a.gif", "b.gif", "c.gif"}));

  // The thread left behind ends once the pipe opens, without touching the document:
  // the tree holds only what the second run made.
  ::close(::open(pipe.c_str(), O_WRONLY));
  EXPECT_TRUE(WaitUntil([&] { return !rig.doc.LeftBehindThreadsRunning(); }));
  EXPECT_EQ(rig.doc.Tree().count, 4);
}

TEST(RunControl, AForcedStopOfARunThatEndsInTimeWaitsForIt) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeSlowGifs(server, requests, 50);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-100}.gif");
  rig.settings.QN_THREADS = 3;

  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return rig.doc.Counters().files >= 3; }));
  EXPECT_TRUE(rig.doc.ForcedStop());
  EXPECT_FALSE(rig.doc.LeftBehindThreadsRunning());
  EXPECT_EQ(rig.DownloadState(), kInterrupted);
  // A forced stop writes no closing line, only the summary.
  const std::vector<std::string> lines = LogLines(rig.LogText());
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.rfind("Download is", 0) == 0; }),
            1);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Summary:"), lines.end());
}

TEST(RunControl, LoweringAndRaisingTheThreadsTakesEffectDuringTheRun) {
  RunRig rig;
  RequestCounter requests;  // these outlive the server's handlers
  std::atomic<int> inFlight{0};
  std::atomic<int> peak{0};
  HttpTestServer server;
  ServeSlowGifs(server, requests, 40, &inFlight, &peak);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-400}.gif");
  rig.settings.QN_THREADS = 8;

  ASSERT_TRUE(rig.doc.StartDownload());
  ASSERT_TRUE(WaitUntil([&] { return peak >= 5; }));

  CQNSettings changed = rig.doc.SettingsCopy();
  changed.QN_THREADS = 2;
  rig.doc.ApplyChangedSettings(changed);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  peak = 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_LE(peak, 2);

  changed.QN_THREADS = 6;
  rig.doc.ApplyChangedSettings(changed);
  EXPECT_TRUE(WaitUntil([&] { return peak >= 4; }, std::chrono::seconds(20)));

  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));
  EXPECT_EQ(requests.All().size(), 400u);
  EXPECT_EQ(requests.Total(), 400);
}

TEST(RunControl, ARunWhoseFolderCannotBeMadeDoesNotStart) {
  RunRig rig;
  WriteFile(rig.dir / "file", "x");
  rig.settings.QN_PROJECT_DIR = (rig.dir / "file" / "site").string() + "/";
  rig.settings.QN_START_URL[0] = "http://127.0.0.1:9/";
  rig.settings.DownloadState = kDownloadCompleted;

  ASSERT_TRUE(rig.Download());

  EXPECT_FALSE(rig.doc.LastRunStarted());
  EXPECT_FALSE(rig.doc.run.running);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_EQ(rig.observer.StatusTexts().back(), "Stopped");
  EXPECT_FALSE(std::filesystem::exists(rig.dir / "run.log"));
}

TEST(RunControl, AnExceptionInTheControllerIsLoggedAndTheNextRunStarts) {
  RunRig rig;
  SmallSite site;
  site.healed = true;
  rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
  QNRunEnvironment env = rig.Environment();
  env.hooks.reportHeader = [] { throw std::system_error(EIO, std::generic_category()); };
  rig.SetEnvironment(env);

  ASSERT_TRUE(rig.Download());
  EXPECT_FALSE(rig.doc.run.running);
  const std::vector<std::string> lines = LogLines(rig.LogText());
  EXPECT_NE(std::find(lines.begin(), lines.end(), " Internal Error (Code 5)"), lines.end());

  env.hooks.reportHeader = nullptr;
  rig.SetEnvironment(env);
  rig.settings.DownloadState = kNeverRun;
  ASSERT_TRUE(rig.Download());
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_EQ(rig.Files().size(), 4u);
}

TEST(RunControl, AnExceptionInAWorkerEndsOnlyThatWorker) {
  RunRig rig;
  SmallSite site;
  site.healed = true;
  rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
  rig.settings.QN_REPORT = 1;
  rig.settings.QN_THREADS = 3;
  std::atomic<int> rows{0};
  QNRunEnvironment env = rig.Environment();
  env.hooks.reportRow = [&](const QNReportEntry& row) {
    if (++rows == 2) throw std::runtime_error("report");
    EXPECT_FALSE(row.error);
  };
  rig.SetEnvironment(env);

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rows, 4);
  const std::vector<std::string> lines = LogLines(rig.LogText());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), " Internal Error (Code 0)"), 1);
  EXPECT_EQ(rig.Files().size(), 4u);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

TEST(DownloadKind, UnattendedRunsContinueWhatDidNotEnd) {
  EXPECT_EQ(UnattendedDownloadKind(kInterrupted), kKindContinue);
  EXPECT_EQ(UnattendedDownloadKind(kRunning), kKindContinue);
  EXPECT_EQ(UnattendedDownloadKind(kNeverRun), kKindNew);
  EXPECT_EQ(UnattendedDownloadKind(kDownloadCompleted), kKindNew);
  EXPECT_EQ(UnattendedDownloadKind(kPreviewCompleted), kKindNew);
}

TEST(DownloadKind, TheDialogOffersWhatTheTreeAllowsAndPreselectsTheNarrowest) {
  QNStartModeStats none;
  EXPECT_FALSE(OfferDownloadKinds(kDownloadCompleted, none).ask);

  const QNDownloadKindOffer crashed = OfferDownloadKinds(kRunning, none);
  EXPECT_TRUE(crashed.ask);
  EXPECT_TRUE(crashed.offerContinue);
  EXPECT_FALSE(crashed.offerSelected);
  EXPECT_FALSE(crashed.offerFailed);
  EXPECT_EQ(crashed.preselected, kKindContinue);

  QNStartModeStats failed;
  failed.failed = 3;
  const QNDownloadKindOffer retry = OfferDownloadKinds(kDownloadCompleted, failed);
  EXPECT_TRUE(retry.ask);
  EXPECT_FALSE(retry.offerContinue);
  EXPECT_TRUE(retry.offerFailed);
  EXPECT_EQ(retry.preselected, kKindNew);

  QNStartModeStats open;
  open.anyOpen = true;
  open.marked = 1;
  const QNDownloadKindOffer both = OfferDownloadKinds(kNeverRun, open);
  EXPECT_TRUE(both.offerContinue);
  EXPECT_TRUE(both.offerSelected);
  EXPECT_EQ(both.preselected, kKindSelected);
}

}  // namespace
}  // namespace qn::test
