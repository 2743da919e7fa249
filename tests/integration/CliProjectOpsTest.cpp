// The project operations of quillorne-cli: copies, deletion and encrypted projects.

#include <gtest/gtest.h>

#include <cstdlib>

#include "CliProcess.h"
#include "project/ProjectFile.h"
#include "records/DocTree.h"
#include "seams/Messenger.h"
#include "storage/ProjectOperations.h"
#include "storage/ZipArchive.h"
#include "support/ScopedEnv.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

// A saved project with two downloaded pages below its folder.
struct OpsProject {
  explicit OpsProject(const fs::path& dir) : folder(dir / "project") {
    files.project = (folder / "site.qnp").string();
    files.log = (folder / "site.log").string();
    settings.QN_PROJECT_DIR = folder.string() + "/";
    tree.CreateRoot("Site");
    pages = {(folder / "www" / "index.htm").string(), (folder / "www" / "a" / "b.htm").string()};
    CQNDocNode* page = tree.AddLink(tree.root, true, pages[0]);
    tree.AddLink(page, true, pages[1]);
    WriteFile(pages[0], "<a href=a/b.htm>b</a>");
    WriteFile(pages[1], "page b");
    WriteFile(files.log, "Download is Started\r\n");
  }
  void Save() {
    std::string error;
    ASSERT_TRUE(WriteProjectFile(files.project, settings, tree, error)) << error;
  }

  fs::path folder;
  QNProjectFiles files;
  CQNSettings settings;
  CQNDocTree tree;
  std::vector<std::string> pages;
};

TEST(CliProjectOps, CopiesPlainAndAsAnEncryptedZip) {
  TempDir dir;
  OpsProject project(dir.path());
  project.Save();
  std::string err;
  ASSERT_EQ(RunCli({project.files.project, "--copy", (dir / "plain").string()}, dir.path(), nullptr,
                   &err),
            0)
      << err;
  EXPECT_EQ(ReadFile(dir / "plain" / "site.qnp"), ReadFile(project.files.project));
  EXPECT_EQ(ReadFile(dir / "plain" / "www" / "a" / "b.htm"), "page b");

  WriteFile(dir / "pw.txt", "zip-pw\n");
  ASSERT_EQ(RunCli({project.files.project, "--copy", (dir / "zips").string(), "--zip",
                    "--password-file", (dir / "pw.txt").string()},
                   dir.path(), nullptr, &err),
            0)
      << err;
  QNZipReader zip((dir / "zips" / "site.zip").string());
  EXPECT_EQ(zip.Entries(), 4);
  EXPECT_TRUE(zip.AnyEncrypted());
  zip.Extract(3, "zip-pw", (dir / "b.out").string());
  EXPECT_EQ(ReadFile(dir / "b.out"), "page b");
}

TEST(CliProjectOps, CopyToTheProjectsOwnFolderIsRefused) {
  TempDir dir;
  OpsProject project(dir.path());
  project.Save();
  std::string err;
  EXPECT_EQ(
      RunCli({project.files.project, "--copy", project.folder.string()}, dir.path(), nullptr, &err),
      2);
  EXPECT_NE(err.find("You cannot copy the project to its original location."), std::string::npos)
      << err;
  EXPECT_EQ(RunCli({project.files.project, "--with-files"}, dir.path(), nullptr, &err), 2);
  EXPECT_NE(err.find("--with-files goes with --delete"), std::string::npos) << err;
}

TEST(CliProjectOps, DeletesWithAndWithoutTheDownloadedFiles) {
  TempDir dir;
  OpsProject project(dir.path());
  project.Save();
  ASSERT_EQ(RunCli({project.files.project, "--delete"}, dir.path()), 0);
  EXPECT_FALSE(fs::exists(project.files.project));
  EXPECT_FALSE(fs::exists(project.files.log));
  EXPECT_EQ(ReadFile(project.pages[1]), "page b");

  project.Save();
  ASSERT_EQ(RunCli({project.files.project, "--delete", "--with-files"}, dir.path()), 0);
  EXPECT_FALSE(fs::exists(project.folder));
}

// A project file that names a file outside its folders ("../outside/victim.htm", as
// someone else's project or a damaged one may): no operation touches that file.
TEST(CliProjectOps, FilesOutsideTheProjectAreNeitherConvertedNorCopiedNorDeleted) {
  TempDir dir;
  OpsProject project(dir.path());
  const fs::path victim = dir / "outside" / "victim.htm";
  const std::string victimText = "<a href=\"http://example.org/x.htm\">mine</a>";
  WriteFile(victim, victimText);
  CQNDocNode* stray = project.tree.AddLink(project.tree.root, true, victim.string());
  stray->SetUrl("http://example.org/victim.htm");
  stray->type = kCatHtml;
  stray->state = kStateDone;
  project.settings.QN_START_URL[0] = "http://example.org/index.htm";
  project.Save();

  std::string err;
  ASSERT_EQ(RunCli({project.files.project, "--convert"}, dir.path(), nullptr, &err), 0) << err;
  EXPECT_NE(err.find("outside its folders, such as '" + victim.string() + "'"), std::string::npos)
      << err;
  EXPECT_EQ(ReadFile(victim), victimText);

  // Each operation on the project file as it was made (the conversion saved it anew).
  project.Save();
  ASSERT_EQ(RunCli({project.files.project, "--copy", (dir / "copy" / "x").string()}, dir.path(),
                   nullptr, &err),
            0)
      << err;
  EXPECT_EQ(ReadFile(dir / "copy" / "x" / "www" / "a" / "b.htm"), "page b");
  EXPECT_FALSE(fs::exists(dir / "copy" / "outside"));
  EXPECT_FALSE(fs::exists(dir / "copy" / "x" / "outside"));

  project.Save();
  ASSERT_EQ(RunCli({project.files.project, "--delete", "--with-files"}, dir.path()), 0);
  EXPECT_FALSE(fs::exists(project.folder));
  EXPECT_EQ(ReadFile(victim), victimText);
}

// An encrypted project opens with QUILLORNE_PASSWORD and is encrypted again at the end.
TEST(CliProjectOps, EncryptedProjectOpensWithThePasswordFromTheEnvironment) {
  TempDir dir;
  OpsProject project(dir.path());
  project.settings.EncryptProjectFiles = 1;
  project.settings.EncryptDownloadedFiles = 1;
  project.settings.EncryptionPassword = "env-pw";
  project.Save();
  IQNObserver silent;
  const QNMessenger quiet{silent, QNTexts()};
  ASSERT_TRUE(EncryptProjectFiles(project.files.project, "env-pw", quiet));
  ASSERT_TRUE(EncryptDownloadedFiles(DownloadArchivePath(project.files.project), project.files,
                                     project.settings, project.tree, true, quiet));
  ASSERT_FALSE(fs::exists(project.pages[0]));

  {
    std::string err;
    ASSERT_EQ(RunCli({project.files.project, "--copy", (dir / "wrong").string()}, dir.path(),
                     nullptr, &err),
              2);  // no password: the project stays encrypted
    EXPECT_NE(err.find("Project files won't be decrypted."), std::string::npos) << err;
  }
  ScopedEnv password("QUILLORNE_PASSWORD", "env-pw");
  std::string err;
  ASSERT_EQ(
      RunCli({project.files.project, "--copy", (dir / "copy").string()}, dir.path(), nullptr, &err),
      0)
      << err;
  const std::string copied = ReadFile(dir / "copy" / "site.qnp");
  EXPECT_NE(copied.substr(0, 2), "PK");
  EXPECT_NE(copied.find(kProjectMagic), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "copy" / "www" / "index.htm"), "<a href=a/b.htm>b</a>");
  // Back in the archives after the run.
  EXPECT_EQ(ReadFile(project.files.project).substr(0, 2), "PK");
  EXPECT_FALSE(fs::exists(project.pages[0]));
  QNZipReader archive(DownloadArchivePath(project.files.project));
  EXPECT_EQ(archive.Entries(), 2);
  archive.Verify("env-pw");
}

}  // namespace
}  // namespace qn::test
