// The application object over a real options file and real project files: what
// opens first, what closing a modified project does, the periodic save, and when
// the options are written.
#include <gtest/gtest.h>

#include <fstream>

#include "app/Application.h"
#include "project/ProjectFile.h"
#include "support/QtCoreApp.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

// The answers a user would give, and what was asked.
class ScriptedFrontEnd : public IQNAppFrontEnd {
 public:
  QNSaveAnswer answer = QNSaveAnswer::kCancel;
  std::optional<std::string> savePath;
  int questions = 0;
  int pathQuestions = 0;
  int closeStatus = -1;

  QNSaveAnswer AskSaveChanges(const std::string&) override {
    ++questions;
    return answer;
  }
  std::optional<std::string> AskSavePath() override {
    ++pathQuestions;
    return savePath;
  }
  void RequestClose(int exitStatus) override { closeStatus = exitStatus; }
  void ProjectOpened() override {}
  void RestoreWindow() override {}
};

class ApplicationTest : public ::testing::Test {
 protected:
  // The periodic save is a timer, which needs an application object of Qt.
  QtCoreApp qt_;
  TempDir dir_;
  IQNObserver observer_;
  ScriptedFrontEnd frontEnd_;

  std::filesystem::path OptionsPath() const { return dir_ / "Quillorne.conf"; }

  std::unique_ptr<CQNApp> Start(const std::vector<std::string>& args = {}) {
    auto file = std::make_unique<QSettings>(QString::fromStdString(OptionsPath().string()),
                                            QSettings::IniFormat);
    QNAppFolders folders{dir_.str() + "/", dir_.str() + "/", dir_.str()};
    auto app = std::make_unique<CQNApp>(observer_, frontEnd_, folders, std::move(file));
    app->LoadOptions(QNScreenMetrics());
    app->ParseCommandLine(args);
    app->NewProject();
    return app;
  }

  // A project file whose title tells which save wrote it.
  std::string MakeProject(const std::string& name, const std::string& title) {
    auto app = Start();
    app->Session().settings.QN_TITLE = title;
    EXPECT_TRUE(app->Projects().SaveAs((dir_ / name).string()));
    return (dir_ / name).string();
  }

  std::string TitleIn(const std::string& path) {
    CQNSettings settings;
    CQNDocTree tree;
    std::ifstream in(path, std::ios::binary);
    return ReadProject(in, path, settings, tree, {}) ? settings.QN_TITLE : "(unreadable)";
  }
};

TEST_F(ApplicationTest, FirstOpenFromTheCommandLineOrTheRecentList) {
  const std::string a = MakeProject("a.qnp", "A");
  const std::string missing = (dir_ / "gone.qnp").string();

  EXPECT_EQ(Start({a, "-d", "-e"})->FirstOpen(), QNStartCommand::kStartDownload);
  EXPECT_EQ(Start({a, "-CONV"})->FirstOpen(), QNStartCommand::kConvertLinks);
  EXPECT_EQ(Start({a, "-CONV", "-D"})->FirstOpen(), QNStartCommand::kStartDownload);
  EXPECT_EQ(Start({a, "-E"})->FirstOpen(), QNStartCommand::kNone);
  // A project that does not open: a program meant to end by itself ends at once.
  EXPECT_EQ(Start({missing, "-D", "-E"})->FirstOpen(), QNStartCommand::kExitFailed);
  EXPECT_EQ(Start({missing, "-CONV", "-SHUT"})->FirstOpen(), QNStartCommand::kExitFailed);
  EXPECT_EQ(Start({missing, "-D"})->FirstOpen(), QNStartCommand::kNone);
  // Switches alone open no project and start nothing.
  EXPECT_EQ(Start({"-D", "-E"})->FirstOpen(), QNStartCommand::kNone);

  // AutoLoad: the most recent project opens; one that fails leaves the list.
  {
    auto app = Start();
    app->Options().recentFiles.Assign({missing, a});
    app->MarkStarted();
    EXPECT_EQ(app->FirstOpen(), QNStartCommand::kNone);
    EXPECT_EQ(app->Session().Path(), "");
    EXPECT_EQ(app->Options().recentFiles.Entries(), std::vector<std::string>{a});
    EXPECT_TRUE(app->SaveOptions());
  }
  {
    auto app = Start();
    app->FirstOpen();
    EXPECT_EQ(app->Session().Path(), a);
    EXPECT_EQ(app->Session().settings.QN_TITLE, "A");
  }
  {
    auto app = Start();
    app->Options().options.AutoLoad = false;
    app->FirstOpen();
    EXPECT_EQ(app->Session().Path(), "");
  }
}

TEST_F(ApplicationTest, ClosingAModifiedProject) {
  const std::string path = MakeProject("p.qnp", "saved");
  auto app = Start({path});
  app->FirstOpen();
  QNProjectLifecycle& projects = app->Projects();
  auto modify = [&](const std::string& title) {
    app->Session().settings.QN_TITLE = title;
    app->Session().doc.modified = true;
  };

  // AutoSave (the default): saved without a question.
  modify("auto");
  EXPECT_TRUE(projects.Close());
  EXPECT_EQ(frontEnd_.questions, 0);
  EXPECT_EQ(TitleIn(path), "auto");

  app->Options().options.AutoSave = false;
  ASSERT_TRUE(projects.Open(path, false));
  modify("cancelled");
  frontEnd_.answer = QNSaveAnswer::kCancel;
  EXPECT_FALSE(projects.Close());
  EXPECT_TRUE(projects.ProjectOpen());
  EXPECT_EQ(TitleIn(path), "auto");

  frontEnd_.answer = QNSaveAnswer::kDiscard;
  EXPECT_TRUE(projects.Close());
  EXPECT_FALSE(projects.ProjectOpen());
  EXPECT_EQ(TitleIn(path), "auto");
  EXPECT_EQ(frontEnd_.questions, 2);

  ASSERT_TRUE(projects.Open(path, false));
  modify("asked");
  frontEnd_.answer = QNSaveAnswer::kSave;
  EXPECT_TRUE(projects.Close());
  EXPECT_EQ(TitleIn(path), "asked");

  // Closing for a shutdown saves without a question.
  ASSERT_TRUE(projects.Open(path, false));
  modify("shutdown");
  app->Session().doc.run.closingForShutdown = true;
  EXPECT_TRUE(projects.Close());
  EXPECT_EQ(frontEnd_.questions, 3);
  EXPECT_EQ(TitleIn(path), "shutdown");
  app->Session().doc.run.closingForShutdown = false;

  // A new project has no name yet: the user is asked for one, and may cancel.
  app->Options().options.AutoSave = true;
  app->NewProject();
  app->Session().doc.modified = true;
  EXPECT_FALSE(projects.Close());
  EXPECT_EQ(frontEnd_.pathQuestions, 1);
  frontEnd_.savePath = (dir_ / "named.qnp").string();
  EXPECT_TRUE(projects.Close());
  EXPECT_TRUE(std::filesystem::exists(dir_ / "named.qnp"));
  EXPECT_EQ(app->Options().recentFiles.First(), (dir_ / "named.qnp").string());
}

TEST_F(ApplicationTest, PeriodicSave) {
  EXPECT_EQ(PeriodicSaveMs(5), 300000);
  EXPECT_EQ(PeriodicSaveMs(0), 60000);
  EXPECT_EQ(PeriodicSaveMs(-3), 60000);
  // A huge period holds as long as the timer can, instead of wrapping around.
  EXPECT_EQ(PeriodicSaveMs(std::numeric_limits<int>::max()), std::numeric_limits<int>::max());
  EXPECT_EQ(PeriodicSaveMs(40000), std::numeric_limits<int>::max());

  const std::string path = MakeProject("p.qnp", "first");
  auto app = Start({path});
  app->FirstOpen();
  const QNPeriodicSave& timer = app->Projects().PeriodicSave();
  EXPECT_TRUE(timer.Active());
  EXPECT_EQ(timer.IntervalMs(), 300000);

  app->Session().settings.QN_TITLE = "ticked";
  app->Session().doc.modified = true;
  app->Projects().PeriodicSaveTick();
  EXPECT_EQ(TitleIn(path), "ticked");
  // Modified afterwards only while a download runs.
  EXPECT_FALSE(app->Session().doc.modified);

  QNProgramOptions edited = app->Options().options;
  edited.AutoSaveValue = 2;
  app->ApplyOptions(edited);
  EXPECT_EQ(timer.IntervalMs(), 120000);
  edited.AutoSaveTime = false;
  app->ApplyOptions(edited);
  EXPECT_FALSE(timer.Active());
  app->Projects().RestartPeriodicSave();
  EXPECT_FALSE(timer.Active());
  edited.AutoSaveTime = true;
  app->ApplyOptions(edited);
  EXPECT_TRUE(app->Projects().Close());
  EXPECT_FALSE(timer.Active());
}

TEST_F(ApplicationTest, OptionsAreWrittenOnlyAfterACompleteStart) {
  {
    auto app = Start();
    app->Options().options.ProxyAddress = "not saved";
    EXPECT_TRUE(app->SaveOptions());
  }
  EXPECT_FALSE(std::filesystem::exists(OptionsPath()));

  std::map<std::string, std::string> env{{"http_proxy", "http://cache.lan:3128/"}};
  auto lookup = [&env](const char* name) -> const char* {
    const auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  };
  {
    auto app = Start();
    // The first run: the sheet's copy carries the system's proxy; the options do not
    // until the sheet is confirmed.
    const auto sheet = app->FirstRunOptions(lookup);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->UseProxy);
    EXPECT_EQ(sheet->ProxyAddress, "cache.lan");
    EXPECT_EQ(sheet->ProxyPort, 3128);
    EXPECT_FALSE(app->Options().options.UseProxy);
    EXPECT_FALSE(app->FirstRunOptions(lookup));
    app->MarkStarted();
    EXPECT_TRUE(app->SaveOptions());
  }
  auto again = Start();
  EXPECT_FALSE(again->Options().options.FirstRun);
  EXPECT_FALSE(again->FirstRunOptions(lookup));
}

}  // namespace
}  // namespace qn::test
