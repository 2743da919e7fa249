// The application object's scheduler end to end: a due entry closes the open
// project (saved without a question), opens its own, downloads it from a local
// server once the contents are shown, saves it, powers off through a stand-in for
// systemctl and hands the run back to its entry.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <chrono>
#include <fstream>
#include <thread>

#include "app/Application.h"
#include "engine/RunState.h"
#include "project/ProjectFile.h"
#include "support/FakeCommands.h"
#include "support/QtCoreApp.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

class CountingFrontEnd : public IQNAppFrontEnd {
 public:
  int questions = 0;
  int projectsOpened = 0;
  int restored = 0;
  int closeStatus = -1;

  QNSaveAnswer AskSaveChanges(const std::string&) override {
    ++questions;
    return QNSaveAnswer::kCancel;
  }
  std::optional<std::string> AskSavePath() override {
    ++questions;
    return std::nullopt;
  }
  void RequestClose(int exitStatus) override { closeStatus = exitStatus; }
  void ProjectOpened() override { ++projectsOpened; }
  void RestoreWindow() override { ++restored; }
};

class ApplicationScheduleTest : public ::testing::Test {
 protected:
  ApplicationScheduleTest() {
    server_.server().Get(
        R"(/(\w+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
          res.set_content(req.path == "/index.html" ? "<a href=\"about.html\">about</a>" : "about",
                          "text/html");
        });
    server_.Start();
  }

  std::unique_ptr<CQNApp> Start() {
    auto file =
        std::make_unique<QSettings>(QString::fromStdString(OptionsPath()), QSettings::IniFormat);
    QNAppFolders folders{dir_.str() + "/", dir_.str() + "/", dir_.str()};
    auto app = std::make_unique<CQNApp>(observer_, frontEnd_, folders, std::move(file));
    app->LoadOptions(QNScreenMetrics());
    app->NewProject();
    app->MarkStarted();
    return app;
  }
  std::string OptionsPath() const { return (dir_ / "Quillorne.conf").string(); }

  // A saved project; `address` its start address, its files under `folder`.
  std::string MakeProject(const std::string& name, const std::string& address,
                          const std::string& folder) {
    auto app = Start();
    CQNSettings& settings = app->Session().settings;
    settings.QN_START_URL[0] = address;
    settings.QN_PROJECT_DIR = (dir_ / folder).string() + "/";
    EXPECT_TRUE(app->Projects().SaveAs((dir_ / name).string()));
    return (dir_ / name).string();
  }

  // Lets queued work run until `done` holds.
  static bool RunUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  QtCoreApp qt_;
  FakeCommands fakes_;
  TempDir dir_;
  IQNObserver observer_;
  CountingFrontEnd frontEnd_;
  HttpTestServer server_;
};

TEST_F(ApplicationScheduleTest, ADueEntryDownloadsItsProjectSavesItAndShutsDown) {
  const std::string site = MakeProject("site.qnp", server_.Url("/index.html"), "site");
  const std::string other = MakeProject("other.qnp", server_.Url("/none.html"), "other");
  // Due now: a daily entry at this second of the day.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  QNScheduleEntry entry;
  entry.projectFile = site;
  entry.kind = kScheduleDaily;
  entry.hour = local.tm_hour;
  entry.minute = local.tm_min;
  entry.second = local.tm_sec;
  entry.shutDownAfter = true;

  auto app = Start();
  app->SetPowerOffCommand({fakes_.Systemctl(), "--no-ask-password", "poweroff"});
  ASSERT_TRUE(app->Projects().Open(other, false));
  app->Session().settings.QN_TITLE = "edited";
  app->Session().doc.modified = true;
  app->SetSchedule({entry});
  app->ScheduleTick();

  // The edited project was saved without a question; the entry's project is open and
  // waits for its contents to be shown.
  EXPECT_EQ(frontEnd_.questions, 0);
  EXPECT_EQ(frontEnd_.projectsOpened, 1);
  EXPECT_EQ(app->Session().Path(), site);
  EXPECT_FALSE(app->Session().doc.run.running);
  {
    CQNSettings saved;
    CQNDocTree tree;
    std::ifstream in(other, std::ios::binary);
    ASSERT_TRUE(ReadProject(in, other, saved, tree, {}));
    EXPECT_EQ(saved.QN_TITLE, "edited");
  }

  app->ContentsReady();
  EXPECT_EQ(frontEnd_.restored, 1);
  ASSERT_TRUE(RunUntil([&] { return app->Schedule()[0].state == kEntryFinished; }));
  EXPECT_EQ(app->Schedule()[0].runCount, 1);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "site" / "about.html"));
  EXPECT_EQ(fakes_.Calls("systemctl"), std::vector<std::string>{"--no-ask-password poweroff"});
  // The options were saved before the power-off, with the schedule in them.
  QSettings options(QString::fromStdString(OptionsPath()), QSettings::IniFormat);
  EXPECT_EQ(options.value("Schedule/ProjectQuant").toInt(), 1);
  EXPECT_EQ(options.value("Schedule/FieName01").toString().toStdString(), site);
  // The project was saved after its run, as completed.
  CQNSettings saved;
  CQNDocTree tree;
  std::ifstream in(site, std::ios::binary);
  ASSERT_TRUE(ReadProject(in, site, saved, tree, {}));
  EXPECT_EQ(saved.DownloadState, kDownloadCompleted);
  EXPECT_FALSE(app->Session().doc.modified);
  // Nothing starts again within the window.
  app->ScheduleTick();
  EXPECT_EQ(frontEnd_.projectsOpened, 1);
}

TEST_F(ApplicationScheduleTest, AScheduledRunWithoutShutdownLeavesTheProgramAsItIs) {
  const std::string site = MakeProject("site.qnp", server_.Url("/index.html"), "site");
  QNScheduleEntry entry;
  entry.projectFile = site;
  entry.kind = kScheduleEvery;
  entry.second = 1;
  auto app = Start();
  app->SetPowerOffCommand({fakes_.Systemctl(), "--no-ask-password", "poweroff"});
  // AutoShutdown applies to the user's own downloads, not to a scheduled one.
  app->Options().options.AutoShutdown = true;
  app->SetSchedule({entry});
  ASSERT_TRUE(RunUntil([&] {
    app->ScheduleTick();
    return frontEnd_.projectsOpened == 1;
  }));
  app->ContentsReady();
  ASSERT_TRUE(RunUntil([&] { return app->Schedule()[0].runCount == 1; }));
  EXPECT_TRUE(fakes_.Calls("systemctl").empty());
  EXPECT_EQ(frontEnd_.closeStatus, -1);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "site" / "about.html"));
}

}  // namespace
}  // namespace qn::test
