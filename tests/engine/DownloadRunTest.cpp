// Whole download runs against local servers: many workers over range patterns, the
// log of a normal run, retries, previews and the scan of fetched pages.
#include <regex>

#include "engine/RunRig.h"
#include "text/SizeText.h"

namespace qn::test {
namespace {

std::string Gif(int n) {
  return "GIF89a" + std::string(static_cast<std::size_t>(10 + n % 7), 'x');
}

// Serves /N.gif for every N and counts the requests.
void ServeGifs(HttpTestServer& server, RequestCounter& counter) {
  server.server().Get(R"(/(\d+)\.gif)",
                      [&counter](const httplib::Request& req, httplib::Response& res) {
                        counter.Count(req.path);
                        res.set_content(Gif(std::stoi(req.matches[1])), "image/gif");
                      });
}

TEST(DownloadRun, ManyWorkersFetchEveryAddressOfARangePatternOnce) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeGifs(server, requests);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-300}.gif");
  rig.settings.QN_THREADS = 12;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  const auto counts = requests.All();
  EXPECT_EQ(counts.size(), 300u);
  for (const auto& [path, n] : counts) EXPECT_EQ(n, 1) << path;
  const std::set<std::string> files = rig.Files();
  EXPECT_EQ(files.size(), 300u);
  for (int n : {1, 150, 300}) {
    const std::string name = std::to_string(n) + ".gif";
    ASSERT_TRUE(files.count(name)) << name;
    EXPECT_EQ(ReadFile(rig.Site() / name), Gif(n));
  }
  EXPECT_EQ(rig.NodesIn(kStateDone).size(), 300u);
  EXPECT_EQ(rig.doc.Counters().files, 300);
  EXPECT_EQ(rig.observer.started, 1);
  EXPECT_EQ(rig.observer.ended, 1);
  EXPECT_FALSE(rig.doc.run.running);
}

TEST(DownloadRun, LogOfANormalRunHoldsItsLinesInOrder) {
  RunRig rig;
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<a href=\"a.html\">a</a><a href=\"gone.html\">g</a><img src=\"p.gif\">",
                    "text/html");
  });
  server.server().Get("/a.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<img src=\"p.gif\"><a href=\"index.html\">i</a>", "text/html");
  });
  server.server().Get("/p.gif", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(2048, 'g'), "image/gif");
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");

  ASSERT_TRUE(rig.Download());

  const std::string text = rig.LogText();
  EXPECT_EQ(
      LogLines(text),
      (std::vector<std::string>{
          "Download is Started", "", " Error (HTTP code 404) - '" + server.Url("/gone.html") + "'",
          "", "Download is Completed", "", "Summary:",
          " Number of Files: 3        Total Size: " +
              FormatSizeText(QNTexts(), static_cast<std::uint32_t>(
                                            2048 + ReadFile(rig.Site() / "index.html").size() +
                                            ReadFile(rig.Site() / "a.html").size())),
          ""}));
  EXPECT_TRUE(std::regex_search(text, std::regex(R"(^Download is Started \(\d+:\d\d)")));
  EXPECT_EQ(rig.NodesIn(kStateFailed), (std::set<std::string>{server.Url("/gone.html")}));
  EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "a.html", "p.gif"}));
  // The page got its title from its file name; the links went below it.
  const CQNDocNode* start = rig.doc.Tree().root->firstChild;
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->url, server.Url("/index.html"));
  EXPECT_EQ(start->level, 0);
  ASSERT_NE(start->firstChild, nullptr);
  EXPECT_EQ(start->firstChild->level, 1);
  const std::vector<std::string> status = rig.observer.StatusTexts();
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front(), "Starting...");
  EXPECT_EQ(status.back(), "Completed...");
}

TEST(DownloadRun, RetriesUntilTheServerAnswersAndLogsOnlyTheLastFailure) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  server.server().Get("/index.html", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    res.set_content("<img src=\"flaky.gif\"><img src=\"broken.gif\">", "text/html");
  });
  server.server().Get("/flaky.gif", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    if (requests.Of(req.path) <= 3) {
      res.status = 500;
      return;
    }
    res.set_content("GIF89a-flaky", "image/gif");
  });
  server.server().Get("/broken.gif", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    res.status = 503;
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_RETRIES = 5;
  rig.settings.QN_THREADS = 3;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(requests.Of("/flaky.gif"), 4);
  EXPECT_EQ(ReadFile(rig.Site() / "flaky.gif"), "GIF89a-flaky");
  EXPECT_EQ(requests.Of("/broken.gif"), 6);  // tries 0 to 5
  EXPECT_EQ(rig.NodesIn(kStateFailed), (std::set<std::string>{server.Url("/broken.gif")}));
  const std::vector<std::string> lines = LogLines(rig.LogText());
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       " Error (HTTP code 503) - '" + server.Url("/broken.gif") + "'"),
            1);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) {
                            return l.find("(HTTP code 500)") != std::string::npos;
                          }),
            0);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

TEST(DownloadRun, AFolderThatKeepsFailingIsTriedWithoutItsFinalSeparator) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<a href=\"dir/\">d</a>", "text/html");
  });
  for (const char* path : {"/dir/", "/dir"})
    server.server().Get(path, [&](const httplib::Request& req, httplib::Response& res) {
      requests.Count(req.path);
      res.status = 502;
    });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_RETRIES = 4;

  ASSERT_TRUE(rig.Download());

  // Asked once what the address is, then tried three times.
  EXPECT_EQ(requests.Of("/dir/"), 1 + 3);
  EXPECT_EQ(requests.Of("/dir"), 2);
  EXPECT_EQ(rig.NodesIn(kStateFailed), (std::set<std::string>{server.Url("/dir")}));
}

TEST(DownloadRun, APreviewScansPagesAndKeepsNoFile) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  server.server().Get("/index.html", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    res.set_content("<a href=\"sub/page.html\">p</a><img src=\"big.gif\">", "text/html");
  });
  server.server().Get("/sub/page.html", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    res.set_content("<img src=\"../other.gif\">", "text/html");
  });
  for (const char* path : {"/big.gif", "/other.gif"})
    server.server().Get(path, [&](const httplib::Request& req, httplib::Response& res) {
      requests.Count(req.path);
      res.set_content(std::string(50000, 'i'), "image/gif");
    });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");

  ASSERT_TRUE(rig.doc.StartPreview());
  ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));

  EXPECT_EQ(rig.DownloadState(), kPreviewCompleted);
  EXPECT_EQ(rig.Files(), (std::set<std::string>{}));
  // Pages are visited and scanned; without detailed scanning nothing else is asked for.
  EXPECT_EQ(rig.NodesIn(kStateTaken),
            (std::set<std::string>{server.Url("/index.html"), server.Url("/sub/page.html")}));
  EXPECT_EQ(rig.NodesIn(kStatePending),
            (std::set<std::string>{server.Url("/big.gif"), server.Url("/other.gif")}));
  EXPECT_TRUE(rig.NodesIn(kStateDone).empty());
  EXPECT_EQ(requests.Of("/sub/page.html"), 1);
  EXPECT_EQ(requests.Of("/big.gif") + requests.Of("/other.gif"), 0);
  EXPECT_EQ(rig.doc.Counters().files, 2);
  const std::vector<std::string> lines = LogLines(rig.LogText());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Preview is Started");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Preview is Completed"), lines.end());
  EXPECT_FALSE(rig.doc.FilterScope().preview);
}

TEST(DownloadRun, APageOverTheHtmlSizeLimitIsScannedAndThenDeleted) {
  RunRig rig;
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<img src=\"kept.gif\">" + std::string(4000, ' '), "text/html");
  });
  server.server().Get("/kept.gif", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("GIF89a", "image/gif");
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_LIM_MAXFS = 1;
  rig.settings.QN_MAX_MAXFS = 1000;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.Files(), (std::set<std::string>{"kept.gif"}));
  EXPECT_EQ(rig.NodesIn(kStateTaken), (std::set<std::string>{server.Url("/index.html")}));
  EXPECT_EQ(rig.doc.Counters().files, 1);
}

TEST(DownloadRun, RangesWithManyStartAddressesRunOneAfterAnother) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeGifs(server, requests);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/{:1-5}.gif");
  rig.settings.QN_START_URL[1] = server.Url("/{:6-9}.gif");
  rig.settings.StartUrlCount = 2;
  rig.settings.QN_SINGLE_URL = 0;
  rig.settings.QN_THREADS = 3;

  // Each start address ends as soon as its work is done, the second like the first.
  ASSERT_TRUE(rig.Download(std::chrono::seconds(15)));

  EXPECT_EQ(requests.All().size(), 9u);
  EXPECT_EQ(requests.Total(), 9);
  EXPECT_EQ(rig.doc.CurrentStartIndex(), 0);
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
}

}  // namespace
}  // namespace qn::test
