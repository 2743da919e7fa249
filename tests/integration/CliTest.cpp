// quillorne-cli as a user runs it: copies from an address, a template and a project,
// exit statuses, Ctrl+C, and a run killed in the middle and continued.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

#include "integration/CliProcess.h"
#include "project/ProjectFile.h"
#include "records/DocTree.h"
#include "support/TempDir.h"
#include "support/TestServers.h"

namespace qn::test {
namespace {

constexpr const char* kServerDate = "Wed, 21 Oct 2015 07:28:00 GMT";

// A site: one start page linking ten pages, each linking `imagesPerPage` images;
// every answer waits `delayMs` and carries a fixed date. Requests are counted.
class Site {
 public:
  explicit Site(int imagesPerPage = 3, int delayMs = 0) : images_(imagesPerPage), delay_(delayMs) {
    server_.server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
      {
        std::lock_guard lock(mutex_);
        ++requests_[req.path];
      }
      if (delay_) std::this_thread::sleep_for(std::chrono::milliseconds(delay_));
      const std::string body = Body(req.path);
      if (body.empty()) {
        res.status = 404;
        return;
      }
      res.set_header("Last-Modified", kServerDate);
      res.set_content(body, req.path.ends_with(".gif") ? "image/gif" : "text/html");
    });
    server_.Start();
  }

  std::string Url(const std::string& path) const { return server_.Url(path); }

  // Every file of the site, as paths below the download folder.
  std::set<std::string> Files() const {
    std::set<std::string> files{"index.html"};
    for (int p = 1; p <= 10; ++p) {
      files.insert("p" + std::to_string(p) + ".html");
      for (int i = 1; i <= images_; ++i)
        files.insert("img/" + std::to_string(p) + "_" + std::to_string(i) + ".gif");
    }
    return files;
  }

  std::string Body(const std::string& path) const {
    if (path == "/index.html") {
      std::string page = "<html><title>Start</title>";
      for (int p = 1; p <= 10; ++p)
        page += "<a href=\"p" + std::to_string(p) + ".html\">" + std::to_string(p) + "</a>";
      return page;
    }
    int p = 0;
    int i = 0;
    if (std::sscanf(path.c_str(), "/p%d.html", &p) == 1 && p >= 1 && p <= 10) {
      std::string page = "<html>";
      for (i = 1; i <= images_; ++i)
        page += "<img src=\"img/" + std::to_string(p) + "_" + std::to_string(i) + ".gif\">";
      return page;
    }
    if (std::sscanf(path.c_str(), "/img/%d_%d.gif", &p, &i) == 2 && p >= 1 && p <= 10 && i >= 1 &&
        i <= images_)
      return "GIF89a" + std::string(static_cast<std::size_t>(100 + p * 10 + i), 'x');
    return {};
  }

  std::map<std::string, int> Requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  int Total() {
    int total = 0;
    for (const auto& [path, n] : Requests()) total += n;
    return total;
  }
  void ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
  }

 private:
  int images_;
  int delay_;
  std::mutex mutex_;
  std::map<std::string, int> requests_;
  HttpTestServer server_;  // last: its handlers stop before the members they use go
};

struct SavedProject {
  CQNSettings settings;
  CQNDocTree tree;
  bool ok = false;

  explicit SavedProject(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    ok = in && ReadProject(in, path.string(), settings, tree, {});
  }
  std::set<std::string> UrlsIn(int state) const {
    std::set<std::string> urls;
    std::vector<const CQNDocNode*> stack{tree.root};
    while (!stack.empty()) {
      const CQNDocNode* node = stack.back();
      stack.pop_back();
      if (!node) continue;
      for (const CQNDocNode* c = node->firstChild; c; c = c->nextSibling) stack.push_back(c);
      if (node != tree.root && node->state == state) urls.insert(node->url);
    }
    return urls;
  }
};

std::set<std::string> FilesUnder(const std::filesystem::path& folder) {
  std::set<std::string> files;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      files.insert(std::filesystem::relative(entry.path(), folder).string());
  return files;
}

void ExpectSiteCopied(const Site& site, const std::filesystem::path& folder) {
  for (const std::string& file : site.Files())
    EXPECT_EQ(ReadFile(folder / file), site.Body("/" + file)) << file;
}

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Cli, CopiesASiteFromAnAddressAndSavesTheProjectWhenAsked) {
  TempDir dir;
  Site site;
  std::string out;
  std::string err;
  const int status =
      RunCli({site.Url("/index.html"), "-o", (dir / "copy").string(), "--set", "QN_THREADS=3",
              "--set", "QN_TITLE=Test site", "--save", (dir / "site.qnp").string()},
             dir.path(), &out, &err);

  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(err, "");
  // Off a terminal: the log's start, problem and end lines only.
  EXPECT_EQ(out.rfind("Download is Started (", 0), 0u) << out;
  EXPECT_NE(out.find("\nDownload is Completed ("), std::string::npos);
  EXPECT_NE(out.find("\nSummary:\n Number of Files: 41 "), std::string::npos) << out;
  EXPECT_EQ(FilesUnder(dir / "copy"), site.Files());
  ExpectSiteCopied(site, dir / "copy");
  for (const auto& [path, n] : site.Requests()) EXPECT_EQ(n, 1) << path;

  const SavedProject saved(dir / "site.qnp");
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(saved.settings.DownloadState, 2);
  EXPECT_EQ(saved.settings.QN_THREADS, 3);
  EXPECT_EQ(saved.settings.QN_TITLE, "Test site");
  EXPECT_EQ(saved.tree.root->title, "Test site");
  EXPECT_EQ(saved.settings.QN_START_URL[0], site.Url("/index.html"));
  EXPECT_EQ(saved.UrlsIn(kStateDone).size(), 41u);
  EXPECT_NE(ReadFile(dir / "site.log").find("Download is Completed"), std::string::npos);
}

TEST(Cli, RunsATemplateSavesItAsAProjectAndRunsThatProjectAgain) {
  TempDir dir;
  Site site(1);
  WriteFile(dir / "site.qnt", "// Quillorne Template\r\n\r\nQN_START_URL \t\t\"" +
                                  site.Url("/index.html") + "\"\r\nQN_PROJECT_DIR \t\t\"" +
                                  (dir / "files").string() + "/\"\r\nQN_THREADS \t\t2\r\n");
  std::string err;
  EXPECT_EQ(RunCli({(dir / "site.qnt").string(), "-d"}, dir.path(), nullptr, &err), 0) << err;
  EXPECT_EQ(FilesUnder(dir / "files"), site.Files());
  const SavedProject first(dir / "site.qnp");
  ASSERT_TRUE(first.ok);
  EXPECT_EQ(first.settings.DownloadState, 2);

  // Run again from the project: a run that completed starts anew and finds every
  // file unchanged.
  site.ClearRequests();
  std::string out;
  EXPECT_EQ(RunCli({(dir / "site.qnp").string(), "-D"}, dir.path(), &out, &err), 0) << err;
  EXPECT_EQ(site.Requests().size(), site.Files().size());
  EXPECT_NE(out.find("Total Size: 0 bytes"), std::string::npos) << out;

  // The template again, now that its project exists beside it: refused with the
  // reason, and neither the project nor its log is touched.
  const std::string project = ReadFile(dir / "site.qnp");
  const std::string log = ReadFile(dir / "site.log");
  site.ClearRequests();
  EXPECT_EQ(RunCli({(dir / "site.qnt").string(), "-d"}, dir.path(), &out, &err), 2);
  EXPECT_EQ(Lines(err), 1);
  EXPECT_NE(err.find((dir / "site.qnp").string() + "' already exists"), std::string::npos) << err;
  EXPECT_TRUE(site.Requests().empty());
  EXPECT_EQ(ReadFile(dir / "site.qnp"), project);
  EXPECT_EQ(ReadFile(dir / "site.log"), log);
}

TEST(Cli, ConvAloneConvertsTheSavedPagesWithoutADownload) {
  TempDir dir;
  std::atomic<int> requests{0};
  HttpTestServer server;
  server.server().Get("/index.html", [&](const httplib::Request& req, httplib::Response& res) {
    ++requests;
    res.set_content("<a href=\"http://" + req.get_header_value("Host") + "/about.html\">a</a>",
                    "text/html");
  });
  server.server().Get("/about.html", [&](const httplib::Request&, httplib::Response& res) {
    ++requests;
    res.set_content("<html>about</html>", "text/html");
  });
  server.Start();
  const std::string project = (dir / "site.qnp").string();
  std::string err;
  ASSERT_EQ(RunCli({server.Url("/index.html"), "-o", (dir / "copy").string(), "--save", project,
                    "--set", "QN_UPDLINKS=0"},
                   dir.path(), nullptr, &err),
            0)
      << err;
  ASSERT_NE(ReadFile(dir / "copy" / "index.html").find("http://"), std::string::npos);
  const int fetched = requests;

  EXPECT_EQ(RunCli({project, "-conv"}, dir.path(), nullptr, &err), 0) << err;
  EXPECT_EQ(ReadFile(dir / "copy" / "index.html"), "<a href=\"about.html\">a</a>");
  EXPECT_EQ(requests, fetched);
}

TEST(Cli, ExitStatusesCarryAOneLineReason) {
  TempDir dir;
  std::string out;
  std::string err;

  EXPECT_EQ(RunCli({(dir / "missing.qnp").string()}, dir.path(), &out, &err), 2);
  EXPECT_EQ(Lines(err), 1);
  EXPECT_NE(err.find("missing.qnp"), std::string::npos);

  EXPECT_EQ(RunCli({"http://127.0.0.1:9/", "--set", "QN_NO_SUCH=1"}, dir.path(), &out, &err), 2);
  EXPECT_EQ(Lines(err), 1);
  EXPECT_NE(err.find("QN_NO_SUCH"), std::string::npos);

  WriteFile(dir / "plain", "x");
  EXPECT_EQ(RunCli({"http://127.0.0.1:9/", "-o", (dir / "plain" / "sub").string()}, dir.path(),
                   &out, &err),
            2);
  EXPECT_EQ(Lines(err), 1);
  EXPECT_NE(err.find("could not start"), std::string::npos) << err;

  EXPECT_EQ(RunCli({"--frobnicate"}, dir.path(), &out, &err), 2);
  EXPECT_EQ(Lines(err), 1);

  Site site;
  EXPECT_EQ(RunCli({site.Url("/index.html"), "-o", (dir / "limited").string(), "--set",
                    "QN_LIM_FQ=1", "--set", "QN_MAX_FQ=3", "--set", "QN_THREADS=1"},
                   dir.path(), &out, &err),
            1);
  EXPECT_NE(out.find(" - Number of Files exceeded the limit"), std::string::npos) << out;
  EXPECT_LE(FilesUnder(dir / "limited").size(), 5u);  // three files and the log, at most one more

  EXPECT_EQ(RunCli({"--help"}, dir.path(), &out, &err), 0);
  for (const char* word : {"-D", "-CONV", "-E", "-SHUT", "-DISC", "-o", "--set", "--save",
                           "--autosave", "Ctrl+C", "Exit status"})
    EXPECT_NE(out.find(word), std::string::npos) << word;
}

TEST(Cli, CtrlCStopsInOrderAndTheSameCommandContinues) {
  TempDir dir;
  Site site(6, 40);
  const std::vector<std::string> args{
      site.Url("/index.html"),     "-o",    (dir / "copy").string(), "--save",
      (dir / "site.qnp").string(), "--set", "QN_THREADS=2"};
  CliProcess run(args, dir.path());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (site.Total() < 8 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  run.Signal(SIGINT);
  EXPECT_EQ(run.Wait(std::chrono::seconds(30)), 1) << run.Err();
  EXPECT_NE(run.Out().find("Download is Stopped ("), std::string::npos) << run.Out();
  const SavedProject stopped(dir / "site.qnp");
  ASSERT_TRUE(stopped.ok);
  EXPECT_EQ(stopped.settings.DownloadState, 1);
  const std::set<std::string> done = stopped.UrlsIn(kStateDone);
  EXPECT_LT(done.size(), site.Files().size());

  site.ClearRequests();
  std::string err;
  EXPECT_EQ(RunCli({(dir / "site.qnp").string(), "-D"}, dir.path(), nullptr, &err), 0) << err;
  ExpectSiteCopied(site, dir / "copy");
  // Continued: what was done is not asked for again.
  for (const auto& [path, n] : site.Requests()) {
    EXPECT_EQ(n, 1) << path;
    EXPECT_FALSE(done.count(site.Url(path))) << path;
  }
}

struct FileStamp {
  ino_t inode = 0;
  timespec changed{};
};

std::map<std::string, FileStamp> CompleteFiles(const Site& site,
                                               const std::filesystem::path& folder) {
  std::map<std::string, FileStamp> complete;
  for (const std::string& file : site.Files()) {
    struct stat st {};
    const std::string path = (folder / file).string();
    if (stat(path.c_str(), &st) != 0) continue;
    if (ReadFile(folder / file) != site.Body("/" + file)) continue;
    complete[file] = FileStamp{st.st_ino, st.st_ctim};
  }
  return complete;
}

TEST(Cli, ARunKilledInTheMiddleIsContinuedWithoutFetchingAnyFileTwice) {
  TempDir dir;
  Site site(14, 60);
  const std::filesystem::path project = dir / "site.qnp";
  // Without link conversion: it rewrites every page after the run by design, and this
  // test tells from the files' inodes that no fetch wrote a file twice.
  CliProcess run(
      {site.Url("/index.html"), "-o", (dir / "copy").string(), "--save", project.string(), "--set",
       "QN_THREADS=3", "--set", "QN_UPDLINKS=0", "--autosave", "1"},
      dir.path());
  // Killed once a save during the run holds a good part of the site.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::size_t savedDone = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    const SavedProject saved(project);
    if (saved.ok && saved.settings.DownloadState == 4) savedDone = saved.UrlsIn(kStateDone).size();
    if (savedDone >= 20) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_GE(savedDone, 20u);
  run.Signal(SIGKILL);
  ASSERT_EQ(run.Wait(std::chrono::seconds(10)), 128 + SIGKILL);

  const SavedProject killed(project);
  ASSERT_TRUE(killed.ok);
  EXPECT_EQ(killed.settings.DownloadState, 4);
  const std::set<std::string> recorded = killed.UrlsIn(kStateDone);
  ASSERT_LT(recorded.size(), site.Files().size());
  const std::map<std::string, FileStamp> complete = CompleteFiles(site, dir / "copy");

  site.ClearRequests();
  std::string out;
  std::string err;
  EXPECT_EQ(RunCli({project.string(), "-D"}, dir.path(), &out, &err), 0) << err;

  ExpectSiteCopied(site, dir / "copy");
  const SavedProject finished(project);
  ASSERT_TRUE(finished.ok);
  EXPECT_EQ(finished.settings.DownloadState, 2);
  EXPECT_EQ(finished.UrlsIn(kStateDone).size(), site.Files().size());
  // Files the killed run had recorded are not asked for again; files it had saved
  // completely but not yet recorded are asked about and found unchanged, so no file
  // is written twice.
  for (const auto& [path, n] : site.Requests()) {
    EXPECT_EQ(n, 1) << path;
    EXPECT_FALSE(recorded.count(site.Url(path))) << path;
  }
  for (const auto& [file, stamp] : complete) {
    struct stat st {};
    ASSERT_EQ(stat((dir / "copy" / file).c_str(), &st), 0);
    EXPECT_EQ(st.st_ino, stamp.inode) << file;
    EXPECT_EQ(st.st_ctim.tv_sec, stamp.changed.tv_sec) << file;
    EXPECT_EQ(st.st_ctim.tv_nsec, stamp.changed.tv_nsec) << file;
  }
}

TEST(Cli, OneCtrlCStopsEvenWhenTheServerNeverAnswers) {
  TempDir dir;
  SilentHttpServer silent;
  CliProcess run({silent.Url("/index.html"), "-o", (dir / "copy").string(), "--save",
                  (dir / "site.qnp").string(), "--set", "QN_TIMEOUT=120"},
                 dir.path());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (silent.Connections() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_GT(silent.Connections(), 0);
  run.Signal(SIGINT);
  // Far below the time-out of 120 s: the stop itself ends the request.
  EXPECT_EQ(run.Wait(std::chrono::seconds(30)), 1) << run.Err();
  silent.Release();
  EXPECT_EQ(run.Err().find("Stopping the download, please wait..."), std::string::npos);
  const SavedProject saved(dir / "site.qnp");
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(saved.settings.DownloadState, 1);
}

// A thread that no stop reaches (here opening a named pipe nobody writes to) is given
// up on by the second Ctrl+C after 10 seconds.
TEST(Cli, ASecondCtrlCStopsByForceWhenAThreadCannotStop) {
  TempDir dir;
  const std::filesystem::path pipe = dir / "pipe.htm";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  CliProcess run({"file://" + pipe.string(), "-o", (dir / "copy").string(), "--save",
                  (dir / "site.qnp").string()},
                 dir.path());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!std::filesystem::exists(dir / "site.qnp") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  run.Signal(SIGINT);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(run.Wait(std::chrono::milliseconds(0)), -1);  // the first one waits for the worker
  const auto start = std::chrono::steady_clock::now();
  run.Signal(SIGINT);
  const int status = run.Wait(std::chrono::seconds(40));
  const auto took = std::chrono::steady_clock::now() - start;
  ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));

  EXPECT_EQ(status, 1) << run.Err();
  EXPECT_GE(took, std::chrono::seconds(9));
  EXPECT_LT(took, std::chrono::seconds(25));
  EXPECT_NE(run.Err().find("Stopping the download, please wait..."), std::string::npos);
  const SavedProject saved(dir / "site.qnp");
  ASSERT_TRUE(saved.ok);
  EXPECT_EQ(saved.settings.DownloadState, 1);
}

}  // namespace
}  // namespace qn::test
