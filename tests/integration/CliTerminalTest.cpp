// quillorne-cli at a terminal: the countdown before the links of a run are
// converted, Ctrl+C skipping the conversion, and --convert for a project later.
#include <gtest/gtest.h>

#include <csignal>

#include "integration/CliProcess.h"
#include "integration/TerminalProcess.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

using std::chrono::seconds;

// Two pages; the start page links the other by its full address, which conversion
// turns into a relative link.
class TwoPages {
 public:
  TwoPages() {
    server_.server().Get("/index.html", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content("<a href=\"http://" + req.get_header_value("Host") + "/about.html\">a</a>",
                      "text/html");
    });
    server_.server().Get("/about.html", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("<html>about</html>", "text/html");
    });
    server_.Start();
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }

 private:
  HttpTestServer server_;
};

constexpr const char* kConverted = "<a href=\"about.html\">a</a>";

TEST(CliTerminal, CtrlCDuringTheCountdownSkipsOnlyTheConversion) {
  TempDir dir;
  TwoPages site;
  TerminalProcess cli({site.Url("/index.html"), "-o", (dir / "copy").string(), "--save",
                       (dir / "site.qnp").string()});
  ASSERT_TRUE(cli.WaitFor("Converting Links in 5 seconds", seconds(30))) << cli.Screen();
  cli.Signal(SIGINT);
  EXPECT_EQ(cli.Wait(seconds(30)), 0) << cli.Screen();
  EXPECT_NE(cli.Screen().find("cancelled: Converting Links in"), std::string::npos) << cli.Screen();
  // The download itself completed and was saved; only the links stay as they were.
  const std::string page = ReadFile(dir / "copy" / "index.html");
  EXPECT_NE(page.find("http://"), std::string::npos) << page;
  EXPECT_EQ(ReadFile(dir / "copy" / "about.html"), "<html>about</html>");

  // Converting later on command finishes the job without a download.
  std::string out;
  std::string err;
  EXPECT_EQ(RunCli({(dir / "site.qnp").string(), "--convert"}, dir.path(), &out, &err), 0) << err;
  EXPECT_EQ(ReadFile(dir / "copy" / "index.html"), kConverted);
  EXPECT_NE(out.find("Links converted in 2 saved files"), std::string::npos) << out;
}

TEST(CliTerminal, TheCountdownThatRunsOutConverts) {
  TempDir dir;
  TwoPages site;
  TerminalProcess cli({site.Url("/index.html"), "-o", (dir / "copy").string()});
  EXPECT_EQ(cli.Wait(seconds(60)), 0) << cli.Screen();
  // Each second is drawn anew.
  for (const char* text : {"Converting Links in 5 seconds", "Converting Links in 1 seconds"})
    EXPECT_NE(cli.Screen().find(text), std::string::npos) << text << "\n" << cli.Screen();
  EXPECT_EQ(ReadFile(dir / "copy" / "index.html"), kConverted);
}

TEST(CliTerminal, ConvertNeedsAProjectAndGoesAlone) {
  TempDir dir;
  std::string err;
  EXPECT_EQ(RunCli({"http://127.0.0.1:9/", "--convert"}, dir.path(), nullptr, &err), 2);
  EXPECT_NE(err.find("need a project file"), std::string::npos) << err;
  EXPECT_EQ(RunCli({(dir / "p.qnp").string(), "--convert", "--delete"}, dir.path(), nullptr, &err),
            2);
  EXPECT_NE(err.find("cannot be combined"), std::string::npos) << err;
}

}  // namespace
}  // namespace qn::test
