#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <random>

#include "StorageRig.h"
#include "TestPaths.h"
#include "storage/ProjectOperations.h"
#include "storage/ZipArchive.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

class DownloadEncryptionTest : public ::testing::TestWithParam<std::string> {
 protected:
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> out;
    for (const std::string& path : project.SavedFiles()) out[path] = ReadFile(path);
    out[project.files.report] = ReadFile(project.files.report);
    return out;
  }
  std::string Archive() const { return DownloadArchivePath(project.files.project); }
  bool Encrypt(bool deleteAfter = true) {
    return EncryptDownloadedFiles(Archive(), project.files, project.settings, project.tree,
                                  deleteAfter, observer);
  }

  TempDir dir;
  SampleProject project{dir.path()};
  RecordingObserver observer;
};

TEST_P(DownloadEncryptionTest, RoundTripPutsEveryFileBack) {
  project.settings.EncryptionPassword = GetParam();
  const auto before = Contents();
  const std::vector<std::string> saved = project.SavedFiles();
  ASSERT_TRUE(Encrypt());
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(observer.waits, std::vector<std::string>{"Encrypting Downloaded Files..."});
  for (const auto& [path, bytes] : before) EXPECT_FALSE(fs::exists(path)) << path;
  EXPECT_TRUE(project.SavedFiles().empty());
  // Emptied folders go; the project file and its log stay.
  EXPECT_FALSE(fs::exists(project.Folder() + "/www"));
  EXPECT_FALSE(fs::exists(project.Folder() + "/_QNReport"));
  EXPECT_TRUE(fs::exists(project.files.project));
  {
    QNZipReader zip(Archive());
    ASSERT_EQ(zip.Entries(), 5);
    EXPECT_EQ(zip.Name(0), EntryNameFor(saved[0]));
    EXPECT_EQ(zip.Name(2), EntryNameFor(saved[2]));
    EXPECT_EQ(zip.Name(3), EntryNameFor(project.files.report));
    EXPECT_EQ(zip.Name(4), EntryNameFor(ReportCompanionPath(project.files.report)));
    EXPECT_EQ(zip.AnyEncrypted(), !GetParam().empty());
  }
  CQNSettings reopened = project.settings;
  reopened.EncryptionPassword = GetParam();
  ASSERT_TRUE(DecryptDownloadedFiles(Archive(), reopened, observer));
  EXPECT_EQ(observer.passwordQuestions, 0);
  for (const auto& [path, bytes] : before) EXPECT_EQ(ReadFile(path), bytes) << path;
  EXPECT_FALSE(fs::exists(Archive()));
}

INSTANTIATE_TEST_SUITE_P(Passwords, DownloadEncryptionTest, ::testing::Values("", "pa55 word"));

using DownloadArchiveTest = DownloadEncryptionTest;

TEST_F(DownloadArchiveTest, KeepingFilesLeavesThemInPlace) {
  const auto before = Contents();
  ASSERT_TRUE(Encrypt(false));
  for (const auto& [path, bytes] : before) EXPECT_EQ(ReadFile(path), bytes);
  EXPECT_TRUE(fs::exists(Archive()));
}

TEST_F(DownloadArchiveTest, StandardToolsOpenTheArchive) {
  project.settings.EncryptionPassword = "s3cret";
  const std::string page = project.SavedFiles()[0];
  ASSERT_TRUE(Encrypt(false));
  if (HaveUnzip()) {
    const fs::path out = dir / "unzip";
    ASSERT_EQ(
        RunShell("/usr/bin/unzip -P s3cret " + Quote(Archive()) + " -d " + Quote(out.string())), 0);
    EXPECT_EQ(ReadFile(out / EntryNameFor(page)), ReadFile(page));
  }
  if (HavePython()) {
    EXPECT_EQ(
        RunShell(
            std::string(QN_PYTHON3) +
            " -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
            "assert z.read(sys.argv[2], pwd=b\"s3cret\") == open(sys.argv[3], \"rb\").read()' " +
            Quote(Archive()) + " " + Quote(EntryNameFor(page)) + " " + Quote(page)),
        0);
  }
  if (!HaveUnzip() && !HavePython()) GTEST_SKIP() << "no ZIP tool installed";
}

TEST_F(DownloadArchiveTest, WrongPasswordKeepsTheArchive) {
  project.settings.EncryptionPassword = "right";
  const std::string page = project.SavedFiles()[0];
  ASSERT_TRUE(Encrypt());
  CQNSettings reopened = project.settings;
  reopened.EncryptionPassword = "wrong";
  EXPECT_FALSE(DecryptDownloadedFiles(Archive(), reopened, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65161});
  EXPECT_TRUE(fs::exists(Archive()));
  EXPECT_FALSE(fs::exists(page));
}

TEST_F(DownloadArchiveTest, CancelledPromptLeavesFilesEncrypted) {
  project.settings.EncryptionPassword = "right";
  const std::string page = project.SavedFiles()[0];
  ASSERT_TRUE(Encrypt());
  CQNSettings reopened = project.settings;
  reopened.EncryptionPassword.clear();
  observer.answers = {std::nullopt};
  EXPECT_FALSE(DecryptDownloadedFiles(Archive(), reopened, observer));
  EXPECT_EQ(observer.passwordQuestions, 1);
  EXPECT_EQ(observer.messages, std::vector<int>{65165});
  EXPECT_TRUE(fs::exists(Archive()));
  EXPECT_FALSE(fs::exists(page));
  EXPECT_TRUE(reopened.EncryptionPassword.empty());
}

TEST_F(DownloadArchiveTest, OldArchiveIsKeptWhileItsFilesAreNotBack) {
  ASSERT_TRUE(Encrypt());
  const std::string archived = ReadFile(Archive());
  // A new file appears, the archived ones are still inside the archive.
  SampleProject later(dir.path());
  std::error_code ec;
  for (const std::string& path : later.SavedFiles())
    if (path.find("about") == std::string::npos) fs::remove(path, ec);
  observer.messages.clear();
  EXPECT_FALSE(
      EncryptDownloadedFiles(Archive(), later.files, later.settings, later.tree, true, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65160});
  EXPECT_EQ(ReadFile(Archive()), archived);
  EXPECT_TRUE(fs::exists(later.SavedFiles()[1]));  // about.htm
}

// A full disk while the archive is written: the child may write only a few KB.
int EncryptWithFileLimit(SampleProject& project, RecordingObserver& observer) {
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{16384, 16384};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool ok =
        EncryptDownloadedFiles(DownloadArchivePath(project.files.project), project.files,
                               project.settings, project.tree, true, observer);
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(DownloadArchiveTest, WriteFailureLosesNoFile) {
  std::mt19937 random(7);
  std::string noise(200000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  WriteFile(project.SavedFiles()[1], noise);
  const auto before = Contents();
  EXPECT_EQ(EncryptWithFileLimit(project, observer), 1);
  for (const auto& [path, bytes] : before) EXPECT_EQ(ReadFile(path), bytes) << path;
  EXPECT_FALSE(fs::exists(Archive()));

  // With an older archive present it comes back unchanged.
  WriteFile(dir / "small.htm", "small");
  CQNDocTree small;
  small.CreateRoot("x");
  small.AddLink(small.root, true, (dir / "small.htm").string());
  ASSERT_TRUE(EncryptDownloadedFiles(Archive(), {}, project.settings, small, false, observer));
  const std::string older = ReadFile(Archive());
  EXPECT_EQ(EncryptWithFileLimit(project, observer), 1);
  EXPECT_EQ(ReadFile(Archive()), older);
  for (const auto& [path, bytes] : before) EXPECT_EQ(ReadFile(path), bytes) << path;
}

// Entries return only into the download folder: an archive put beside a project by
// someone else writes nowhere else, and is kept with a message naming an entry.
TEST_F(DownloadArchiveTest, EntriesOutsideTheDownloadFolderAreRefusedAndTheArchiveKept) {
  const fs::path sandbox = dir / "sandbox";
  const fs::path target = dir / "victim.txt";
  WriteFile(dir / "payload", "owned");
  const std::string escaping =
      EntryNameFor(sandbox.string()) + "/../../../../../../../../" + EntryNameFor(target.string());
  const std::string archive = (dir / "evil.qnz").string();
  {
    QNZipWriter zip(archive);
    zip.AddFile((dir / "payload").string(), EntryNameFor((sandbox / "fine.txt").string()));
    zip.AddFile((dir / "payload").string(), escaping);
    zip.AddFile((dir / "payload").string(), EntryNameFor(target.string()));
    zip.AddFile((dir / "payload").string(), EntryNameFor((dir / "cron" / "job").string()));
    zip.Close();
  }
  CQNSettings settings;
  settings.DownloadDir = sandbox.string() + "/";
  EXPECT_FALSE(DecryptDownloadedFiles(archive, settings, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65205});
  EXPECT_TRUE(fs::exists(archive));
  EXPECT_EQ(ReadFile(sandbox / "fine.txt"), "owned");
  EXPECT_FALSE(fs::exists(target));
  EXPECT_FALSE(fs::exists(dir / "cron"));

  if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
  const std::string link = (dir / "link.qnz").string();
  ASSERT_EQ(RunShell(std::string(QN_PYTHON3) +
                     " -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1], \"w\"); "
                     "i = zipfile.ZipInfo(sys.argv[2]); i.create_system = 3; "
                     "i.external_attr = 0o120777 << 16; z.writestr(i, \"/etc\")' " +
                     Quote(link) + " " + Quote(EntryNameFor((sandbox / "ln").string()))),
            0);
  EXPECT_FALSE(DecryptDownloadedFiles(link, settings, observer));
  EXPECT_TRUE(fs::exists(link));
  EXPECT_FALSE(fs::exists(fs::symlink_status(sandbox / "ln")));
}

TEST_F(DownloadArchiveTest, NoArchiveIsNothingToDecrypt) {
  CQNSettings settings;
  EXPECT_TRUE(DecryptDownloadedFiles(Archive(), settings, observer));
  EXPECT_TRUE(DecryptDownloadedFiles("", settings, observer));
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(observer.passwordQuestions, 0);
}

}  // namespace
}  // namespace qn::test
