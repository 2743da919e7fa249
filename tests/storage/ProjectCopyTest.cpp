#include <gtest/gtest.h>

#include <map>
#include <set>

#include "StorageRig.h"
#include "storage/ProjectOperations.h"
#include "storage/ZipArchive.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

class ProjectCopyTest : public ::testing::Test {
 protected:
  // Every file below the temporary folder with its contents and time.
  std::map<std::string, std::pair<std::string, fs::file_time_type>> Snapshot() const {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> out;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
      if (entry.is_regular_file())
        out[entry.path().string()] = {ReadFile(entry.path()), entry.last_write_time()};
    return out;
  }

  TempDir dir;
  SampleProject project{dir.path()};
  RecordingObserver observer;
};

TEST_F(ProjectCopyTest, PlainCopyKeepsTheLayoutBelowTheProjectFolder) {
  QNCopyRequest request;
  request.destination = (dir / "copy" / "deep").string();
  int calls = 0;
  ASSERT_TRUE(CopyProject(project.files, project.tree, request, observer, [&](int percent) {
    EXPECT_GT(percent, 0);
    EXPECT_LE(percent, 100);
    ++calls;
    return true;
  }));
  EXPECT_EQ(calls, 5);  // root and four links
  const fs::path copy = dir / "copy" / "deep";
  EXPECT_EQ(ReadFile(copy / "site.qnp"), ReadFile(project.files.project));
  EXPECT_EQ(ReadFile(copy / "site.log"), ReadFile(project.files.log));
  EXPECT_EQ(ReadFile(copy / "www" / "img" / "a.gif"), std::string(5000, 'g'));
  EXPECT_EQ(ReadFile(copy / "www" / "about.htm"), "about us");
  EXPECT_TRUE(observer.messages.empty());
}

TEST_F(ProjectCopyTest, CopyToTheOriginalFolderWritesNothing) {
  const auto before = Snapshot();
  for (const std::string& destination : std::vector<std::string>{
           project.Folder(), project.Folder() + "/", project.Folder() + "/../project"}) {
    QNCopyRequest request;
    request.destination = destination;
    observer.messages.clear();
    EXPECT_FALSE(CopyProject(project.files, project.tree, request, observer));
    EXPECT_EQ(observer.messages, std::vector<int>{65169}) << destination;
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProjectCopyTest, StopEndsTheWalkAndCountsAsSuccess) {
  QNCopyRequest request;
  request.destination = (dir / "copy").string();
  int calls = 0;
  ASSERT_TRUE(CopyProject(project.files, project.tree, request, observer,
                          [&](int) { return ++calls < 2; }));
  EXPECT_TRUE(fs::exists(dir / "copy" / "www" / "index.htm"));
  EXPECT_FALSE(fs::exists(dir / "copy" / "www" / "img" / "a.gif"));
}

TEST_F(ProjectCopyTest, UnreadableSavedFileFailsWith65170) {
  const std::string gif = project.SavedFiles()[2];
  fs::remove(gif);
  fs::create_directory(gif);  // exists, but cannot be copied as a file
  QNCopyRequest request;
  request.destination = (dir / "copy").string();
  EXPECT_FALSE(CopyProject(project.files, project.tree, request, observer));
  EXPECT_EQ(observer.messages, std::vector<int>{65170});
  // A saved file that is simply missing is passed over.
  fs::remove(gif);
  observer.messages.clear();
  EXPECT_TRUE(CopyProject(project.files, project.tree, request, observer));
}

TEST_F(ProjectCopyTest, ZipCopyWithoutPasswordIsAPlainArchive) {
  QNCopyRequest request;
  request.destination = (dir / "zips").string();
  request.asZip = true;
  ASSERT_TRUE(CopyProject(project.files, project.tree, request, observer));
  QNZipReader zip((dir / "zips" / "site.zip").string());
  EXPECT_FALSE(zip.AnyEncrypted());
  ASSERT_EQ(zip.Entries(), 5);
  EXPECT_EQ(zip.Name(0), EntryNameFor(project.files.project));
  EXPECT_EQ(zip.Name(1), EntryNameFor(project.files.log));
  EXPECT_EQ(zip.Name(2), EntryNameFor(project.SavedFiles()[0]));
}

TEST_F(ProjectCopyTest, ZipCopyWithPasswordOpensInInfoZip) {
  QNCopyRequest request;
  request.destination = (dir / "zips").string();
  request.asZip = true;
  request.projectFiles = false;
  request.password = "copy-pw";
  ASSERT_TRUE(CopyProject(project.files, project.tree, request, observer));
  const std::string archive = (dir / "zips" / "site.zip").string();
  QNZipReader zip(archive);
  EXPECT_EQ(zip.Entries(), 3);
  EXPECT_TRUE(zip.IsEncrypted(0));
  if (!HaveUnzip()) GTEST_SKIP() << "unzip is not installed";
  const fs::path out = dir / "unzipped";
  ASSERT_EQ(RunShell("/usr/bin/unzip -P copy-pw " + Quote(archive) + " -d " + Quote(out.string())),
            0);
  EXPECT_EQ(ReadFile(out / EntryNameFor(project.SavedFiles()[1])), "about us");
}

// The download folder beside the project file's folder: its files go below a folder
// of its name inside the destination, never above it.
TEST_F(ProjectCopyTest, ADownloadFolderElsewhereIsCopiedInsideTheDestination) {
  QNProjectFiles files;
  files.project = (dir / "projects" / "site.qnp").string();
  files.downloadFolder = (dir / "downloads" / "site").string() + "/";
  WriteFile(files.project, "project");
  CQNDocTree tree;
  tree.CreateRoot("Site");
  CQNDocNode* page = tree.AddLink(tree.root, true, files.downloadFolder + "www/index.htm");
  tree.AddLink(page, true, files.downloadFolder + "www/img/a.gif");
  // A file outside both folders, as a damaged project may name one, is not copied.
  tree.AddLink(page, true, (dir / "elsewhere.txt").string());
  WriteFile(files.downloadFolder + "www/index.htm", "index");
  WriteFile(files.downloadFolder + "www/img/a.gif", "gif");
  WriteFile(dir / "elsewhere.txt", "not the project's");
  const auto before = Snapshot();

  QNCopyRequest request;
  request.destination = (dir / "copy" / "deep").string();
  ASSERT_TRUE(CopyProject(files, tree, request, observer));

  const fs::path copy = dir / "copy" / "deep";
  EXPECT_EQ(ReadFile(copy / "site.qnp"), "project");
  EXPECT_EQ(ReadFile(copy / "site" / "www" / "index.htm"), "index");
  EXPECT_EQ(ReadFile(copy / "site" / "www" / "img" / "a.gif"), "gif");
  auto after = Snapshot();
  for (auto it = after.begin(); it != after.end();)
    it = it->first.starts_with(copy.string() + "/") ? after.erase(it) : std::next(it);
  EXPECT_EQ(after, before);
  std::set<std::string> written;
  for (const auto& entry : fs::recursive_directory_iterator(copy))
    if (entry.is_regular_file()) written.insert(fs::relative(entry.path(), copy).string());
  EXPECT_EQ(written,
            (std::set<std::string>{"site.qnp", "site/www/index.htm", "site/www/img/a.gif"}));
}

TEST_F(ProjectCopyTest, NothingHappensWithoutAContentsTree) {
  CQNDocTree empty;
  QNCopyRequest request;
  request.destination = (dir / "copy").string();
  EXPECT_FALSE(CopyProject(project.files, empty, request, observer));
  EXPECT_FALSE(fs::exists(dir / "copy"));
  EXPECT_TRUE(observer.messages.empty());
}

}  // namespace
}  // namespace qn::test
