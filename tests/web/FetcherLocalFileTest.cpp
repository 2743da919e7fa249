#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "web/FetchTestRig.h"
#include "web/LocalFile.h"

namespace qn::test {
namespace {

class FetcherLocalFileTest : public ::testing::Test {
 protected:
  QNFetchResult Copy(const std::string& address, const std::string& local, int worker = 0) {
    CQNFetcher fetcher(rig_.Context());
    return fetcher.FetchToFile(address, local, worker, false, "", 0);
  }
  TempDir dir_;
  FetchRig rig_;
};

TEST_F(FetcherLocalFileTest, CopiesWithDate) {
  const std::string source = (dir_ / "site/a b.htm").string();
  WriteFile(source, std::string(30000, 's'));
  SetLocalFileTime(source, 1000000000);
  const std::string local = (dir_ / "out/sub/a.htm").string();
  const QNFetchResult r = Copy("file://" + source, local);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.size, 30000u);
  EXPECT_EQ(ReadFile(local), std::string(30000, 's'));
  EXPECT_EQ(LocalFileTime(local), 1000000000);
}

TEST_F(FetcherLocalFileTest, TheLocalFileItself) {
  const std::string file = (dir_ / "self.htm").string();
  WriteFile(file, "mine");
  QNFetchResult r = Copy("file://" + file, file);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(file), "mine");
  // The same file under another spelling is not destroyed by copying it onto itself.
  r = Copy("file://" + (dir_ / "./self.htm").string(), file);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(file), "mine");

  const std::string gone = (dir_ / "gone.htm").string();
  r = Copy("file://" + gone, gone);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (Number -1) - '" + gone + "'"});
}

TEST_F(FetcherLocalFileTest, MissingSourceAndStops) {
  const std::string local = (dir_ / "copy.htm").string();
  const std::string missing = (dir_ / "missing.htm").string();
  QNFetchResult r = Copy("file://" + missing, local);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.lastError, -1);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (Number -1) - '" + missing + "'"});

  const std::string source = (dir_ / "source.htm").string();
  WriteFile(source, "data");
  rig_.run.AbortFile(3);
  r = Copy("file://" + source, local, 3);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.stopped);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_FALSE(std::filesystem::exists(local));
  // A stopped copy goes back to be fetched again, as a stopped transfer does.
  rig_.run.stopRequest = true;
  r = Copy("file://" + source, local);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(std::filesystem::exists(local));
}

}  // namespace
}  // namespace qn::test
