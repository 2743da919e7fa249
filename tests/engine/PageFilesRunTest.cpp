// Runs and the files they leave: a preview over an earlier download, a page cut at
// its size limit, and addresses whose names tell no file type.
#include <atomic>

#include "engine/RunRig.h"

namespace qn::test {
namespace {

TEST(PageFilesRun, APreviewLeavesTheFilesOfAnEarlierDownloadAsTheyAre) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  std::atomic<bool> linkNewPage{false};
  HttpTestServer server;
  server.server().Get("/index.html", [&](const httplib::Request& req, httplib::Response& res) {
    requests.Count(req.path);
    res.set_content(std::string("<a href=\"page.html\">p</a>") +
                        (linkNewPage ? "<a href=\"new.html\">n</a>" : ""),
                    "text/html");
  });
  for (const char* path : {"/page.html", "/new.html"})
    server.server().Get(path, [&](const httplib::Request& req, httplib::Response& res) {
      requests.Count(req.path);
      res.set_content("<p>" + req.path + "</p>", "text/html");
    });
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  ASSERT_TRUE(rig.Download());
  ASSERT_EQ(rig.Files(), (std::set<std::string>{"index.html", "page.html"}));
  // The copy as the user keeps it, its links converted since.
  WriteFile(rig.Site() / "index.html", "converted index");
  WriteFile(rig.Site() / "page.html", "converted page");
  linkNewPage = true;

  for (const int keepHtml : {0, 1}) {
    SCOPED_TRACE(keepHtml);
    requests.Clear();
    rig.settings.QN_KEEPHTML = keepHtml;
    ASSERT_TRUE(rig.doc.StartPreview());
    ASSERT_TRUE(rig.doc.WaitForRunEnd(std::chrono::seconds(60)));

    EXPECT_EQ(rig.DownloadState(), kPreviewCompleted);
    EXPECT_EQ(ReadFile(rig.Site() / "index.html"), "converted index");
    EXPECT_EQ(ReadFile(rig.Site() / "page.html"), "converted page");
    // The pages were fetched again to be scanned, and the new page was found.
    EXPECT_EQ(requests.Of("/index.html"), 1);
    EXPECT_EQ(requests.Of("/page.html"), 1);
    EXPECT_EQ(requests.Of("/new.html"), 1);
    const std::set<std::string> old{server.Url("/index.html"), server.Url("/page.html")};
    if (keepHtml) {
      // The page new to the preview is kept where it belongs.
      EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "page.html", "new.html"}));
      EXPECT_EQ(ReadFile(rig.Site() / "new.html"), "<p>/new.html</p>");
      std::set<std::string> all = old;
      all.insert(server.Url("/new.html"));
      EXPECT_EQ(rig.NodesIn(kStateDone), all);
    } else {
      EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "page.html"}));
      EXPECT_EQ(rig.NodesIn(kStateDone), old);
      EXPECT_EQ(rig.NodesIn(kStateTaken), (std::set<std::string>{server.Url("/new.html")}));
    }
  }
}

// A page is cut during its transfer by the limit of its address's extension, the
// limit by which it is judged after its scan, and the cut is in the log.
TEST(PageFilesRun, APageIsCutAndJudgedByTheLimitOfItsAddress) {
  const std::string big = "<html>" + std::string(60000, ' ') + "<img src=\"end.gif\"></html>";
  const std::map<std::string, Resource> files{
      {"/index.html", {"<a href=\"big.php\">big</a>", "text/html"}},
      {"/big.php", {big, "text/html"}},
      {"/end.gif", {"GIF89a", "image/gif"}},
  };
  // Saved as big.php.htm: a limit on "htm" is not the page's limit.
  for (const std::string limited : {"htm", "php"}) {
    SCOPED_TRACE(limited);
    RunRig rig;
    RequestCounter requests;  // outlives the server's handlers
    HttpTestServer server;
    ServeFiles(server, files, requests);
    server.Start();
    rig.settings.QN_START_URL[0] = server.Url("/index.html");
    rig.settings.QN_LIM_MAXFS = 0;
    for (CQNExtEntry& entry : rig.settings.QN_FILE_EXT[0])
      if (entry.extension == limited) {
        entry.maxOn = 1;
        entry.max = 1000;
      }

    ASSERT_TRUE(rig.Download());

    const std::string cut = " File '" + server.Url("/big.php") + "' (size ";
    const std::string log = rig.LogText();
    if (limited == "htm") {
      EXPECT_EQ(ReadFile(rig.Site() / "big.php.htm"), big);
      EXPECT_EQ(requests.Of("/end.gif"), 1);
      EXPECT_EQ(log.find(cut), std::string::npos) << log;
    } else {
      EXPECT_FALSE(std::filesystem::exists(rig.Site() / "big.php.htm"));
      EXPECT_NE(log.find(cut), std::string::npos) << log;
      EXPECT_NE(log.find(") exceeds the limit\r\n", log.find(cut)), std::string::npos);
    }
  }
}

// An address without an extension is not taken for a page before the server has
// said what it is; when the server does not say, it is a page.
TEST(PageFilesRun, AddressesWithoutAnExtensionAreNamedByWhatTheServerSays) {
  const std::map<std::string, Resource> files{
      {"/index.html",
       {"<img src=\"photo\"><a href=\"about\">a</a><a href=\"quiet\">q</a>", "text/html"}},
      {"/photo", {"GIF89a-photo", "image/gif"}},
      {"/about", {"<img src=\"/logo.gif\">", "text/html"}},
      {"/quiet", {"<img src=\"/deep.gif\">", ""}},
      {"/logo.gif", {"GIF89a-logo", "image/gif"}},
      {"/deep.gif", {"GIF89a-deep", "image/gif"}},
  };
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  HttpTestServer server;
  ServeFiles(server, files, requests);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");

  ASSERT_TRUE(rig.Download());

  EXPECT_EQ(rig.Files(), (std::set<std::string>{"index.html", "photo/default.", "about/default.htm",
                                                "quiet/default.htm", "logo.gif", "deep.gif"}));
  EXPECT_EQ(ReadFile(rig.Site() / "photo" / "default."), "GIF89a-photo");
  const CQNDocNode* photo = rig.doc.FindNodeByUrl(server.Url("/photo"), false);
  ASSERT_NE(photo, nullptr);
  EXPECT_EQ(photo->type, kCatImage);
  EXPECT_EQ(photo->kind, kNodeLink);
  const CQNDocNode* about = rig.doc.FindNodeByUrl(server.Url("/about"), false);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->type, kCatHtml);
}

}  // namespace
}  // namespace qn::test
