// Transfers that break off, stall or are stopped: a file never takes the name of a
// complete one unless it is complete, an older copy survives a failed fetch, and a
// stop ends a transfer that the server no longer feeds.
#include <gtest/gtest.h>

#include <future>

#include "support/FaultServer.h"
#include "support/TempDir.h"
#include "support/TestServers.h"
#include "web/FetchTestRig.h"
#include "web/LocalFile.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

template <typename Done>
bool WaitFor(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class FetcherFaultsTest : public ::testing::Test {
 protected:
  QNFetchResult Fetch(const std::string& path, bool report = false) {
    CQNFetcher fetcher(rig_.Context());
    EXPECT_TRUE(fetcher.OpenInternet(false));
    return fetcher.FetchToFile(server_.Url(path), Local(), 0, report, "", 0);
  }
  // The same fetch on a thread of its own, for a test that stops it.
  std::future<QNFetchResult> FetchLater(const std::string& path) {
    return std::async(std::launch::async, [this, path] { return Fetch(path); });
  }
  std::string Local() const { return (dir_ / "pic.gif").string(); }

  static FaultyPage Picture(Fault fault, int faultyAnswers = -1) {
    FaultyPage page;
    page.body = "GIF89a" + std::string(200000, 'n');
    page.type = "image/gif";
    page.fault = fault;
    page.faultyAnswers = faultyAnswers;
    return page;
  }

  TempDir dir_;
  FetchRig rig_;
  FaultyHttpServer server_;
};

TEST_F(FetcherFaultsTest, ACutTransferNeverTakesTheNameOfTheFile) {
  const std::string older = "GIF89a an older copy";
  const std::string whole = Picture(Fault::None).body;
  for (const Fault fault : {Fault::Reset, Fault::Short, Fault::BrokenChunks}) {
    const std::string path = "/cut" + std::to_string(static_cast<int>(fault)) + ".gif";
    SCOPED_TRACE(path);
    server_.Serve(path, Picture(fault, 2));
    WriteFile(Local(), older);
    // Neither an early try nor the last one (which logs the error) keeps what came.
    for (const bool report : {false, true}) {
      const QNFetchResult r = Fetch(path, report);
      EXPECT_FALSE(r.ok);
      EXPECT_TRUE(r.retryAdvised);
      EXPECT_FALSE(r.stopped);
      EXPECT_TRUE(ReadFile(Local()) == older);
      EXPECT_FALSE(fs::exists(PartialFilePath(Local())));
    }
    // Once the server sends the whole file, it replaces the older copy.
    EXPECT_TRUE(Fetch(path).ok);
    EXPECT_TRUE(ReadFile(Local()) == whole);
    EXPECT_EQ(server_.Requests(path), 3);
  }
  // Bytes past the announced length belong to no answer: the file is what was announced.
  server_.Serve("/long.gif", Picture(Fault::Long));
  EXPECT_TRUE(Fetch("/long.gif").ok);
  EXPECT_TRUE(ReadFile(Local()) == whole);
}

TEST_F(FetcherFaultsTest, StopAndAbortEndATransferTheServerNoLongerFeeds) {
  // A time-out far longer than the test: only the stop can end these transfers.
  rig_.settings.QN_TIMEOUT = 600;
  server_.Serve("/stall.gif", Picture(Fault::Stall));
  FaultyPage silent = Picture(Fault::None);
  silent.delay = std::chrono::minutes(10);
  server_.Serve("/silent.gif", silent);
  WriteFile(Local(), "older");

  for (const std::string path : {"/stall.gif", "/silent.gif"}) {
    SCOPED_TRACE(path);
    rig_.run.stopRequest = false;
    std::future<QNFetchResult> fetch = FetchLater(path);
    ASSERT_TRUE(WaitFor([&] { return server_.Requests(path) == 1; }));
    rig_.run.stopRequest = true;
    ASSERT_EQ(fetch.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    const QNFetchResult r = fetch.get();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(ReadFile(Local()), "older");
    EXPECT_FALSE(fs::exists(PartialFilePath(Local())));
  }

  // "Abort File Download" fails the file without stopping anything else.
  rig_.run.stopRequest = false;
  std::future<QNFetchResult> fetch = FetchLater("/stall.gif");
  ASSERT_TRUE(WaitFor([&] { return server_.Requests("/stall.gif") == 2; }));
  rig_.run.AbortFile(0);
  ASSERT_EQ(fetch.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  const QNFetchResult r = fetch.get();
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.stopped);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_EQ(ReadFile(Local()), "older");
  EXPECT_TRUE(rig_.log.Lines().empty());
}

TEST_F(FetcherFaultsTest, RedirectionsAreFollowedOnlyWhereTheContextAllows) {
  // The library would follow these itself; each target is asked about first.
  FaultyHttpServer elsewhere;
  elsewhere.Serve("/x.gif", Picture(Fault::None));
  HttpTestServer redirector;
  httplib::Server& routes = redirector.server();
  routes.Get("/away.gif", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(elsewhere.Url("/x.gif"));
  });
  routes.Get("/near.gif", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/real.gif");
  });
  routes.Get("/real.gif", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content("GIF89a real", "image/gif");
  });
  redirector.Start();
  const std::string base = redirector.Url("");

  std::vector<std::string> asked;
  QNFetchContext context = rig_.Context();
  context.redirectAllowed = [&](const std::string& target) {
    asked.push_back(target);
    return target.find(base) == 0;
  };
  CQNFetcher fetcher(context);
  ASSERT_TRUE(fetcher.OpenInternet(false));

  QNFetchResult r = fetcher.FetchToFile(base + "/away.gif", Local(), 0, false, "", 0);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_FALSE(fs::exists(Local()));
  EXPECT_EQ(elsewhere.Requests("/x.gif"), 0);
  EXPECT_EQ(rig_.log.Lines(),
            std::vector<std::string>{" Redirection to '" + elsewhere.Url("/x.gif") +
                                     "' is outside the project - '" + base + "/away.gif'"});

  r = fetcher.FetchToFile(base + "/near.gif", Local(), 0, false, "", 0);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(Local()), "GIF89a real");
  EXPECT_EQ(asked, (std::vector<std::string>{elsewhere.Url("/x.gif"), base + "/real.gif"}));
}

}  // namespace
}  // namespace qn::test
