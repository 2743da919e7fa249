// quillorne-cli killed at random moments of a download, from its first milliseconds
// on, and continued: the copy ends complete and intact, and no file that was complete
// when a run was killed is fetched again.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <random>
#include <set>

#include "integration/CliProcess.h"
#include "support/FaultServer.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

constexpr int kSections = 5;
constexpr int kItems = 5;

// A site of 56 files: a start page, five section pages, five item pages per section,
// and one picture per item, the pictures large enough to be cut by a kill. Every
// answer comes after a short wait, so a run takes a good part of a second.
class SlowSite {
 public:
  SlowSite() {
    std::string index = "<html><title>Start</title>";
    for (int s = 1; s <= kSections; ++s) {
      const std::string section = "s" + std::to_string(s);
      index += "<a href=\"" + section + "/index.html\">" + section + "</a>";
      std::string sectionPage = "<html>";
      for (int i = 1; i <= kItems; ++i) {
        const std::string item = std::to_string(i);
        sectionPage += "<a href=\"item" + item + ".html\">" + item + "</a>";
        Add(section + "/item" + item + ".html", "<html><img src=\"pic" + item + ".gif\">");
        Add(section + "/pic" + item + ".gif",
            "GIF89a" + std::string(static_cast<std::size_t>(150000 + 1000 * s + i), 'a' + i));
      }
      Add(section + "/index.html", sectionPage);
    }
    Add("index.html", index);
  }

  std::string Url(const std::string& file) const { return server.Url("/" + file); }
  const std::map<std::string, std::string>& Files() const { return files_; }

  FaultyHttpServer server;

 private:
  void Add(const std::string& file, std::string body) {
    FaultyPage page;
    page.body = body;
    page.type = file.ends_with(".gif") ? "image/gif" : "text/html";
    page.delay = std::chrono::milliseconds(40);
    server.Serve("/" + file, page);
    files_[file] = std::move(body);
  }

  std::map<std::string, std::string> files_;
};

// The inode of every file of the copy that is complete: a file fetched again is
// written anew and renamed into place, so its inode changes.
std::map<std::string, ino_t> CompleteFiles(const SlowSite& site, const fs::path& copy) {
  std::map<std::string, ino_t> complete;
  for (const auto& [file, body] : site.Files()) {
    struct stat st {};
    if (stat((copy / file).c_str(), &st) == 0 && ReadFile(copy / file) == body)
      complete[file] = st.st_ino;
  }
  return complete;
}

std::set<std::string> PartialFiles(const fs::path& copy) {
  std::set<std::string> partial;
  if (!fs::exists(copy)) return partial;
  for (const auto& entry : fs::recursive_directory_iterator(copy))
    if (entry.path().filename().string().ends_with(".qnpart"))
      partial.insert(entry.path().string());
  return partial;
}

// Kills a run after `delay`; false when it had ended by then.
bool KillAfter(CliProcess& run, std::chrono::milliseconds delay) {
  const bool running = run.Wait(delay) < 0;
  if (running) run.Signal(SIGKILL);
  EXPECT_GE(run.Wait(std::chrono::seconds(30)), 0);
  return running;
}

TEST(CrashRecovery, RunsKilledAtAnyMomentAreContinuedToACompleteCopy) {
  SlowSite site;
  std::mt19937 random(20240611);
  // The first kills fall on the very start (the first save of the project comes
  // before any fetch), the others anywhere in the run; every third trial kills the
  // continued run once more.
  const std::vector<int> early{0, 2, 5, 10, 20, 40, 70, 120};
  constexpr int kTrials = 24;
  int kills = 0;
  std::size_t attempts = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    TempDir dir;
    const fs::path copy = dir / "copy";
    const fs::path project = dir / "site.qnp";
    const std::vector<std::string> fresh{site.Url("index.html"), "-o",    copy.string(),  "--save",
                                         project.string(),       "--set", "QN_THREADS=4", "--set",
                                         "QN_UPDLINKS=0"};
    const auto delay = [&] {
      const std::size_t pick = attempts++;
      return std::chrono::milliseconds(pick < early.size() ? early[pick] : random() % 1000);
    };
    {
      CliProcess first(fresh, dir.path());
      kills += KillAfter(first, delay()) ? 1 : 0;
    }
    for (int round = trial % 3 == 0 ? 2 : 1; round > 0; --round) {
      const std::map<std::string, ino_t> before = CompleteFiles(site, copy);
      // Killed before its first save, the run left no project: it is begun again.
      std::vector<std::string> args{project.string(), "-D"};
      if (!fs::exists(project)) args = fresh;
      CliProcess next(args, dir.path());
      if (round > 1) {
        kills += KillAfter(next, delay()) ? 1 : 0;
      } else {
        ASSERT_EQ(next.Wait(std::chrono::seconds(120)), 0) << next.Err();
        EXPECT_NE(ReadFile(dir / "site.log").find("Download is Completed"), std::string::npos);
      }
      for (const auto& [file, inode] : before) {
        struct stat st {};
        ASSERT_EQ(stat((copy / file).c_str(), &st), 0) << file;
        EXPECT_EQ(st.st_ino, inode) << file << " was fetched again";
      }
    }
    for (const auto& [file, body] : site.Files()) EXPECT_EQ(ReadFile(copy / file), body) << file;
    EXPECT_EQ(PartialFiles(copy), std::set<std::string>{});
  }
  EXPECT_GE(kills, 20);
}

}  // namespace
}  // namespace qn::test
