#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/TestServers.h"
#include "web/FetchTestRig.h"
#include "web/LocalFile.h"

namespace qn::test {
namespace {

constexpr std::time_t kFileDate = 1262347200;  // 2010-01-01 12:00:00 UTC

class FetcherFtpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(site_ / "pub/data.zip", std::string(12345, 'z'));
    SetLocalFileTime((site_ / "pub/data.zip").string(), kFileDate);
    WriteFile(site_ / "pub/page.htm", std::string("x\0y", 3));
    ftp_ = std::make_unique<FtpTestServer>(site_.path(), "alice", "secret");
    if (!ftp_->running()) GTEST_SKIP() << "pyftpdlib is not available";
  }

  QNFetchResult Fetch(const std::string& path, const std::string& file, bool report = true) {
    CQNFetcher fetcher(rig_.Context());
    EXPECT_TRUE(fetcher.OpenInternet(false));
    return fetcher.FetchToFile(ftp_->Url(path), Local(file), 0, report, "", 0);
  }
  std::string Local(const std::string& file) const { return (dir_ / file).string(); }

  TempDir site_;
  TempDir dir_;
  FetchRig rig_;
  std::unique_ptr<FtpTestServer> ftp_;
};

TEST_F(FetcherFtpTest, FileWithSizeAndDate) {
  const QNFetchResult r = Fetch("/pub/data.zip", "data.zip");
  ASSERT_TRUE(r.ok) << (rig_.log.Lines().empty() ? "" : rig_.log.Lines()[0]);
  EXPECT_EQ(r.size, 12345u);
  EXPECT_EQ(r.modified, kFileDate);
  EXPECT_EQ(ReadFile(Local("data.zip")), std::string(12345, 'z'));
  EXPECT_EQ(LocalFileTime(Local("data.zip")), kFileDate);
  // The size was known before the transfer: the row showed it, and so did progress.
  EXPECT_EQ(rig_.observer.RowTexts().back(), "Downloading...");
  EXPECT_EQ(rig_.observer.Progress().back().text3, "100 %");

  // FTP never says "text": zero bytes stay.
  ASSERT_TRUE(Fetch("/pub/page.htm", "page.htm").ok);
  EXPECT_EQ(ReadFile(Local("page.htm")), std::string("x\0y", 3));
}

TEST_F(FetcherFtpTest, SizeLimitFromTheListing) {
  rig_.settings.QN_LIM_MAXFS = 1;
  rig_.settings.QN_MAX_MAXFS = 1000;
  const QNFetchResult r = Fetch("/pub/data.zip", "data.zip");
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_FALSE(std::filesystem::exists(Local("data.zip")));
}

TEST_F(FetcherFtpTest, MissingFileIsRetried) {
  QNFetchResult r = Fetch("/pub/none.zip", "none.zip", false);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_TRUE(rig_.log.Lines().empty());
  r = Fetch("/pub/none.zip", "none.zip", true);
  EXPECT_EQ(rig_.log.Lines().size(), 1u);
  // A folder is no file.
  EXPECT_TRUE(Fetch("/pub/", "folder.htm", false).retryAdvised);
}

TEST_F(FetcherFtpTest, UserLogin) {
  rig_.settings.QN_USER_ID = "alice";
  rig_.settings.QN_PASSWORD = "secret";
  // A path that names the user's folder is read from the login folder on.
  ASSERT_TRUE(Fetch("/home/alice/pub/data.zip", "data.zip").ok);
  EXPECT_EQ(ReadFile(Local("data.zip")).size(), 12345u);

  // A refused login is no reason to try again.
  rig_.settings.QN_PASSWORD = "wrong";
  const QNFetchResult r = Fetch("/pub/data.zip", "data2.zip");
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_EQ(r.lastError, 12014);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (Number 12014) - '" +
                                                       ftp_->Url("/pub/data.zip") + "'"});
}

}  // namespace
}  // namespace qn::test
