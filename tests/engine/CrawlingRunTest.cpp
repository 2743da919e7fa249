// Whole runs against servers of today's web: compressed bodies sent unasked, a second
// run answered "304 Not Modified", servers that ask for pauses, robots.txt, cookies,
// and the pace a project keeps with one server.
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "engine/RunRig.h"

namespace qn::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string Gzip(const std::string& text) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(compressBound(static_cast<uLong>(text.size())) + 32, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(CrawlingRun, APageCompressedWithoutBeingAskedIsSavedDecodedAndItsLinksFollowed) {
  RunRig rig;
  RequestCounter requests;
  const std::string page = "<html><body><a href=\"next.html\">next</a></body></html>";
  RawHttpServer server([&](int socket, const std::string& head) {
    const bool first = head.starts_with("GET /index.html");
    requests.Count(first ? "index" : head.starts_with("GET /next.html") ? "next" : "other");
    // The page comes compressed whatever the request says.
    const std::string body = first ? Gzip(page) : std::string("<p>next</p>");
    RawHttpServer::Send(socket, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n" +
                                    std::string(first ? "Content-Encoding: gzip\r\n" : "") +
                                    "Content-Length: " + std::to_string(body.size()) +
                                    "\r\nConnection: close\r\n\r\n" + body);
  });
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_UPDLINKS = 0;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(ReadFile(rig.Site() / "index.html"), page);
  EXPECT_EQ(requests.Of("next"), 1);
  EXPECT_TRUE(std::filesystem::exists(rig.Site() / "next.html"));
}

TEST(CrawlingRun, SecondRunIsAnsweredNotModifiedAndKeepsTheFiles) {
  RunRig rig;
  std::mutex mutex;
  std::vector<std::string> conditions;  // If-None-Match and If-Modified-Since per request
  int notModified = 0;
  HttpTestServer server;
  const auto serve = [&](const std::string& body, const std::string& type, const std::string& tag) {
    return [&, body, type, tag](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex);
      conditions.push_back(req.get_header_value("If-None-Match") + "|" +
                           req.get_header_value("If-Modified-Since"));
      res.set_header("ETag", tag);
      res.set_header("Last-Modified", "Wed, 21 Oct 2015 07:28:00 GMT");
      if (req.get_header_value("If-None-Match") == tag) {
        res.status = 304;
        ++notModified;
        return;
      }
      res.set_content(body, type);
    };
  };
  server.server().Get("/index.html", serve("<img src=\"pic.gif\">", "text/html", "\"p1\""));
  server.server().Get("/pic.gif", serve(std::string(300, 'g'), "image/gif", "W/\"g1\""));
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_UPDLINKS = 0;

  ASSERT_TRUE(rig.Download());
  ASSERT_EQ(conditions.size(), 2u);
  EXPECT_EQ(conditions[0], "|");  // nothing saved yet: nothing to compare with
  const std::string gif = ReadFile(rig.Site() / "pic.gif");

  ASSERT_TRUE(rig.Download());
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  ASSERT_EQ(conditions.size(), 4u);
  EXPECT_EQ(notModified, 2);
  // The second run may ask for the two files in either order.
  const std::set<std::string> second(conditions.begin() + 2, conditions.end());
  EXPECT_EQ(second, (std::set<std::string>{"\"p1\"|Wed, 21 Oct 2015 07:28:00 GMT",
                                           "W/\"g1\"|Wed, 21 Oct 2015 07:28:00 GMT"}));
  EXPECT_EQ(ReadFile(rig.Site() / "pic.gif"), gif);
  EXPECT_EQ(rig.NodesIn(kStateDone).size(), 2u);
  EXPECT_EQ(rig.doc.Counters().bytes, 0);  // nothing transferred again
}

TEST(CrawlingRun, ServerAskingForPausesIsWaitedForAndTheLogSaysSo) {
  RunRig rig;
  std::mutex mutex;
  std::vector<Clock::time_point> asked;
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<img src=\"busy.gif\">", "text/html");
  });
  server.server().Get("/busy.gif", [&](const httplib::Request&, httplib::Response& res) {
    std::lock_guard lock(mutex);
    asked.push_back(Clock::now());
    if (asked.size() <= 2) {
      res.status = 429;
      res.set_header("Retry-After", "2");
      return;
    }
    res.set_content("GIF89a", "image/gif");
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_RETRIES = 0;  // the waits are no failed tries

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  ASSERT_EQ(asked.size(), 3u);
  for (std::size_t i = 1; i < asked.size(); ++i)
    EXPECT_GE(asked[i] - asked[i - 1], std::chrono::milliseconds(1900)) << i;
  EXPECT_EQ(ReadFile(rig.Site() / "busy.gif"), "GIF89a");
  const std::string log = rig.LogText();
  const std::string wait = " Server 'http://127.0.0.1:" + std::to_string(server.port()) +
                           "' asks to wait 2 seconds (HTTP code 429)";
  EXPECT_EQ(CountOf(log, wait), 2) << log;
}

// A site whose robots.txt keeps every agent out of /private/ and this program out of
// /drafts/; the start page links to one file of each folder and one of /public/.
struct RobotsSite {
  RobotsSite() {
    server.server().Get("/robots.txt", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "User-agent: *\nDisallow: /private/\n\n"
          "User-agent: Quillorne\nDisallow: /drafts/\nDisallow: /private/\nAllow: /private/ok\n",
          "text/plain");
    });
    server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(
          "<a href=\"private/a.html\">a</a><a href=\"private/ok.html\">ok</a>"
          "<a href=\"drafts/b.html\">b</a><a href=\"public/c.html\">c</a>",
          "text/html");
    });
    server.server().Get(R"(/(private|drafts|public)/.*)",
                        [this](const httplib::Request& req, httplib::Response& res) {
                          requests.Count(req.path);
                          res.set_content("<p>x</p>", "text/html");
                        });
    server.Start();
  }
  RequestCounter requests;
  HttpTestServer server;
};

TEST(CrawlingRun, RobotsTxtIsObeyedWhenAskedAndIgnoredOtherwise) {
  {
    RunRig rig;
    RobotsSite site;
    rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
    rig.settings.QN_ROBOTS = 1;
    ASSERT_TRUE(rig.Download());
    // The group naming this program applies, not the one for every agent.
    EXPECT_EQ(site.requests.All(),
              (std::map<std::string, int>{{"/private/ok.html", 1}, {"/public/c.html", 1}}));
    const std::string log = rig.LogText();
    EXPECT_NE(log.find(" robots.txt excludes '" + site.server.Url("/drafts/b.html") + "'"),
              std::string::npos)
        << log;
  }
  {
    RunRig rig;
    RobotsSite site;
    rig.settings.QN_START_URL[0] = site.server.Url("/index.html");
    ASSERT_TRUE(rig.Download());
    EXPECT_EQ(site.requests.Total(), 4);
  }
}

TEST(CrawlingRun, CookiesGoFromPageToPageAndFromACookiesFileButNotToTheNextProject) {
  std::mutex mutex;
  std::vector<std::string> sent;  // the Cookie header of each request for /members.html
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "session=42; Path=/");
    res.set_content("<a href=\"members.html\">members</a>", "text/html");
  });
  server.server().Get("/members.html", [&](const httplib::Request& req, httplib::Response& res) {
    const std::string cookie = req.get_header_value("Cookie");
    {
      std::lock_guard lock(mutex);
      sent.push_back(cookie);
    }
    if (cookie.find("session=42") == std::string::npos &&
        cookie.find("login=browser") == std::string::npos) {
      res.status = 403;
      return;
    }
    res.set_content("<p>welcome</p>", "text/html");
  });
  server.Start();

  {
    RunRig rig;
    rig.settings.QN_START_URL[0] = server.Url("/index.html");
    rig.settings.QN_THREADS = 4;
    ASSERT_TRUE(rig.Download());
    EXPECT_TRUE(std::filesystem::exists(rig.Site() / "members.html"));
  }
  // The next project in the same program starts with an empty jar: the members
  // page is its start page, so only a cookie of the first project could let it in.
  {
    RunRig rig;
    rig.settings.QN_START_URL[0] = server.Url("/members.html");
    rig.settings.QN_RETRIES = 0;
    ASSERT_TRUE(rig.Download());
    EXPECT_FALSE(std::filesystem::exists(rig.Site() / "members.html"));
  }
  // A login made in a browser, exported as cookies.txt.
  {
    RunRig rig;
    const std::filesystem::path jar = rig.dir / "cookies.txt";
    std::ofstream(jar) << "# Netscape HTTP Cookie File\n"
                       << "127.0.0.1\tFALSE\t/\tFALSE\t0\tlogin\tbrowser\n";
    rig.settings.QN_START_URL[0] = server.Url("/members.html");
    rig.settings.QN_COOKIES = jar.string();
    ASSERT_TRUE(rig.Download());
    EXPECT_TRUE(std::filesystem::exists(rig.Site() / "members.html"));
    EXPECT_NE(rig.LogText().find(" 1 cookies read from '" + jar.string() + "'"), std::string::npos);
  }
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], "session=42");
  EXPECT_EQ(sent[1], "");
  EXPECT_EQ(sent[2], "login=browser");

  RunRig rig;
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_COOKIES = (rig.dir / "missing.txt").string();
  ASSERT_TRUE(rig.Download());
  EXPECT_NE(
      rig.LogText().find(" The cookies file '" + rig.settings.QN_COOKIES + "' cannot be read"),
      std::string::npos);
}

TEST(CrawlingRun, ConnectionCapAndDelayPaceTheRequestsToOneServer) {
  RunRig rig;
  std::mutex mutex;
  int active = 0;
  int most = 0;
  std::vector<Clock::time_point> starts;
  HttpTestServer server;
  server.server().Get("/index.html", [](const httplib::Request&, httplib::Response& res) {
    std::string page;
    for (int i = 0; i < 6; ++i) page += "<img src=\"" + std::to_string(i) + ".gif\">";
    res.set_content(page, "text/html");
  });
  server.server().Get(R"(/\d\.gif)", [&](const httplib::Request&, httplib::Response& res) {
    {
      std::lock_guard lock(mutex);
      most = std::max(most, ++active);
      starts.push_back(Clock::now());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
      std::lock_guard lock(mutex);
      --active;
    }
    res.set_content("GIF89a", "image/gif");
  });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_THREADS = 6;
  rig.settings.QN_LIM_CONN = 1;
  rig.settings.QN_DELAY_MS = 200;

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_EQ(most, 1);
  ASSERT_EQ(starts.size(), 6u);
  std::sort(starts.begin(), starts.end());
  for (std::size_t i = 1; i < starts.size(); ++i)
    EXPECT_GE(starts[i] - starts[i - 1], std::chrono::milliseconds(190)) << i;
}

}  // namespace
}  // namespace qn::test
