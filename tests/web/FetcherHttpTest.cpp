#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "support/TempDir.h"
#include "support/TestServers.h"
#include "web/FetchTestRig.h"
#include "web/LocalFile.h"

namespace qn::test {
namespace {

constexpr std::time_t kServerDate = 1445412480;  // Wed, 21 Oct 2015 07:28:00 GMT
constexpr const char* kServerDateText = "Wed, 21 Oct 2015 07:28:00 GMT";

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i % 26);
  return s;
}

class FetcherHttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    httplib::Server& s = server_.server();
    // A body of known length given by a provider goes out as it is, never compressed.
    s.Get("/page.htm", [](const httplib::Request&, httplib::Response& res) {
      res.set_content_provider(25000, "text/html",
                               [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                 const std::string all = Pattern(25000);
                                 return sink.write(all.data() + offset, length);
                               });
    });
    s.Get("/stream.htm", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("text/html",
                                       [](std::size_t offset, httplib::DataSink& sink) {
                                         if (offset >= 30000) {
                                           sink.done();
                                           return true;
                                         }
                                         const std::string part = Pattern(10000);
                                         return sink.write(part.data(), part.size());
                                       });
    });
    s.Get("/missing.htm",
          [](const httplib::Request&, httplib::Response& res) { res.status = 404; });
    s.Get("/broken.htm", [](const httplib::Request&, httplib::Response& res) { res.status = 500; });
    s.Get("/moved.htm",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/page.htm"); });
    s.Get("/dated.gif", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Last-Modified", kServerDateText);
      res.set_content(Pattern(5000), "image/gif");
    });
    s.Get("/big.zip", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(Pattern(50000), "application/zip");
    });
    s.Get("/large.bin", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(Pattern(2 << 20), "application/octet-stream");
    });
    s.Get("/nul.htm", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string("a\0b\0c", 5), "text/html");
    });
    s.Get("/nul.gif", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string("a\0b\0c", 5), "image/gif");
    });
    s.Get("/headers.htm", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      seen_ = req.headers;
      res.set_content("ok", "text/html");
    });
    s.Post("/form.asp", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      seen_ = req.headers;
      postedBody_ = req.body;
      res.set_content("posted", "text/html");
    });
    s.Get("/login.htm", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "session=42; Path=/");
      res.set_content("welcome", "text/html");
    });
    s.Get("/members.htm", [](const httplib::Request& req, httplib::Response& res) {
      if (req.get_header_value("Cookie") != "session=42") {
        res.status = 403;
        return;
      }
      res.set_content("members", "text/html");
    });
    s.Get("/secret.htm", [](const httplib::Request& req, httplib::Response& res) {
      // "user:pass"
      if (req.get_header_value("Authorization") != "Basic dXNlcjpwYXNz") {
        res.status = 401;
        res.set_header("WWW-Authenticate", "Basic realm=\"test\"");
        return;
      }
      res.set_content("secret", "text/html");
    });
    server_.Start();
    fetcher_ = std::make_unique<CQNFetcher>(rig_.Context());
    ASSERT_TRUE(fetcher_->OpenInternet(true));
  }

  void TearDown() override { fetcher_->CloseInternet(true); }

  QNFetchResult Fetch(const std::string& path, const std::string& file, bool report = false,
                      int worker = 0) {
    return fetcher_->FetchToFile(server_.Url(path), Local(file), worker, report, "", 0);
  }
  std::string Local(const std::string& file) const { return (dir_ / file).string(); }

  TempDir dir_;
  FetchRig rig_;
  std::unique_ptr<CQNFetcher> fetcher_;
  std::mutex mutex_;
  httplib::Headers seen_;
  std::string postedBody_;
  HttpTestServer server_;  // last: its handlers stop before the members they use go
};

TEST_F(FetcherHttpTest, PageWithLength) {
  const QNFetchResult r = Fetch("/page.htm", "sub/page.htm");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.size, 25000u);
  EXPECT_EQ(r.outcome, kTransferred);
  EXPECT_FALSE(r.modified.has_value());
  EXPECT_EQ(ReadFile(Local("sub/page.htm")), Pattern(25000));
  EXPECT_TRUE(rig_.log.Lines().empty());

  const std::vector<QNStatus> rows = [&] {
    std::vector<QNStatus> v;
    for (const QNStatus& s : rig_.observer.Statuses())
      if (s.mask & QNStatus::kText1) v.push_back(s);
    return v;
  }();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].text1, server_.Url("/page.htm"));
  EXPECT_EQ(rows[0].text2, "unknown");
  EXPECT_EQ(rows[0].text3, "Opening...");
  EXPECT_EQ(rows[1].text2, "24.4 KB");
  EXPECT_EQ(rows[1].text3, "Downloading...");

  const std::vector<QNStatus> progress = rig_.observer.Progress();
  ASSERT_EQ(progress.size(), 3u);  // chunks of 10 KB at full speed
  int total = 0;
  for (const QNStatus& p : progress) total += p.progress;
  EXPECT_EQ(total, 25000);
  EXPECT_EQ(progress[0].text3, "40 %");
  EXPECT_EQ(progress.back().text3, "100 %");
}

TEST_F(FetcherHttpTest, PageWithoutLength) {
  const QNFetchResult r = Fetch("/stream.htm", "stream.htm");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.size, 30000u);
  EXPECT_EQ(ReadFile(Local("stream.htm")).size(), 30000u);
  for (const QNStatus& p : rig_.observer.Progress()) EXPECT_EQ(p.text3, "");
  EXPECT_EQ(rig_.observer.RowTexts().back(), "Downloading...");
}

TEST_F(FetcherHttpTest, SpeedLevelSetsTheChunkSize) {
  rig_.run.speedLevel = 9;  // 9 KB chunks, 20 ms apart
  ASSERT_TRUE(Fetch("/page.htm", "page.htm").ok);
  const auto progress = rig_.observer.Progress();
  ASSERT_EQ(progress.size(), 3u);
  EXPECT_EQ(progress[0].progress, 9 * 1024);
  EXPECT_EQ(progress[2].progress, 25000 - 2 * 9 * 1024);
}

TEST_F(FetcherHttpTest, NotFoundIsLoggedAtOnceAndNotRetried) {
  const QNFetchResult r = Fetch("/missing.htm", "missing.htm");
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_EQ(r.lastError, 404);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (HTTP code 404) - '" +
                                                       server_.Url("/missing.htm") + "'"});
  EXPECT_FALSE(std::filesystem::exists(Local("missing.htm")));
}

TEST_F(FetcherHttpTest, OtherStatusIsRetriedAndLoggedOnlyWhenReporting) {
  QNFetchResult r = Fetch("/broken.htm", "broken.htm");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_EQ(r.lastError, 500);
  EXPECT_TRUE(rig_.log.Lines().empty());
  r = Fetch("/broken.htm", "broken.htm", true);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (HTTP code 500) - '" +
                                                       server_.Url("/broken.htm") + "'"});
}

TEST_F(FetcherHttpTest, RedirectFollowedOnlyWhenAllowed) {
  QNFetchResult r = Fetch("/moved.htm", "moved.htm");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(Local("moved.htm")), Pattern(25000));

  rig_.options.Redirect = false;
  r = Fetch("/moved.htm", "moved2.htm", true);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_EQ(r.lastError, 302);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (HTTP code 302) - '" +
                                                       server_.Url("/moved.htm") + "'"});
}

TEST_F(FetcherHttpTest, ServerDateAndUpdateModes) {
  QNFetchResult r = Fetch("/dated.gif", "dated.gif");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.modified, kServerDate);
  EXPECT_EQ(LocalFileTime(Local("dated.gif")), kServerDate);

  // Same size and date: unchanged, and the body is not stored again.
  WriteFile(Local("dated.gif"), std::string(5000, 'L'));
  SetLocalFileTime(Local("dated.gif"), kServerDate + 1);
  const std::size_t before = rig_.observer.Statuses().size();
  r = Fetch("/dated.gif", "dated.gif");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.outcome, kKept);
  EXPECT_EQ(rig_.observer.RowTexts().back(), "Unchanged");
  for (std::size_t i = before; i < rig_.observer.Statuses().size(); ++i)
    EXPECT_FALSE(rig_.observer.Statuses()[i].mask & QNStatus::kProgress);
  EXPECT_EQ(ReadFile(Local("dated.gif")), std::string(5000, 'L'));

  // A date more than a second away, or a different recorded size, means changed.
  SetLocalFileTime(Local("dated.gif"), kServerDate + 2);
  r = Fetch("/dated.gif", "dated.gif");
  EXPECT_EQ(r.outcome, kTransferred);
  EXPECT_EQ(ReadFile(Local("dated.gif")), Pattern(5000));
  r = fetcher_->FetchToFile(server_.Url("/dated.gif"), Local("dated.gif"), 0, false, "", 4999);
  EXPECT_EQ(r.outcome, kTransferred);

  rig_.settings.QN_UMETHOD = 1;  // always
  r = Fetch("/dated.gif", "dated.gif");
  EXPECT_EQ(r.outcome, kTransferred);
}

TEST_F(FetcherHttpTest, NeverUpdateKeepsFilesEvenWithoutServer) {
  WriteFile(Local("kept.gif"), "12345");
  const std::string address = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/kept.gif";
  rig_.settings.QN_UMETHOD = 2;
  QNFetchResult r = fetcher_->FetchToFile(address, Local("kept.gif"), 0, true, "", 0);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.outcome, kKept);
  EXPECT_EQ(r.size, 5u);
  EXPECT_TRUE(rig_.log.Lines().empty());

  rig_.settings.QN_UMETHOD = 0;
  r = fetcher_->FetchToFile(address, Local("kept.gif"), 0, true, "", 0);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_EQ(r.lastError, 12029);
  EXPECT_EQ(rig_.log.Lines(),
            std::vector<std::string>{" Error (Number 12029) - '" + address + "'"});
  // "Never" with an existing page fetches nothing; without the file it fetches.
  rig_.settings.QN_UMETHOD = 2;
  EXPECT_TRUE(Fetch("/page.htm", "fresh.htm").ok);
  EXPECT_EQ(ReadFile(Local("fresh.htm")), Pattern(25000));
}

TEST_F(FetcherHttpTest, SizeLimitsRefuseBeforeTheBody) {
  rig_.settings.QN_LIM_MAXFS = 1;
  rig_.settings.QN_MAX_MAXFS = 1000;
  QNFetchResult r = Fetch("/big.zip", "big.zip");
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_FALSE(std::filesystem::exists(Local("big.zip")));
  EXPECT_TRUE(rig_.observer.Progress().empty());
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" File '" + server_.Url("/big.zip") +
                                                       "' (size 48.8 KB) exceeds the limit"});

  // The extension's own maximum replaces the project's.
  auto& archives = rig_.settings.QN_FILE_EXT[CategoryIndex(kCatArchive)];
  for (CQNExtEntry& e : archives)
    if (e.extension == "zip") {
      e.maxOn = 1;
      e.max = 100000;
    }
  EXPECT_TRUE(Fetch("/big.zip", "big.zip").ok);

  rig_.settings.QN_LIM_MAXFS = 0;
  rig_.settings.QN_LIM_MINFS = 1;
  rig_.settings.QN_MAX_MINFS = 100000;
  r = Fetch("/dated.gif", "small.gif");
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_EQ(rig_.log.Lines().back(),
            " File '" + server_.Url("/dated.gif") + "' (size 4.9 KB) is too small");

  // Runs of selected files take every size.
  rig_.run.downloadKind = 4;
  EXPECT_TRUE(Fetch("/dated.gif", "small.gif").ok);
}

TEST_F(FetcherHttpTest, TotalSizeLimitRefusesSilently) {
  rig_.settings.QN_LIM_DS = 1;
  rig_.settings.QN_MAX_DS = 1000;
  rig_.run.byteTotal = 1001;
  const QNFetchResult r = Fetch("/page.htm", "page.htm", true);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_TRUE(rig_.log.Lines().empty());
}

TEST_F(FetcherHttpTest, PreviewKeepsAllButPagesWithoutTransfer) {
  rig_.run.preview = true;
  QNFetchResult r = Fetch("/big.zip", "big.zip");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.outcome, kKept);
  EXPECT_FALSE(std::filesystem::exists(Local("big.zip")));
  r = Fetch("/page.htm", "page.htm");
  EXPECT_EQ(r.outcome, kTransferred);
  EXPECT_TRUE(std::filesystem::exists(Local("page.htm")));
}

TEST_F(FetcherHttpTest, ZeroBytesOfPagesBecomeBlanks) {
  ASSERT_TRUE(Fetch("/nul.htm", "nul.htm").ok);
  EXPECT_EQ(ReadFile(Local("nul.htm")), "a b c");
  ASSERT_TRUE(Fetch("/nul.gif", "nul.gif").ok);
  EXPECT_EQ(ReadFile(Local("nul.gif")), std::string("a\0b\0c", 5));
}

TEST_F(FetcherHttpTest, StopDuringTransfer) {
  rig_.settings.QN_LIM_MAXFS = 0;
  rig_.observer.onStatus = [this](const QNStatus& s) {
    if (s.mask & QNStatus::kProgress) rig_.run.stopRequest = true;
  };
  const QNFetchResult r = Fetch("/large.bin", "large.bin");
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_EQ(rig_.observer.Progress().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(Local("large.bin")));
  EXPECT_TRUE(rig_.log.Lines().empty());
}

TEST_F(FetcherHttpTest, AbortFileFlag) {
  rig_.settings.QN_LIM_MAXFS = 0;
  rig_.observer.onStatus = [this](const QNStatus& s) {
    if (s.mask & QNStatus::kProgress) rig_.run.AbortFile(7);
  };
  QNFetchResult r = Fetch("/large.bin", "large.bin", true, 7);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.stopped);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_FALSE(std::filesystem::exists(Local("large.bin")));
  // The flag was taken: the next file of the worker is not aborted.
  rig_.observer.onStatus = nullptr;
  EXPECT_FALSE(rig_.run.abortFile[7]);
  EXPECT_TRUE(Fetch("/page.htm", "page.htm", false, 7).ok);
}

TEST_F(FetcherHttpTest, LocalFileThatCannotBeCreated) {
  WriteFile(Local("plain"), "x");
  const std::string bad = Local("plain/sub/page.htm");
  const QNFetchResult r = fetcher_->FetchToFile(server_.Url("/page.htm"), bad, 0, false, "", 0);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_EQ(r.lastError, -1);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (Number -1) - '" + bad + "'"});
}

TEST_F(FetcherHttpTest, FormSubmissionsArePosted) {
  const std::string address = server_.Url("/form.asp?qnpost.page=One Two&x=%41");
  ASSERT_TRUE(fetcher_->FetchToFile(address, Local("form.htm"), 0, true, "", 0).ok);
  EXPECT_EQ(ReadFile(Local("form.htm")), "posted");
  {
    std::lock_guard lock(mutex_);
    EXPECT_EQ(postedBody_, "page=One Two&x=%41");
    auto ct = seen_.find("Content-Type");
    ASSERT_NE(ct, seen_.end());
    EXPECT_EQ(ct->second, "application/x-www-form-urlencoded");
    EXPECT_EQ(seen_.count("Expect"), 0u);
  }
  ASSERT_TRUE(fetcher_
                  ->FetchToFile(server_.Url("/form.asp?qnlogin.user=u&pass=p"), Local("login.htm"),
                                0, true, "", 0)
                  .ok);
  std::lock_guard lock(mutex_);
  EXPECT_EQ(postedBody_, "user=u&pass=p");
}

TEST_F(FetcherHttpTest, RequestHeaders) {
  ASSERT_TRUE(fetcher_
                  ->FetchToFile(server_.Url("/headers.htm"), Local("h.htm"), 0, false,
                                "http://referrer.test/page.htm", 0)
                  .ok);
  {
    std::lock_guard lock(mutex_);
    EXPECT_EQ(seen_.find("Accept")->second, "*/*");
    EXPECT_EQ(seen_.find("Referer")->second, "http://referrer.test/page.htm");
    EXPECT_EQ(seen_.find("User-Agent")->second, rig_.settings.GetAgentId());
  }
  // A project without an identification sends the fallback one and no referrer.
  rig_.settings.AgentKind = 99;
  fetcher_->CloseInternet(false);
  ASSERT_TRUE(fetcher_->OpenInternet(false));
  ASSERT_TRUE(Fetch("/headers.htm", "h.htm").ok);
  std::lock_guard lock(mutex_);
  EXPECT_EQ(seen_.find("User-Agent")->second, "Mozilla/4.0");
  EXPECT_EQ(seen_.count("Referer"), 0u);
}

TEST_F(FetcherHttpTest, BasicAuthentication) {
  QNFetchResult r = Fetch("/secret.htm", "secret.htm");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.lastError, 401);
  rig_.settings.QN_USER_ID = "user";
  rig_.settings.QN_PASSWORD = "pass";
  r = Fetch("/secret.htm", "secret.htm");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(Local("secret.htm")), "secret");
}

TEST_F(FetcherHttpTest, CookiesAreSharedByTheWorkersOfOneRunOnly) {
  ASSERT_TRUE(Fetch("/login.htm", "login.htm").ok);
  EXPECT_TRUE(Fetch("/members.htm", "members.htm").ok);
  // Another run's fetcher has a jar of its own.
  rig_.crawl = std::make_shared<QNCrawlShared>(CQNServerPacing::Rules{});
  CQNFetcher other(rig_.Context());
  ASSERT_TRUE(other.OpenInternet(false));
  EXPECT_FALSE(
      other.FetchToFile(server_.Url("/members.htm"), Local("other.htm"), 1, false, "", 0).ok);
  ASSERT_TRUE(other.FetchToFile(server_.Url("/login.htm"), Local("l.htm"), 1, false, "", 0).ok);
  CQNFetcher third(rig_.Context());
  ASSERT_TRUE(third.OpenInternet(false));
  EXPECT_TRUE(
      third.FetchToFile(server_.Url("/members.htm"), Local("third.htm"), 2, false, "", 0).ok);
}

TEST_F(FetcherHttpTest, SchemesThatAreNotFetched) {
  for (const char* address : {"mailto:me@example.org", "gopher://host/x", "javascript:go()"}) {
    const QNFetchResult r = fetcher_->FetchToFile(address, Local("x.htm"), 0, true, "", 0);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.retryAdvised);
  }
  EXPECT_TRUE(rig_.log.Lines().empty());
  EXPECT_TRUE(rig_.observer.Statuses().empty());
}

}  // namespace
}  // namespace qn::test
