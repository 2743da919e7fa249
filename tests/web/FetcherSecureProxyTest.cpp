// HTTPS with a certificate made for the test, and requests through an HTTP proxy.
#include <gtest/gtest.h>


#include "support/TempDir.h"
#include "support/TestServers.h"
#include "web/FetchTestRig.h"

namespace qn::test {
namespace {

TEST(FetcherSecureTest, HttpsWithTheTestAuthority) {
  TempDir dir;
  std::string cert, key;
  ASSERT_TRUE(MakeSelfSignedCertificate(dir.path(), cert, key));
  HttpTestServer server(cert, key);
  server.server().Get("/s.htm", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("secure page", "text/html");
  });
  server.Start();

  FetchRig rig;
  const std::string local = (dir / "s.htm").string();
  {
    // The certificate was issued for another name than 127.0.0.1: that is accepted.
    rig.options.caFile = cert;
    CQNFetcher fetcher(rig.Context());
    ASSERT_TRUE(fetcher.OpenInternet(false));
    const QNFetchResult r = fetcher.FetchToFile(server.Url("/s.htm"), local, 0, true, "", 0);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(ReadFile(local), "secure page");
  }
  {
    // An authority nobody trusts fails like any request that cannot be sent.
    rig.options.caFile = (dir / "key.pem").string();
    CQNFetcher fetcher(rig.Context());
    ASSERT_TRUE(fetcher.OpenInternet(false));
    const QNFetchResult r = fetcher.FetchToFile(server.Url("/s.htm"), local, 0, true, "", 0);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.retryAdvised);
    EXPECT_GT(r.lastError, 12000);
    EXPECT_EQ(rig.log.Lines().size(), 1u);
  }
}

// Forwards to the origin the absolute address names: "http://host:port/path".
void Forward(const httplib::Request& req, httplib::Response& res) {
  const std::string rest = req.path.substr(std::string("http://").size());
  const std::size_t slash = rest.find('/');
  httplib::Client origin(rest.substr(0, slash));
  auto answer = origin.Get(rest.substr(slash));
  if (!answer) {
    res.status = 502;
    return;
  }
  res.status = answer->status;
  res.set_content(answer->body, answer->get_header_value("Content-Type").c_str());
}

TEST(FetcherProxyTest, RequestsGoThroughTheProxy) {
  HttpTestServer origin;
  origin.server().Get("/p.htm", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("from origin", "text/html");
  });
  origin.Start();
  ProxyTestServer proxy("Basic cHU6cHA=", Forward);  // "pu:pp"

  TempDir dir;
  FetchRig rig;
  rig.options.UseProxy = true;
  rig.options.ProxyAddress = "127.0.0.1";
  rig.options.ProxyPort = proxy.port();
  rig.options.ProxyUserID = "pu";
  rig.options.ProxyPassword = "pp";
  CQNFetcher fetcher(rig.Context());
  ASSERT_TRUE(fetcher.OpenInternet(false));
  const std::string local = (dir / "p.htm").string();
  const QNFetchResult r = fetcher.FetchToFile(origin.Url("/p.htm"), local, 0, true, "", 0);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(local), "from origin");
  EXPECT_EQ(proxy.Targets(), std::vector<std::string>{origin.Url("/p.htm")});

  // Without the proxy's credentials the proxy refuses.
  rig.options.ProxyPassword.clear();
  CQNFetcher refused(rig.Context());
  ASSERT_TRUE(refused.OpenInternet(false));
  EXPECT_EQ(refused.FetchToFile(origin.Url("/p.htm"), local, 0, true, "", 0).lastError, 407);
}

TEST(FetcherProxyTest, SessionConfiguration) {
  FetchRig rig;
  rig.settings.QN_TIMEOUT = 17;
  QNSessionConfig c = SessionConfigFor(rig.Context());
  EXPECT_EQ(c.proxy, "");
  EXPECT_EQ(c.timeoutSeconds, 17);
  EXPECT_EQ(c.agent, rig.settings.GetAgentId());

  rig.options.UseProxy = true;
  rig.options.ProxyAddress = "proxy.test";
  rig.options.ProxyPort = 3128;
  rig.options.FtpProxyAddress = "ftp-gw.test";
  rig.options.FtpProxyPort = 2121;
  rig.options.ProxyUserID = "only-user";
  c = SessionConfigFor(rig.Context());
  EXPECT_EQ(c.proxy, "proxy.test:3128");
  EXPECT_EQ(c.ftpProxy, "ftp-gw.test:2121");
  EXPECT_EQ(c.proxyUser, "");  // credentials only as a pair

  rig.settings.AgentKind = 5;
  rig.settings.AgentString = std::string(2000, 'A');
  EXPECT_EQ(SessionConfigFor(rig.Context()).agent.size(), 1039u);
}

}  // namespace
}  // namespace qn::test
