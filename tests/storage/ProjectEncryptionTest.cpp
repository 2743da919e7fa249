#include <gtest/gtest.h>

#include "StorageRig.h"
#include "TestPaths.h"
#include "project/ProjectFile.h"
#include "project/ProjectOpen.h"
#include "storage/Passwords.h"
#include "storage/ProjectArchives.h"
#include "storage/ProjectOperations.h"
#include "storage/ZipArchive.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

class ProjectEncryptionTest : public ::testing::Test {
 protected:
  TempDir dir;
  SampleProject project{dir.path()};
  RecordingObserver observer;
};

TEST_F(ProjectEncryptionTest, RoundTripWithAndWithoutPassword) {
  for (const std::string password : {"", "pw"}) {
    const std::string bytes = ReadFile(project.files.project);
    const std::string log = ReadFile(project.files.log);
    ASSERT_TRUE(EncryptProjectFiles(project.files.project, password, observer));
    EXPECT_EQ(ReadFile(project.files.project).substr(0, 2), "PK");
    EXPECT_FALSE(fs::exists(project.files.log));
    {
      QNZipReader zip(project.files.project);
      ASSERT_EQ(zip.Entries(), 2);
      EXPECT_EQ(zip.Name(0), "site.qnp");
      EXPECT_EQ(zip.Name(1), "site.log");
      EXPECT_EQ(zip.AnyEncrypted(), !password.empty());
    }
    CQNSettings settings;
    settings.EncryptionPassword = password;
    ASSERT_TRUE(DecryptProjectFiles(project.files.project, settings, observer));
    EXPECT_EQ(ReadFile(project.files.project), bytes);
    EXPECT_EQ(ReadFile(project.files.log), log);
  }
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(observer.passwordQuestions, 0);
}

TEST_F(ProjectEncryptionTest, AnArchiveIsNotEncryptedTwice) {
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "pw", observer));
  const std::string archive = ReadFile(project.files.project);
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "pw", observer));
  EXPECT_EQ(ReadFile(project.files.project), archive);
  EXPECT_EQ(observer.waits.size(), 1u);
  // A project never saved has nothing to encrypt.
  EXPECT_TRUE(EncryptProjectFiles("", "pw", observer));
}

TEST_F(ProjectEncryptionTest, CancelledPromptLeavesTheProjectEncrypted) {
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "pw", observer));
  const std::string archive = ReadFile(project.files.project);
  CQNSettings settings;
  observer.answers = {std::nullopt};
  EXPECT_FALSE(DecryptProjectFiles(project.files.project, settings, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65166});
  EXPECT_EQ(ReadFile(project.files.project), archive);
}

TEST_F(ProjectEncryptionTest, WrongPasswordFailsAndKeepsTheArchive) {
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "pw", observer));
  const std::string archive = ReadFile(project.files.project);
  CQNSettings settings;
  observer.answers = {std::string("nope")};
  EXPECT_FALSE(DecryptProjectFiles(project.files.project, settings, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65163});
  EXPECT_EQ(ReadFile(project.files.project), archive);
  EXPECT_FALSE(fs::exists(project.files.log));
}

TEST_F(ProjectEncryptionTest, PasswordAboveAsciiIsAskedAgain) {
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "pw", observer));
  CQNSettings settings;
  observer.answers = {std::string("p\xe9"), std::string("pw")};
  ASSERT_TRUE(DecryptProjectFiles(project.files.project, settings, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65164});
  EXPECT_EQ(settings.EncryptionPassword, "pw");
}

TEST_F(ProjectEncryptionTest, PythonZipfileReadsTheProjectArchive) {
  if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
  const std::string bytes = ReadFile(project.files.project);
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "pw", observer));
  WriteFile(dir / "expected", bytes);
  EXPECT_EQ(
      RunShell(std::string(QN_PYTHON3) +
               " -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
               "assert z.namelist() == [\"site.qnp\", \"site.log\"]; "
               "assert z.read(\"site.qnp\", pwd=b\"pw\") == open(sys.argv[2], \"rb\").read()' " +
               Quote(project.files.project) + " " + Quote((dir / "expected").string())),
      0);
}

// Closing encrypts both; opening asks once and serves both archives with the answer.
TEST_F(ProjectEncryptionTest, OpeningAsksOnceForBothArchives) {
  project.settings.EncryptProjectFiles = 1;
  project.settings.EncryptDownloadedFiles = 1;
  project.settings.EncryptionPassword = "pw";
  std::string error;
  ASSERT_TRUE(WriteProjectFile(project.files.project, project.settings, project.tree, error))
      << error;
  const std::vector<std::string> saved = project.SavedFiles();
  const std::string page = ReadFile(saved[0]);
  ASSERT_TRUE(EncryptOnClose(project.files, project.settings, project.tree, observer));
  EXPECT_FALSE(fs::exists(saved[0]));
  EXPECT_TRUE(fs::exists(DownloadArchivePath(project.files.project)));

  CQNSettings settings;
  CQNDocTree tree;
  QNOpenContext context;
  context.messages.observer = &observer;
  context.decryptProject = ProjectDecryptor(settings, observer);
  context.decryptDownloads = DownloadsDecryptor(observer);
  observer.answers = {std::string("pw")};
  std::string path = project.files.project;
  ASSERT_TRUE(OpenDocumentFile(path, settings, tree, context));
  EXPECT_EQ(observer.passwordQuestions, 1);
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(settings.EncryptionPassword, "pw");
  EXPECT_EQ(ReadFile(saved[0]), page);
  EXPECT_FALSE(fs::exists(DownloadArchivePath(project.files.project)));
  EXPECT_TRUE(fs::exists(project.files.log));
}

TEST(Passwords, PrivacyPageRules) {
  EXPECT_EQ(CheckPrivacyPassword(false, "", "", false), 0);
  EXPECT_EQ(CheckPrivacyPassword(true, "", "", false), 65153);
  EXPECT_EQ(CheckPrivacyPassword(true, "a", "", false), 65154);
  EXPECT_EQ(CheckPrivacyPassword(true, "a", "b", false), 65155);
  EXPECT_EQ(CheckPrivacyPassword(true, "a", "a", false), 0);
  EXPECT_EQ(CheckPrivacyPassword(true, "a", "", true), 0);
  EXPECT_TRUE(IsAsciiPassword("plain \x7f"));
  EXPECT_FALSE(IsAsciiPassword("caf\xc3\xa9"));
}

TEST(Passwords, RefusedAnswersEndAsCancel) {
  RecordingObserver observer;
  observer.answers = {std::string("\x80"), std::string("\x80"), std::string("\x80"),
                      std::string("late")};
  EXPECT_EQ(AskPassword(observer), std::nullopt);
  EXPECT_EQ(observer.messages, (std::vector<int>{65164, 65164, 65164}));
}

}  // namespace
}  // namespace qn::test
