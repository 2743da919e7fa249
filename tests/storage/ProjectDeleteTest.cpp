#include <gtest/gtest.h>

#include "StorageRig.h"
#include "storage/EmptyFolders.h"
#include "storage/ProjectOperations.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

TEST(ProjectDelete, WithDownloadedFilesRemovesOnlyTheFoldersItEmpties) {
  TempDir dir;
  SampleProject project(dir.path());
  project.settings.QN_TITLE = "Site";
  // The user's own empty folders, in the download folder and above it.
  fs::create_directories(project.Folder() + "/www/empty/er");
  fs::create_directories(dir / "mine");
  DeleteProject(project.files, project.settings, project.tree, true, "/last/", "/p/");
  EXPECT_FALSE(fs::exists(project.Folder() + "/www/img"));
  EXPECT_FALSE(fs::exists(project.Folder() + "/_QNReport"));
  EXPECT_TRUE(fs::exists(project.Folder() + "/www/empty/er"));
  EXPECT_TRUE(fs::exists(dir / "mine"));
  EXPECT_EQ(project.tree.root, nullptr);
  EXPECT_EQ(project.tree.count, 0);
  EXPECT_EQ(project.settings.QN_TITLE, CQNSettings().QN_TITLE);

  // Once nothing else is in it, the download folder goes too, but not its parent.
  SampleProject again(dir.path());
  fs::remove_all(again.Folder() + "/www/empty");
  DeleteProject(again.files, again.settings, again.tree, true, "/last/", "/p/");
  EXPECT_FALSE(fs::exists(again.Folder()));
  EXPECT_TRUE(fs::exists(dir.path()));
}

TEST(ProjectDelete, WithoutDownloadedFilesKeepsThemAndEveryFolderOfTheirs) {
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
  EXPECT_TRUE(fs::exists(project.Folder() + "/old/empty"));
}

TEST(EmptyFolders, OnlyFoldersLeftEmptyGoAndNeverPastTheTopOrThroughALink) {
  TempDir dir;
  const fs::path top = dir / "top";
  WriteFile(top / "a" / "b" / "gone.txt", "x");
  WriteFile(top / "kept" / "file", "x");
  WriteFile(top / "kept" / "sub" / "gone.txt", "x");
  fs::create_directories(top / "empty");
  WriteFile(dir / "outside" / "file", "y");
  fs::create_directory_symlink(dir / "outside", top / "link");
  const std::vector<std::string> deleted{(top / "a" / "b" / "gone.txt").string(),
                                         (top / "kept" / "sub" / "gone.txt").string(),
                                         (top / "link" / "file").string()};
  for (const std::string& file : deleted) fs::remove(file);
  RemoveFoldersLeftEmpty(deleted, top.string() + "/");
  EXPECT_FALSE(fs::exists(top / "a"));
  EXPECT_FALSE(fs::exists(top / "kept" / "sub"));
  EXPECT_TRUE(fs::exists(top / "kept" / "file"));
  EXPECT_TRUE(fs::exists(top / "empty"));
  EXPECT_TRUE(fs::is_symlink(top / "link"));
  EXPECT_TRUE(fs::exists(dir / "outside"));

  // A file above the top leaves every folder as it is.
  WriteFile(dir / "above" / "gone.txt", "z");
  fs::remove(dir / "above" / "gone.txt");
  RemoveFoldersLeftEmpty({(dir / "above" / "gone.txt").string()}, top.string());
  EXPECT_TRUE(fs::exists(dir / "above"));
}

}  // namespace
}  // namespace qn::test
