// Whole runs over sites whose pages link to each other in the ways real pages do:
// old markup with frames, image maps and applets, newer markup with style sheets and
// scripts, and forms that the run turns into POST requests.
#include <algorithm>

#include "engine/RunRig.h"

namespace qn::test {
namespace {

// The tree under `node`, one line per node: indentation by depth, the address
// without `prefix`, the level and the title.
void RenderTree(const CQNDocNode* node, const std::string& prefix, int depth, std::string& out) {
  for (const CQNDocNode* child = node->firstChild; child; child = child->nextSibling) {
    std::string url = child->url;
    if (url.rfind(prefix, 0) == 0) url.erase(0, prefix.size());
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + url + " L" +
           std::to_string(child->level) + " [" + child->title + "]\n";
    RenderTree(child, prefix, depth + 1, out);
  }
}

const char* const kIndex = R"html(<HTML>
<HEAD>
<TITLE>Harbour Books</TITLE>
</HEAD>
<FRAMESET COLS=180,*>
<FRAME SRC=menu.html NAME=menu SCROLLING=NO>
<FRAME SRC=main.html NAME=main>
<NOFRAMES><BODY>Your browser cannot show frames.</BODY></NOFRAMES>
</FRAMESET>
</HTML>
)html";

const char* const kMenu = R"html(<HTML>
<HEAD><TITLE>Menu</TITLE></HEAD>
<BODY BGCOLOR=#FFFFFF BACKGROUND=img/paper.gif>
<IMG SRC=img/nav.gif WIDTH=120 HEIGHT=60 BORDER=0 USEMAP=#nav>
<MAP NAME=nav>
<AREA SHAPE=RECT COORDS=0,0,120,30 HREF=books/list.html>
<AREA SHAPE=RECT COORDS=0,30,120,60 HREF=about.html onMouseOver="hilite('img/about-on.gif')">
</MAP>
<A HREF="contact.html" onClick="window.open('popup.html','w');return false">Contact</A>
</BODY>
</HTML>
)html";

const char* const kMain = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>What&#39;s new &amp; noteworthy</title>
<link rel=stylesheet href="css/site.css">
<style>
body { background: #fff url(img/bg.png) repeat-x; }
</style>
<script src="js/app.js"></script>
<script type="text/javascript">
var pages = ["news/monday.html", "news/tuesday.html"];
function pick() { location.href = pages[new Date().getDay() % 2]; }
</script>
</head>
<body onload="pick()">
<p><a href="index.html#top" target="_top">Home</a></p>
<APPLET CODE=Ticker.class CODEBASE=java WIDTH=400 HEIGHT=20>
<PARAM NAME=background VALUE=img/ticker-bg.gif>
</APPLET>
</body>
</html>
)html";

const char* const kList = R"html(<HTML><HEAD><TITLE>Book List</TITLE></HEAD>
<BODY>
<TABLE BORDER=1 BACKGROUND=../img/shelf.gif>
<TR><TD VALIGN=TOP BACKGROUND=../img/cell.gif><A HREF=dune.html>Dune</A></TD>
<TD><A HREF=../index.html TARGET=_top>Home</A></TD></TR>
</TABLE>
</BODY></HTML>
)html";

std::map<std::string, Resource> OldAndNewSite() {
  const std::string classFile =
      std::string("\xCA\xFE\xBA\xBE\0\0\0\x32\0news/latest.htm\0\x07", 26);
  return {
      {"/index.html", {kIndex, "text/html"}},
      {"/menu.html", {kMenu, "text/html"}},
      {"/main.html", {kMain, "text/html"}},
      {"/books/list.html", {kList, "text/html"}},
      {"/books/dune.html",
       {"<HTML><TITLE>Dune</TITLE><BODY><IMG SRC=\"covers/dune.jpg\" ALT=\"Cover\"></BODY></HTML>",
        "text/html"}},
      {"/about.html",
       {"<HTML><HEAD><TITLE>About us</TITLE>\n"
        "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"30; URL=history.html\">\n</HEAD></HTML>",
        "text/html"}},
      {"/history.html", {"<html><body>Since 1921.</body></html>", "text/html"}},
      {"/contact.html", {"<html><body>Write to us.</body></html>", "text/html"}},
      {"/popup.html", {"<html><body>Offer!</body></html>", "text/html"}},
      {"/help.html", {"<html><body>Help</body></html>", "text/html"}},
      {"/news/monday.html", {"<html><body>Monday</body></html>", "text/html"}},
      {"/news/tuesday.html", {"<html><body>Tuesday</body></html>", "text/html"}},
      {"/news/latest.htm", {"<html><body>Latest</body></html>", "text/html"}},
      {"/css/site.css", {"h1 { background: url(../img/stripes.gif) }\n", "text/css"}},
      {"/js/app.js",
       {"document.getElementById(\"logo\").src = \"img/logo.gif\";\nvar help = 'help.html';\n",
        "application/javascript"}},
      {"/java/Ticker.class", {classFile, "application/java-vm"}},
      {"/img/paper.gif", {"GIF89a-paper", "image/gif"}},
      {"/img/nav.gif", {"GIF89a-nav", "image/gif"}},
      {"/img/about-on.gif", {"GIF89a-about", "image/gif"}},
      {"/img/shelf.gif", {"GIF89a-shelf", "image/gif"}},
      {"/img/cell.gif", {"GIF89a-cell", "image/gif"}},
      {"/img/bg.png", {"\x89PNG-bg", "image/png"}},
      {"/img/stripes.gif", {"GIF89a-stripes", "image/gif"}},
      {"/img/logo.gif", {"GIF89a-logo", "image/gif"}},
      {"/img/ticker-bg.gif", {"GIF89a-ticker", "image/gif"}},
      {"/books/covers/dune.jpg", {"JFIF-dune", "image/jpeg"}},
  };
}

TEST(SiteScanRun, CopiesAMultiLevelSiteOfOldAndNewMarkup) {
  RunRig rig;
  RequestCounter requests;  // outlives the server's handlers
  const std::map<std::string, Resource> files = OldAndNewSite();
  HttpTestServer server;
  ServeFiles(server, files, requests);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  rig.settings.QN_THREADS = 4;

  ASSERT_TRUE(rig.Download(std::chrono::seconds(30)));

  // Each link sits under the page that holds it, in page order; the frames keep the
  // level of their frameset, every other link is one level below its page; files
  // found in scripts and Java classes resolve against the page that used them.
  std::string tree;
  RenderTree(rig.doc.Tree().root, server.Url("/"), 0, tree);
  EXPECT_EQ(tree,
            "index.html L0 [Harbour Books (index.html)]\n"
            "  menu.html L0 [Menu (menu.html)]\n"
            "    img/paper.gif L1 [paper.gif]\n"
            "    img/nav.gif L1 [nav.gif]\n"
            "    books/list.html L1 [Book List (list.html)]\n"
            "      img/shelf.gif L2 [shelf.gif]\n"
            "      img/cell.gif L2 [cell.gif]\n"
            "      books/dune.html L2 [Dune (dune.html)]\n"
            "        books/covers/dune.jpg L3 [dune.jpg]\n"
            "    about.html L1 [About us (about.html)]\n"
            "      history.html L2 [history.html]\n"
            "    img/about-on.gif L1 [about-on.gif]\n"
            "    contact.html L1 [contact.html]\n"
            "    popup.html L1 [popup.html]\n"
            "  main.html L0 [What's new & noteworthy (main.html)]\n"
            "    css/site.css L1 [site.css]\n"
            "      img/stripes.gif L2 [stripes.gif]\n"
            "    img/bg.png L1 [bg.png]\n"
            "    js/app.js L1 [app.js]\n"
            "      img/logo.gif L2 [logo.gif]\n"
            "      help.html L2 [help.html]\n"
            "    news/monday.html L1 [monday.html]\n"
            "    news/tuesday.html L1 [tuesday.html]\n"
            "    java/Ticker.class L1 [Ticker.class]\n"
            "      news/latest.htm L2 [latest.htm]\n"
            "    img/ticker-bg.gif L1 [ticker-bg.gif]\n");

  // Every file was asked for once and saved; nothing failed.
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_TRUE(rig.NodesIn(kStateFailed).empty());
  std::set<std::string> expected;
  for (const auto& [path, resource] : files) {
    EXPECT_EQ(requests.Of(path), 1) << path;
    expected.insert(path.substr(1));
  }
  EXPECT_EQ(requests.Total(), static_cast<int>(files.size()));
  EXPECT_EQ(rig.Files(), expected);
  EXPECT_EQ(ReadFile(rig.Site() / "java" / "Ticker.class"), files.at("/java/Ticker.class").content);
  EXPECT_EQ(ReadFile(rig.Site() / "img" / "ticker-bg.gif"), "GIF89a-ticker");
  EXPECT_EQ(rig.doc.Counters().files, static_cast<int>(files.size()));
}

// A server that records the POST requests it receives.
class FormServer {
 public:
  FormServer() {
    server_.server().Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      gets_.push_back(req.target);
      if (req.path == "/forms.html")
        res.set_content(kForms, "text/html");
      else
        res.set_content("<html><body>results</body></html>", "text/html");
    });
    server_.server().Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      posts_.push_back(req.path + " " + req.body);
      contentTypes_.insert(req.get_header_value("Content-Type"));
      res.set_content("<html><body>posted</body></html>", "text/html");
    });
    server_.Start();
  }

  std::string Url(const std::string& path) const { return server_.Url(path); }
  // "path body" of every POST, sorted.
  std::vector<std::string> Posts() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> sorted = posts_;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }
  std::vector<std::string> Gets() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> sorted = gets_;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }
  std::set<std::string> ContentTypes() {
    std::lock_guard lock(mutex_);
    return contentTypes_;
  }

 private:
  static constexpr const char* kForms = R"html(<html><head><title>Forms</title></head><body>
<form method=post action="show.asp">
<select name="page" onchange="this.form.submit()">
<option value="1">One</option>
<option value="2">Two
<option>Three
</select>
</form>
<FORM METHOD="POST" ACTION="login.asp">
<INPUT TYPE=hidden NAME=lang VALUE=en>
<INPUT NAME=user TYPE=text>
<INPUT NAME=pass TYPE=password>
<INPUT TYPE=checkbox NAME=remember VALUE=yes>
<INPUT TYPE=submit NAME=go VALUE="Log in">
</FORM>
<form method="post">
<select name=sort><option>title<option>author</select>
</form>
<form action="search.asp" method="get"><input name=q></form>
</body></html>
)html";

  std::mutex mutex_;
  std::vector<std::string> posts_;
  std::vector<std::string> gets_;
  std::set<std::string> contentTypes_;
  HttpTestServer server_;  // last: stopped before the records go
};

// The addresses under the start page, in tree order.
std::vector<std::string> StartPageChildren(RunRig& rig) {
  std::vector<std::string> urls;
  const CQNDocNode* start = rig.doc.Tree().root->firstChild;
  if (!start) return urls;
  for (const CQNDocNode* child = start->firstChild; child; child = child->nextSibling)
    urls.push_back(child->url);
  return urls;
}

void RunForms(RunRig& rig, FormServer& server, int processForms, int submitLogins) {
  rig.settings.QN_START_URL[0] = server.Url("/forms.html");
  rig.settings.QN_USER_ID = "alice";
  rig.settings.QN_PASSWORD = "s3cret";
  rig.settings.ProcessForms = processForms;
  rig.settings.SubmitLoginForms = submitLogins;
  rig.settings.QN_THREADS = 3;
  ASSERT_TRUE(rig.Download(std::chrono::seconds(30)));
  EXPECT_EQ(rig.DownloadState(), kDownloadCompleted);
  EXPECT_TRUE(rig.NodesIn(kStateFailed).empty());
}

TEST(SiteScanRun, DropDownsAndLoginsArePostedWithTheirExactBodies) {
  RunRig rig;
  FormServer server;
  RunForms(rig, server, 1, 1);
  // Each option's visible text is posted under the list's name; the login posts
  // every named input of an accepted type, the project's user name and password in
  // the fields around the first password field, and leaves the submit button out.
  // A POST form without an action posts to its own page.
  EXPECT_EQ(server.Posts(), (std::vector<std::string>{
                                "/forms.html sort=author",
                                "/forms.html sort=title",
                                "/login.asp lang=en&user=alice&pass=s3cret&remember=yes",
                                "/show.asp page=One",
                                "/show.asp page=Three",
                                "/show.asp page=Two",
                            }));
  EXPECT_EQ(server.ContentTypes(), (std::set<std::string>{"application/x-www-form-urlencoded"}));
  // A submission's answer is taken as a page without asking the server first, so
  // no form field (a password least of all) travels in a GET.
  EXPECT_EQ(server.Gets(), (std::vector<std::string>{"/forms.html", "/search.asp"}));
  EXPECT_EQ(StartPageChildren(rig),
            (std::vector<std::string>{
                server.Url("/show.asp?qnpost.page=One"),
                server.Url("/show.asp?qnpost.page=Two"),
                server.Url("/show.asp?qnpost.page=Three"),
                server.Url("/login.asp?qnlogin.lang=en&user=alice&pass=s3cret&remember=yes"),
                server.Url("/forms.html?qnpost.sort=title"),
                server.Url("/forms.html?qnpost.sort=author"),
                server.Url("/search.asp"),
            }));
  EXPECT_EQ(rig.NodesIn(kStateDone).size(), 8u);
}

TEST(SiteScanRun, EachKindOfFormHasItsOwnOption) {
  {
    SCOPED_TRACE("drop-down lists only");
    RunRig rig;
    FormServer server;
    RunForms(rig, server, 1, 0);
    EXPECT_EQ(server.Posts(), (std::vector<std::string>{
                                  "/forms.html sort=author",
                                  "/forms.html sort=title",
                                  "/show.asp page=One",
                                  "/show.asp page=Three",
                                  "/show.asp page=Two",
                              }));
  }
  {
    SCOPED_TRACE("logins only");
    RunRig rig;
    FormServer server;
    RunForms(rig, server, 0, 1);
    EXPECT_EQ(server.Posts(), (std::vector<std::string>{
                                  "/login.asp lang=en&user=alice&pass=s3cret&remember=yes",
                              }));
  }
}

TEST(SiteScanRun, NoFormIsPostedWhenTheOptionsAreOff) {
  RunRig rig;
  FormServer server;
  RunForms(rig, server, 0, 0);
  // A GET form still gives its action, without a query.
  EXPECT_TRUE(server.Posts().empty());
  EXPECT_EQ(server.Gets(), (std::vector<std::string>{"/forms.html", "/search.asp"}));
  EXPECT_EQ(StartPageChildren(rig), (std::vector<std::string>{server.Url("/search.asp")}));
}

}  // namespace
}  // namespace qn::test
