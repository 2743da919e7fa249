#include <gtest/gtest.h>

#include "web/Address.h"

namespace qn {
namespace {

TEST(RelativePath, LinuxPathsLieOnTheOneDrive) {
  EXPECT_EQ(MakeRelativePath("/home/u/site/a/b.htm", "/home/u/site/c/"), "../a/b.htm");
  EXPECT_EQ(MakeRelativePath("/home/u/site/a/b.htm", "/home/u/site/c"), "../a/b.htm");
  EXPECT_EQ(MakeRelativePath("/home/u/site/c/d/e.htm", "/home/u/site/c"), "d/e.htm");
  EXPECT_EQ(MakeRelativePath("/home/u/site/x.htm", "/home/u/site/c/d/"), "../../x.htm");
  EXPECT_EQ(MakeRelativePath("/etc/x.htm", "/home/u/"), "../../etc/x.htm");
  EXPECT_EQ(MakeRelativePath("/home/u/site\\a\\b.htm", "/home/u/site/"), "a/b.htm");
  // Case counts for local paths here: Site and site are two folders.
  EXPECT_EQ(MakeRelativePath("/home/u/Site/a.htm", "/home/u/site/"), "../Site/a.htm");
  // Unchanged: a target with "..", an empty base, no drive, or another drive.
  EXPECT_EQ(MakeRelativePath("/home/u/../x.htm", "/home/u/"), "/home/u/../x.htm");
  EXPECT_EQ(MakeRelativePath("/home/u/x.htm", ""), "/home/u/x.htm");
  EXPECT_EQ(MakeRelativePath("u/x.htm", "/home/"), "u/x.htm");
  EXPECT_EQ(MakeRelativePath("C:\\Sites\\x.htm", "/home/u/"), "C:\\Sites\\x.htm");
}

TEST(RelativePath, DriveLetterPaths) {
  EXPECT_EQ(MakeRelativePath("C:\\Sites\\a\\b.htm", "c:\\Sites\\c"), "../a/b.htm");
  EXPECT_EQ(MakeRelativePath("C:/Sites/a.htm", "C:\\Sites\\"), "a.htm");
  EXPECT_EQ(MakeRelativePath("D:\\x.htm", "C:\\Sites"), "D:\\x.htm");
}

TEST(JoinLocalPath, Rules) {
  EXPECT_EQ(JoinLocalPath("a/b.htm", "/home/u/site"), "/home/u/site/a/b.htm");
  EXPECT_EQ(JoinLocalPath("a\\b.htm", "/home/u/site/"), "/home/u/site/a/b.htm");
  EXPECT_EQ(JoinLocalPath("../a/b.htm", "/home/u/site/c/"), "/home/u/site/a/b.htm");
  EXPECT_EQ(JoinLocalPath("..\\..\\x.htm", "/home/u/site/c"), "/home/u/x.htm");
  EXPECT_EQ(JoinLocalPath("../../../../x.htm", "/home/u/"), "/x.htm");
  EXPECT_EQ(JoinLocalPath("/etc/x.htm", "/home/u/"), "/etc/x.htm");  // already absolute
  EXPECT_EQ(JoinLocalPath("\\etc\\x.htm", "/home/u/"), "/etc/x.htm");
  EXPECT_EQ(JoinLocalPath("x.htm", ""), "x.htm");
  EXPECT_EQ(JoinLocalPath("", "/home/u/"), "/home/u/");
  EXPECT_EQ(JoinLocalPath("D:\\x.htm", "C:\\Sites"), "D:/x.htm");
  EXPECT_EQ(JoinLocalPath("\\x.htm", "C:\\Sites"), "C:/x.htm");
  EXPECT_EQ(JoinLocalPath("a.htm", "C:\\Sites\\"), "C:/Sites/a.htm");
}

TEST(JoinLocalPath, UndoesMakeRelativePathUnderOneFolder) {
  const std::string folders[] = {"/home/u/site/c/", "/home/u/site/c", "/home/u/site/",
                                 "/home/u/site/a/deep/er/", "/"};
  const std::string targets[] = {"/home/u/site/a/b.htm",       "/home/u/site/c/x.htm",
                                 "/home/u/site/c/d/e/f.htm",   "/home/u/site/a b/c d.htm",
                                 "/home/u/site/my dir /x.htm", "/home/u/site/c",
                                 "/home/u/site/x.y.z",         "/home/u/site/cc/x.htm"};
  for (const auto& folder : folders)
    for (const auto& target : targets) {
      const std::string relative = MakeRelativePath(target, folder);
      EXPECT_EQ(relative.find('\\'), std::string::npos);
      EXPECT_EQ(JoinLocalPath(relative, folder), target) << relative << " from " << folder;
    }
}

}  // namespace
}  // namespace qn
