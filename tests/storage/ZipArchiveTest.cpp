#include <gtest/gtest.h>

#include "StorageRig.h"
#include "TestPaths.h"
#include "storage/ZipArchive.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

class ZipArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "a.txt", "alpha alpha alpha");
    WriteFile(dir / "b.bin", std::string("\0\1\2\3\xff", 5) + std::string(70000, 'z'));
  }
  std::string Write(const std::string& password) {
    const std::string archive = (dir / "out.zip").string();
    QNZipWriter zip(archive);
    zip.SetPassword(password);
    EXPECT_TRUE(zip.AddFile((dir / "a.txt").string(), "first/a.txt"));
    EXPECT_TRUE(zip.AddFile((dir / "b.bin").string(), "b.bin"));
    EXPECT_FALSE(zip.AddFile((dir / "a.txt").string(), "b.bin"));  // same name once only
    zip.Close();
    return archive;
  }
  TempDir dir;
};

TEST_F(ZipArchiveTest, EntriesKeepTheirOrderAndReadBackWithThePassword) {
  const std::string archive = Write("s3cret");
  QNZipReader zip(archive);
  ASSERT_EQ(zip.Entries(), 2);
  EXPECT_EQ(zip.Name(0), "first/a.txt");
  EXPECT_EQ(zip.Name(1), "b.bin");
  EXPECT_TRUE(zip.IsEncrypted(0));
  EXPECT_TRUE(zip.AnyEncrypted());
  EXPECT_FALSE(zip.IsLink(0));
  zip.Verify("s3cret");
  zip.Extract(1, "s3cret", (dir / "b.out").string());
  EXPECT_EQ(ReadFile(dir / "b.out"), ReadFile(dir / "b.bin"));
  // Compressed: 70000 equal bytes take far less room.
  EXPECT_LT(fs::file_size(archive), 2000u);
}

TEST_F(ZipArchiveTest, WrongOrMissingPasswordIsRefusedAndLeavesTheTargetAlone) {
  const std::string archive = Write("s3cret");
  QNZipReader zip(archive);
  WriteFile(dir / "keep.txt", "earlier");
  EXPECT_THROW(zip.Extract(0, "wrong", (dir / "keep.txt").string()), QNZipError);
  EXPECT_THROW(zip.Extract(0, "", (dir / "keep.txt").string()), QNZipPasswordError);
  EXPECT_THROW(zip.Verify("wrong"), QNZipError);
  EXPECT_EQ(ReadFile(dir / "keep.txt"), "earlier");
  // No temporary file is left beside the target.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 4);
}

TEST_F(ZipArchiveTest, WithoutPasswordEntriesAreNotEncrypted) {
  QNZipReader zip(Write(""));
  EXPECT_FALSE(zip.AnyEncrypted());
  zip.Extract(0, "", (dir / "a.out").string());
  EXPECT_EQ(ReadFile(dir / "a.out"), "alpha alpha alpha");
}

TEST_F(ZipArchiveTest, ArchiveNeverClosedLeavesNoFile) {
  {
    QNZipWriter zip((dir / "never.zip").string());
    zip.AddFile((dir / "a.txt").string(), "a.txt");
  }
  EXPECT_FALSE(fs::exists(dir / "never.zip"));
}

TEST_F(ZipArchiveTest, InfoZipOpensTheEncryptedArchive) {
  if (!HaveUnzip()) GTEST_SKIP() << "unzip is not installed";
  const std::string archive = Write("s3cret");
  const fs::path out = dir / "unzipped";
  ASSERT_EQ(RunShell("/usr/bin/unzip -P s3cret " + Quote(archive) + " -d " + Quote(out.string())),
            0);
  EXPECT_EQ(ReadFile(out / "first" / "a.txt"), "alpha alpha alpha");
  EXPECT_EQ(ReadFile(out / "b.bin"), ReadFile(dir / "b.bin"));
  EXPECT_NE(RunShell("/usr/bin/unzip -o -P wrong " + Quote(archive) + " -d " + Quote(out.string())),
            0);
}

TEST_F(ZipArchiveTest, PythonZipfileOpensTheEncryptedArchive) {
  if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
  const std::string archive = Write("s3cret");
  const std::string script =
      "import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "assert z.namelist() == ['first/a.txt', 'b.bin'], z.namelist()\n"
      "assert all(i.flag_bits & 1 for i in z.infolist())\n"
      "assert all(i.compress_type == zipfile.ZIP_DEFLATED for i in z.infolist())\n"
      "assert z.read('first/a.txt', pwd=b's3cret') == b'alpha alpha alpha'\n"
      "assert len(z.read('b.bin', pwd=b's3cret')) == 70005\n";
  WriteFile(dir / "check.py", script);
  EXPECT_EQ(RunShell(std::string(QN_PYTHON3) + " " + Quote((dir / "check.py").string()) + " " +
                     Quote(archive)),
            0);
}

TEST(EntryTarget, StaysBelowTheRoot) {
  EXPECT_EQ(EntryTarget("/", "home/u/a.htm"), "/home/u/a.htm");
  EXPECT_EQ(EntryTarget("/r", "/home/u/a.htm"), "/r/home/u/a.htm");
  EXPECT_EQ(EntryTarget("/r", "a/./b"), "/r/a/b");
  EXPECT_EQ(EntryTarget("/r", "../x"), std::nullopt);
  EXPECT_EQ(EntryTarget("/r", "a/../../x"), std::nullopt);
  EXPECT_EQ(EntryTarget("/r", "a\\..\\..\\x"), std::nullopt);
  EXPECT_EQ(EntryTarget("/r", "a/.."), std::nullopt);
  EXPECT_EQ(EntryTarget("/r", ""), std::nullopt);
  EXPECT_EQ(EntryTarget("/r", "//"), std::nullopt);
}

TEST(ProjectPaths, ArchiveReportAndEntryNames) {
  EXPECT_EQ(DownloadArchivePath("/p/site.qnp"), "/p/site.qnz");
  EXPECT_EQ(DownloadArchivePath("/p.d/site"), "/p.d/site.qnz");
  EXPECT_EQ(DownloadArchivePath(""), "");
  CQNSettings settings;
  settings.QN_PROJECT_DIR = "/sites/news[%d]";
  EXPECT_EQ(ReportCompanionPath("/sites/_QNReport/News_Report.htm"), "/sites/_QNReport/qnlogo.gif");
  EXPECT_EQ(EntryNameFor("/home/u/../u/a.htm"), "home/u/a.htm");
  settings.DownloadDir = "";
  EXPECT_EQ(DownloadFolderOf(settings), "/sites/news[%d]");
  settings.DownloadDir = "/dl/";
  EXPECT_EQ(DownloadFolderOf(settings), "/dl/");
}

}  // namespace
}  // namespace qn::test
