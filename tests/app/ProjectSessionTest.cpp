// A project session running a download against a local server and converting its
// links afterwards: what a stop does before and during that conversion.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "app/ProjectSession.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

constexpr int kPages = 4;

// The start page links kPages pages by full address; each links back the same way.
class LinkedPages {
 public:
  LinkedPages() {
    server_.server().Get(
        R"(/(\w+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
          const std::string home = "http://" + req.get_header_value("Host") + "/";
          std::string page;
          if (req.path == "/index.html")
            for (int p = 1; p <= kPages; ++p)
              page += "<a href=\"" + home + "p" + std::to_string(p) + ".html\">p</a>\n";
          else
            page = "<a href=\"" + home + "index.html\">home</a>\n";
          res.set_content(page, "text/html");
        });
    server_.Start();
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }

 private:
  HttpTestServer server_;
};

// Asks the run to stop at the chosen moment: when every start address is done (the
// download has ended, its pages are not converted yet), or at the first progress
// step of the conversion. The engine holds its status lock while it reports, so only
// the request itself is set, as Stop sets it.
class StoppingObserver : public IQNObserver {
 public:
  enum class When { kDownloadDone, kConverting };
  explicit StoppingObserver(When when) : when_(when) {}
  CQNDoc* doc = nullptr;

  void OnStatus(const QNStatus& status) override {
    const bool downloadDone = (status.mask & QNStatus::kProgress) && status.progress == -2;
    const bool converting = (status.mask & QNStatus::kStatusText) &&
                            status.text3.starts_with("Converting Links...") &&
                            status.text3.ends_with("%)");
    if ((when_ == When::kDownloadDone ? downloadDone : converting) && !stopped_.exchange(true))
      doc->run.stopRequest = true;
  }

 private:
  When when_;
  std::atomic<bool> stopped_{false};
};

struct Outcome {
  int converted = 0;  // saved pages whose links point at the copy
  int state = -1;     // DownloadState after the run
};

Outcome RunAndStop(StoppingObserver::When when) {
  TempDir dir;
  LinkedPages site;
  StoppingObserver observer(when);
  QNProjectSession session(observer, QNTexts());
  observer.doc = &session.doc;
  session.NewProject({}, dir.str());
  session.settings.QN_START_URL[0] = site.Url("/index.html");
  session.settings.QN_PROJECT_DIR = (dir / "copy/").string();
  QNRunEnvironment env;
  env.unattended = true;
  env.programDir = dir.str();
  session.InstallRunHooks(env);
  session.doc.SetRunEnvironment(std::move(env));
  EXPECT_TRUE(session.doc.StartDownload());
  EXPECT_TRUE(session.doc.WaitForRunEnd(std::chrono::seconds(60)));

  Outcome outcome;
  outcome.state = session.doc.SettingsCopy().DownloadState;
  for (const char* name : {"index.html", "p1.html", "p2.html", "p3.html", "p4.html"}) {
    const std::string page = ReadFile(dir / "copy" / name);
    EXPECT_FALSE(page.empty()) << name;
    if (page.find("http://") == std::string::npos) ++outcome.converted;
  }
  return outcome;
}

TEST(ProjectSession, AStopBeforeTheConversionStillConvertsTheSavedPages) {
  const Outcome outcome = RunAndStop(StoppingObserver::When::kDownloadDone);
  EXPECT_EQ(outcome.converted, kPages + 1);
  EXPECT_EQ(outcome.state, kInterrupted);
}

TEST(ProjectSession, AStopDuringTheConversionEndsItAndKeepsTheDownloadComplete) {
  const Outcome outcome = RunAndStop(StoppingObserver::When::kConverting);
  EXPECT_LT(outcome.converted, kPages + 1);
  EXPECT_EQ(outcome.state, kDownloadCompleted);
}

}  // namespace
}  // namespace qn::test
