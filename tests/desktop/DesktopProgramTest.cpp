// The desktop program started by a script: "-D -E" downloads and ends by itself,
// with a failure status when its project does not open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "TestPaths.h"
#include "desktop/DesktopRun.h"
#include "project/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

// Past the first run, without the welcome page: the program starts straight away.
QNOptionSections QuietOptions() {
  QNOptionSections options;
  options.options.FirstRun = false;
  options.options.ShowWelcome = false;
  return options;
}

TEST(DesktopProgram, DownloadAndExitWithAProjectThatDoesNotOpen) {
  TempDir dir;
  WriteOptionsIn(dir.path(), QuietOptions());
  std::string err;
  const std::string missing = (dir / "missing.qnp").string();
  EXPECT_EQ(RunProgram(QN_DESKTOP_PATH, {missing, "-D", "-E"}, dir.path(), &err), 2);
  EXPECT_NE(err.find("Cannot open the file '" + missing + "'."), std::string::npos) << err;
  // Start-up completed: the options were written back, readable by the owner only.
  struct stat info {};
  ASSERT_EQ(stat(OptionsFileIn(dir.path()).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_TRUE(ReadOptionsIn(dir.path()).recentFiles.Entries().empty());
}

TEST(DesktopProgram, DownloadsATemplateSavesTheProjectAndEnds) {
  TempDir dir;
  HttpTestServer site;
  site.server().Get(R"(/(\w+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
    if (req.path == "/index.html")
      res.set_content("<a href=\"a.html\">a</a> <a href=\"b.html\">b</a>", "text/html");
    else
      res.set_content("<p>" + req.path + "</p>", "text/html");
  });
  site.Start();
  WriteFile(dir / "site.qnt", "QN_START_URL \t\t\"" + site.Url("/index.html") +
                                  "\"\r\nQN_PROJECT_DIR \t\t\"" + (dir / "files").string() +
                                  "/\"\r\n");
  WriteOptionsIn(dir.path(), QuietOptions());

  std::string err;
  ASSERT_EQ(
      RunProgram(QN_DESKTOP_PATH, {(dir / "site.qnt").string(), "-d", "-e"}, dir.path(), &err), 0)
      << err;
  EXPECT_EQ(ReadFile(dir / "files" / "b.html"), "<p>/b.html</p>");
  // Closing saved the project beside the template, with the run completed.
  const std::string project = (dir / "site.qnp").string();
  CQNSettings settings;
  CQNDocTree tree;
  std::ifstream in(project, std::ios::binary);
  ASSERT_TRUE(ReadProject(in, project, settings, tree, {}));
  EXPECT_EQ(settings.DownloadState, 2);

  // The project itself, again: it opens (so it joins the recent projects), runs and ends.
  std::filesystem::remove(dir / "files" / "b.html");
  ASSERT_EQ(RunProgram(QN_DESKTOP_PATH, {project, "-D", "-E"}, dir.path(), &err), 0) << err;
  EXPECT_TRUE(std::filesystem::exists(dir / "files" / "b.html"));
  EXPECT_EQ(ReadOptionsIn(dir.path()).recentFiles.Entries(), std::vector<std::string>{project});
}

}  // namespace
}  // namespace qn::test
