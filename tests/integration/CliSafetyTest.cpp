// quillorne-cli where nothing may be lost or written wrongly: a download folder that
// cannot be written, and a second run over a copy whose links were converted.
#include <gtest/gtest.h>

#include <set>

#include "integration/CliProcess.h"
#include "support/FaultServer.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

TEST(CliSafety, ADownloadFolderThatCannotBeWrittenEndsTheRunAtOnce) {
  TempDir dir;
  FaultyHttpServer server;
  FaultyPage page;
  page.body = "<html>start</html>";
  server.Serve("/index.html", page);
  std::string out;
  std::string err;
  // Not even the system's administrator may make files in /proc.
  EXPECT_EQ(RunCli({server.Url("/index.html"), "-o", "/proc"}, dir.path(), &out, &err), 2);
  EXPECT_NE(err.find("The download could not start: the download folder '/proc/' cannot be "
                     "written."),
            std::string::npos)
      << err;
  EXPECT_EQ(server.Requests("/index.html"), 0);
}

TEST(CliSafety, ASecondRunOfAConvertedCopyAsksForNothingTheSiteDoesNotLink) {
  TempDir dir;
  FaultyHttpServer server;
  // Names that conversion rewrites in every way it can: an escaped blank, a folder's
  // default page, a query (a hashed name), a literal "%", a BASE naming another folder.
  const std::map<std::string, std::string> pages{
      {"/index.html",
       "<a href=\"a%20b.htm\">1</a><a href=\"dir/\">2</a><a href=\"q.asp?id=5\">3</a>"
       "<a href=\"c%2541.htm\">4</a><a href=\"based.htm\">5</a><img src=\"img/p.gif\">"},
      {"/a%20b.htm", "<a href=\"index.html\">home</a>"},
      {"/dir/", "<a href=\"../a%20b.htm\">up</a>"},
      {"/q.asp?id=5", "<a href=\"dir/\">dir</a>"},
      {"/c%2541.htm", "<img src=\"img/p.gif\">"},
      {"/based.htm", "<base href=\"/other/\"><a href=\"x.htm\">x</a>"},
      {"/other/x.htm", "<a href=\"../index.html\">home</a>"},
      {"/img/p.gif", "GIF89a"}};
  for (const auto& [path, body] : pages) {
    FaultyPage page;
    page.body = body;
    page.type = path.ends_with(".gif") ? "image/gif" : "text/html";
    server.Serve(path, page);
  }
  const fs::path project = dir / "site.qnp";
  std::string err;
  ASSERT_EQ(
      RunCli({server.Url("/index.html"), "-o", (dir / "copy").string(), "--save", project.string()},
             dir.path(), nullptr, &err),
      0)
      << err;
  ASSERT_EQ(ReadFile(dir / "copy" / "based.htm"),
            "<!--base href=\"/other/\"--><a href=\"other/x.htm\">x</a>");
  // An address whose name tells no type may be asked about before its fetch.
  const std::vector<std::string> first = server.RequestedPaths();
  const std::size_t firstRun = first.size();
  EXPECT_EQ(std::set<std::string>(first.begin(), first.end()).size(), pages.size());
  for (const std::string& path : first) EXPECT_TRUE(pages.count(path)) << path;

  ASSERT_EQ(RunCli({project.string(), "-D"}, dir.path(), nullptr, &err), 0) << err;
  const std::vector<std::string> requested = server.RequestedPaths();
  const std::set<std::string> secondRun(requested.begin() + static_cast<long>(firstRun),
                                        requested.end());
  for (const std::string& path : secondRun) EXPECT_TRUE(pages.count(path)) << path;
  EXPECT_EQ(secondRun.size(), pages.size());
  EXPECT_EQ(ReadFile(dir / "site.log").find("Error"), std::string::npos)
      << ReadFile(dir / "site.log");
}

}  // namespace
}  // namespace qn::test
