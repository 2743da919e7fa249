// The desktop program runs its stored schedule: a due entry opens its project,
// downloads it once the window has shown its contents and saves it, while the
// program stays open.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <thread>

#include "TestPaths.h"
#include "app/ScheduleStore.h"
#include "desktop/DesktopRun.h"
#include "engine/RunState.h"
#include "project/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

int SavedDownloadState(const std::string& project) {
  CQNSettings settings;
  CQNDocTree tree;
  std::ifstream in(project, std::ios::binary);
  return ReadProject(in, project, settings, tree, {}) ? settings.DownloadState : -1;
}

TEST(DesktopSchedule, ADueEntryDownloadsItsProjectInTheOpenProgram) {
  TempDir dir;
  HttpTestServer site;
  site.server().Get(R"(/(\w+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(req.path == "/index.html" ? "<a href=\"b.html\">b</a>" : "<p>b</p>",
                    "text/html");
  });
  site.Start();

  const std::string project = (dir / "site.qnp").string();
  CQNSettings settings;
  settings.QN_START_URL[0] = site.Url("/index.html");
  settings.QN_PROJECT_DIR = (dir / "files").string() + "/";
  CQNDocTree tree;
  tree.CreateRoot("Site");
  std::string error;
  ASSERT_TRUE(WriteProjectFile(project, settings, tree, error)) << error;
  ASSERT_EQ(SavedDownloadState(project), 0);

  // Every two seconds from the program's start.
  QNScheduleEntry entry;
  entry.projectFile = project;
  entry.kind = kScheduleEvery;
  entry.second = 2;
  QNOptionSections options;
  options.options.FirstRun = false;
  options.options.ShowWelcome = false;
  {
    QSettings file(QString::fromStdString(OptionsFileIn(dir.path()).string()),
                   QSettings::IniFormat);
    SaveOptions(file, options, [&](QSettings& f) { SaveSchedule(f, {entry}); });
  }

  ChildProcess program(QN_DESKTOP_PATH, {}, dir.path(), DesktopEnvironment(dir.path()));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (SavedDownloadState(project) != kDownloadCompleted &&
         std::chrono::steady_clock::now() < deadline &&
         program.Wait(std::chrono::milliseconds(0)) < 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(SavedDownloadState(project), kDownloadCompleted) << program.Err();
  EXPECT_EQ(ReadFile(dir / "files" / "b.html"), "<p>b</p>");

  // The program was left running; it ends as a session ends it, keeping the schedule.
  program.Signal(SIGTERM);
  EXPECT_EQ(program.Wait(std::chrono::seconds(30)), 0) << program.Err();
  QSettings file(QString::fromStdString(OptionsFileIn(dir.path()).string()), QSettings::IniFormat);
  const std::vector<QNScheduleEntry> kept = LoadSchedule(file);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].projectFile, project);
}

}  // namespace
}  // namespace qn::test
