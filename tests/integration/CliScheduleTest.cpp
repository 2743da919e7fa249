// quillorne-cli --schedule on a server: a scheduled entry opens and downloads its
// project from a local server, dials and hangs up through a stand-in for nmcli and
// powers off through a stand-in for systemctl.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QSettings>

#include "integration/CliProcess.h"
#include "support/FakeCommands.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

using std::chrono::seconds;

// Two pages; every answer waits `delayMs`.
class TwoPageSite {
 public:
  explicit TwoPageSite(int delayMs = 0) {
    server_.server().Get(
        R"(/(\w+)\.html)", [delayMs](const httplib::Request& req, httplib::Response& res) {
          std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
          res.set_content(req.path == "/index.html" ? "<a href=\"about.html\">about</a>" : "about",
                          "text/html");
        });
    server_.Start();
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }

 private:
  HttpTestServer server_;
};

// quillorne-cli's options file in a folder of the test, and the stand-ins alone on
// its PATH.
class ProgramHome {
 public:
  // Dial-up with the "Office DSL" connection and the password "pw".
  void DialUp() {
    QSettings options = Options();
    options.setValue("Options/ConnType", 1);
    options.setValue("Options/RasEntry", "Office DSL");
    // Stored scrambled: reversed, each pair of bits swapped.
    options.setValue("Options/RasUserPsw", QByteArray("\xBB\xB0"));
    fakes.SetState("connections", "Wired\nOffice DSL\n");
  }
  // One entry downloading `project` every second, hanging up and shutting down after.
  void ScheduleEverySecond(const std::filesystem::path& project) {
    QSettings options = Options();
    options.setValue("Schedule/ProjectQuant", 1);
    options.setValue("Schedule/FieName01", QString::fromStdString(project.string()));
    options.setValue("Schedule/Data01", 5);
    options.setValue("Schedule/Time01", 1);
    options.setValue("Schedule/Other01", 1 | 1 << 8);
  }
  const TempDir& Dir() const { return dir_; }

  FakeCommands fakes;

 private:
  QSettings Options() const {
    return QSettings(QString::fromStdString((dir_ / "config/Lumbrook/Quillorne.conf").string()),
                     QSettings::IniFormat);
  }

  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", (dir_ / "config").string()};
};

// Makes the project by copying the site once, then removes the copy.
std::filesystem::path MakeProject(const TwoPageSite& site, const TempDir& dir) {
  const std::filesystem::path project = dir / "site.qnp";
  // Its output goes elsewhere, so that the schedule's output starts empty.
  std::filesystem::create_directories(dir / "make");
  std::string err;
  EXPECT_EQ(RunCli({site.Url("/index.html"), "-o", (dir / "copy").string(), "--save",
                    project.string(), "--set", "QN_UPDLINKS=0"},
                   dir / "make", nullptr, &err),
            0)
      << err;
  std::filesystem::remove_all(dir / "copy");
  return project;
}

TEST(CliSchedule, AnEntryDownloadsItsProjectThenHangsUpAndShutsDown) {
  TwoPageSite site;
  ProgramHome home;
  const std::filesystem::path project = MakeProject(site, home.Dir());
  home.DialUp();
  home.ScheduleEverySecond(project);

  std::string out;
  ASSERT_EQ(RunCli({"--schedule-list"}, home.Dir().path(), &out), 0);
  EXPECT_NE(out.find(" 1  Every 00:00:01  next: "), std::string::npos) << out;
  EXPECT_NE(out.find(project.string() + "  [Auto Disconnect]  [Auto Shutdown]"), std::string::npos)
      << out;

  // Off a terminal the countdowns confirm themselves; the power-off ends the program.
  CliProcess cli({"--schedule"}, home.Dir().path());
  ASSERT_EQ(cli.Wait(seconds(60)), 0) << cli.Out() << cli.Err();
  EXPECT_NE(cli.Err().find("the computer is being shut down"), std::string::npos) << cli.Err();
  EXPECT_EQ(ReadFile(home.Dir() / "copy" / "about.html"), "about");
  const std::string log = ReadFile(home.Dir() / "site.log");
  EXPECT_NE(log.find("Download is Completed"), std::string::npos) << log;
  EXPECT_EQ(log.find("Dialer Error"), std::string::npos) << log;

  const std::vector<std::string> nmcli = home.fakes.Calls("nmcli");
  ASSERT_GE(nmcli.size(), 3u);
  EXPECT_NE(std::find(nmcli.begin(), nmcli.end(), "connection down id Office DSL"), nmcli.end());
  int dials = 0;
  for (const std::string& call : nmcli) {
    EXPECT_EQ(call.find("pw "), std::string::npos) << call;
    dials += call.starts_with("-w 90 connection up id Office DSL passwd-file ");
  }
  EXPECT_EQ(dials, 1);
  EXPECT_EQ(home.fakes.Calls("systemctl"), std::vector<std::string>{"--no-ask-password poweroff"});
}

TEST(CliSchedule, ADialErrorIsLoggedAndARefusedShutdownOnlyEndsTheProgram) {
  TwoPageSite site;
  ProgramHome home;
  const std::filesystem::path project = MakeProject(site, home.Dir());
  home.DialUp();
  home.fakes.SetState("fail-up", "");
  home.fakes.SetState("exit-code", "1");

  std::string err;
  EXPECT_EQ(RunCli({project.string(), "-D", "-SHUT", "-DISC"}, home.Dir().path(), nullptr, &err), 0)
      << err;
  const std::string log = ReadFile(home.Dir() / "site.log");
  EXPECT_NE(log.find("Dialer Error: Error: Connection activation failed: No carrier on the line."),
            std::string::npos)
      << log;
  // The download went on without the connection.
  EXPECT_NE(log.find("Download is Completed"), std::string::npos) << log;
  EXPECT_EQ(ReadFile(home.Dir() / "copy" / "about.html"), "about");
  EXPECT_NE(err.find("the computer could not be shut down"), std::string::npos) << err;
  EXPECT_EQ(home.fakes.Calls("systemctl").size(), 1u);
  // Nothing was dialed, so nothing is hung up.
  for (const std::string& call : home.fakes.Calls("nmcli"))
    EXPECT_EQ(call.find("connection down"), std::string::npos) << call;
}

TEST(CliSchedule, CtrlCEndsTheScheduleInOrder) {
  TwoPageSite site(1500);
  ProgramHome home;
  const std::filesystem::path project = MakeProject(site, home.Dir());
  home.ScheduleEverySecond(project);

  CliProcess cli({"--schedule"}, home.Dir().path());
  const auto deadline = std::chrono::steady_clock::now() + seconds(30);
  while (cli.Out().find("Download is Started") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  cli.Signal(SIGINT);
  EXPECT_EQ(cli.Wait(seconds(30)), 0) << cli.Out() << cli.Err();
  const std::string log = ReadFile(home.Dir() / "site.log");
  EXPECT_NE(log.find("Download is Stopped"), std::string::npos) << log;
  // Stopped by the user: no end action.
  EXPECT_TRUE(home.fakes.Calls("systemctl").empty());
}

}  // namespace
}  // namespace qn::test
