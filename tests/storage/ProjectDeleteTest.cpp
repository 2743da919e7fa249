#include <gtest/gtest.h>

#include "StorageRig.h"
#include "storage/EmptyFolders.h"
#include "storage/ProjectOperations.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

TEST(ProjectDelete, WithDownloadedFilesLeavesNothing) {
  TempDir dir;
  SampleProject project(dir.path());
  project.settings.QN_TITLE = "Site";
  fs::create_directories(project.Folder() + "/www/empty/er");
  DeleteProject(project.files, project.settings, project.tree, true, "/last/", "/p/");
  EXPECT_FALSE(fs::exists(project.Folder()));
  EXPECT_EQ(project.tree.root, nullptr);
  EXPECT_EQ(project.tree.count, 0);
  EXPECT_EQ(project.settings.QN_TITLE, CQNSettings().QN_TITLE);
}

TEST(ProjectDelete, WithoutDownloadedFilesKeepsThemButEmptiesFolders) {
  TempDir dir;
  SampleProject project(dir.path());
  RecordingObserver observer;
  EXPECT_FALSE(AskDeleteDownloaded(observer));  // No is preselected
  EXPECT_EQ(observer.messages, std::vector<int>{65054});
  const std::vector<std::string> saved = project.SavedFiles();
  fs::create_directories(project.Folder() + "/old/empty");
  DeleteProject(project.files, project.settings, project.tree, false, "/last/", "/p/");
  for (const std::string& path : saved) EXPECT_TRUE(fs::exists(path)) << path;
  EXPECT_FALSE(fs::exists(project.files.project));
  EXPECT_FALSE(fs::exists(project.files.log));
  EXPECT_FALSE(fs::exists(project.files.report));
  EXPECT_FALSE(fs::exists(fs::path(project.files.report).parent_path()));
  EXPECT_FALSE(fs::exists(project.Folder() + "/old"));
}

TEST(EmptyFolders, RemovesOnlyEmptyOnesAndNeverFollowsLinks) {
  TempDir dir;
  fs::create_directories(dir / "top" / "a" / "b");
  WriteFile(dir / "top" / "kept" / "file", "x");
  WriteFile(dir / "outside" / "file", "y");
  fs::create_directories(dir / "outside" / "empty");
  fs::create_directory_symlink(dir / "outside", dir / "top" / "link");
  RemoveEmptyFolders((dir / "top").string());
  EXPECT_FALSE(fs::exists(dir / "top" / "a"));
  EXPECT_TRUE(fs::exists(dir / "top" / "kept" / "file"));
  EXPECT_TRUE(fs::exists(dir / "outside" / "empty"));
  EXPECT_TRUE(fs::exists(dir / "top"));
  fs::remove(dir / "top" / "link");
  fs::remove_all(dir / "top" / "kept");
  RemoveEmptyFolders((dir / "top").string());
  EXPECT_FALSE(fs::exists(dir / "top"));
}

}  // namespace
}  // namespace qn::test
