#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "project/ProjectFile.h"
#include "project/ProjectTestSupport.h"
#include "settings/SafeFileWrite.h"
#include "support/TempDir.h"

namespace qn {
namespace {

std::vector<std::string> FolderListing(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeFileWrite, CreatesAndReplacesKeepingPermissions) {
  test::TempDir dir;
  const std::string path = (dir / "p.qnp").string();
  std::string error;
  ASSERT_TRUE(WriteFileSafely(path, "first", error)) << error;
  EXPECT_EQ(test::ReadFile(path), "first");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileSafely(path, std::string(100000, 'x'), error)) << error;
  EXPECT_EQ(test::ReadFile(path), std::string(100000, 'x'));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FolderListing(dir.path()), std::vector<std::string>{"p.qnp"});

  EXPECT_FALSE(WriteFileSafely((dir / "missing/p.qnp").string(), "x", error));
  EXPECT_NE(error.find("missing/p.qnp"), std::string::npos) << error;
}

// A project big enough that writing it cannot fit under a small file-size limit.
std::string BigProject(CQNSettings& s, CQNDocTree& tree) {
  s.ResetToDefaults("", "/p");
  s.QN_TITLE = "new";
  tree.CreateRoot("new");
  for (int i = 0; i < 2000; ++i)
    test::AddNode(tree, tree.root, kNodeLink, "page", "http://h/" + std::to_string(i) + ".htm", "");
  return FormatProject(s, tree, "/p/x.qnp");
}

// Runs `save` in a child whose files may not grow beyond `limit` bytes; returns the
// child's wait status.
template <typename Save>
int InChildWithFileLimit(rlim_t limit, bool ignoreSignal, Save save) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (ignoreSignal) std::signal(SIGXFSZ, SIG_IGN);
    const rlimit lim{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    ::_exit(save() ? 0 : 3);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST(SafeFileWrite, AFailedSaveLeavesTheOldProjectAndSaysWhy) {
  test::TempDir dir;
  const std::string path = (dir / "site.qnp").string();
  CQNSettings old;
  old.ResetToDefaults("", "/p");
  old.QN_TITLE = "old";
  CQNDocTree oldTree;
  oldTree.CreateRoot("old");
  std::string error;
  ASSERT_TRUE(WriteProjectFile(path, old, oldTree, error));
  const std::string before = test::ReadFile(path);

  CQNSettings s;
  CQNDocTree tree;
  ASSERT_GT(BigProject(s, tree).size(), 20000u);
  const int status = InChildWithFileLimit(8192, true, [&] {
    std::string why;
    const bool ok = WriteProjectFile(path, s, tree, why);
    // Tell the parent the reason through a file small enough for the limit.
    std::ofstream((dir / "why").string()) << why.substr(0, 200);
    return ok;
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(test::ReadFile(dir / "why").find("File too large"), std::string::npos);
  EXPECT_EQ(test::ReadFile(path), before);
  EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"site.qnp", "why"}));
}

TEST(SafeFileWrite, ASaveKilledHalfwayLeavesTheOldProjectReadable) {
  test::TempDir dir;
  const std::string path = (dir / "site.qnp").string();
  CQNSettings old;
  old.ResetToDefaults("", "/p");
  old.QN_TITLE = "old";
  CQNDocTree oldTree;
  oldTree.CreateRoot("old");
  std::string error;
  ASSERT_TRUE(WriteProjectFile(path, old, oldTree, error));

  CQNSettings s;
  CQNDocTree tree;
  BigProject(s, tree);
  // The signal of the exceeded limit ends the child in the middle of its write.
  const int status = InChildWithFileLimit(8192, false, [&] {
    std::string why;
    return WriteProjectFile(path, s, tree, why);
  });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

  std::ifstream in(path, std::ios::binary);
  CQNSettings t;
  CQNDocTree readTree;
  test::MessageRecorder rec;
  ASSERT_TRUE(ReadProject(in, path, t, readTree, rec.messages));
  EXPECT_EQ(t.QN_TITLE, "old");
}

}  // namespace
}  // namespace qn
