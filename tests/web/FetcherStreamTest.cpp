// Servers that misbehave: wrong lengths, endless bodies, silence, broken connections.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/TempDir.h"
#include "support/TestServers.h"
#include "web/FetchTestRig.h"
#include "web/LocalFile.h"

namespace qn::test {
namespace {

std::string Head(const std::string& type, long long length = -1) {
  std::string h = "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nConnection: close\r\n";
  if (length >= 0) h += "Content-Length: " + std::to_string(length) + "\r\n";
  return h + "\r\n";
}

// Sends a body that never ends, until the client goes away.
void Endless(int socket, const std::string& type) {
  if (!RawHttpServer::Send(socket, Head(type))) return;
  const std::string block(16384, 'e');
  while (RawHttpServer::Send(socket, block)) {
  }
}

class FetcherStreamTest : public ::testing::Test {
 protected:
  QNFetchResult Fetch(const std::string& address, const std::string& file, bool report) {
    CQNFetcher fetcher(rig_.Context());
    EXPECT_TRUE(fetcher.OpenInternet(false));
    return fetcher.FetchToFile(address, Local(file), 0, report, "", 0);
  }
  std::string Local(const std::string& file) const { return (dir_ / file).string(); }

  TempDir dir_;
  FetchRig rig_;
};

TEST_F(FetcherStreamTest, FewerBytesThanAnnounced) {
  RawHttpServer server([](int socket, const std::string&) {
    RawHttpServer::Send(socket, Head("image/gif", 1000) + std::string(400, 'p'));
  });
  QNFetchResult r = Fetch(server.Url("/short.gif"), "short.gif", false);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_EQ(r.lastError, -3);
  EXPECT_FALSE(std::filesystem::exists(Local("short.gif")));
  EXPECT_TRUE(rig_.log.Lines().empty());

  // The last try logs the error; a cut file is never kept under the file's name.
  r = Fetch(server.Url("/short.gif"), "short.gif", true);
  EXPECT_EQ(r.lastError, -3);
  EXPECT_FALSE(std::filesystem::exists(Local("short.gif")));
  EXPECT_EQ(rig_.log.Lines(),
            std::vector<std::string>{" Error (Number -3) - '" + server.Url("/short.gif") + "'"});
}

TEST_F(FetcherStreamTest, MoreBytesThanAnnouncedAreNotStored) {
  RawHttpServer server([](int socket, const std::string&) {
    RawHttpServer::Send(socket, Head("image/gif", 100) + std::string(5000, 'm'));
  });
  const QNFetchResult r = Fetch(server.Url("/long.gif"), "long.gif", false);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.size, 100u);
  EXPECT_EQ(ReadFile(Local("long.gif")), std::string(100, 'm'));
}

TEST_F(FetcherStreamTest, EndlessBodyStopsAtTheSizeLimit) {
  RawHttpServer server([](int socket, const std::string& head) {
    Endless(socket, head.find(".htm") != std::string::npos ? "text/html" : "image/gif");
  });
  rig_.settings.QN_LIM_MAXFS = 1;
  rig_.settings.QN_MAX_MAXFS = 100000;
  QNFetchResult r = Fetch(server.Url("/endless.gif"), "endless.gif", false);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_FALSE(r.retryAdvised);
  EXPECT_FALSE(std::filesystem::exists(Local("endless.gif")));
  ASSERT_EQ(rig_.log.Lines().size(), 1u);
  EXPECT_NE(rig_.log.Lines()[0].find("exceeds the limit"), std::string::npos);

  // A page is kept up to the limit, so that its links can still be found; the check
  // after scanning then rejects it as too large.
  r = Fetch(server.Url("/endless.htm"), "endless.htm", false);
  EXPECT_TRUE(r.ok);
  EXPECT_GT(r.size, 100000u);
  EXPECT_LE(r.size, 100000u + 10240u);
  EXPECT_EQ(LocalFileSize(Local("endless.htm")), r.size);
}

TEST_F(FetcherStreamTest, AnnouncedHugePageIsCutAtTheLimit) {
  RawHttpServer server([](int socket, const std::string&) {
    if (!RawHttpServer::Send(socket, Head("text/html", 1LL << 40))) return;
    const std::string block(16384, 'h');
    while (RawHttpServer::Send(socket, block)) {
    }
  });
  rig_.settings.QN_LIM_MAXFS = 1;
  rig_.settings.QN_MAX_MAXFS = 50000;
  const QNFetchResult r = Fetch(server.Url("/huge.htm"), "huge.htm", true);
  EXPECT_TRUE(r.ok);
  EXPECT_LE(r.size, 50000u + 10240u);
  // Kept for its links, and the log tells that it was cut.
  ASSERT_EQ(rig_.log.Lines().size(), 1u);
  EXPECT_EQ(rig_.log.Lines()[0].rfind(" File '" + server.Url("/huge.htm") + "' (size ", 0), 0u);
  EXPECT_TRUE(rig_.log.Lines()[0].ends_with(") exceeds the limit"));
}

TEST_F(FetcherStreamTest, SizesBeyondFourGigabytesAreTold) {
  RawHttpServer server([](int socket, const std::string&) {
    // The head and a first piece; the rest would never be asked for.
    if (!RawHttpServer::Send(socket, Head("image/gif", 5LL << 30) + "GIF89a")) return;
    char c;
    while (::recv(socket, &c, 1, 0) > 0) {
    }
  });
  rig_.settings.QN_LIM_MAXFS = 1;
  rig_.settings.QN_MAX_MAXFS = 1048576;
  const QNFetchResult r = Fetch(server.Url("/huge.gif"), "huge.gif", true);
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_EQ(r.size, 5ULL << 30);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" File '" + server.Url("/huge.gif") +
                                                       "' (size 5.0 GB) exceeds the limit"});
}

TEST_F(FetcherStreamTest, UnannouncedSizeIsJudgedAfterTheTransfer) {
  RawHttpServer server([](int socket, const std::string& head) {
    const std::size_t n = head.find("tiny") != std::string::npos ? 50 : 500;
    RawHttpServer::Send(socket, Head("image/gif") + std::string(n, 'u'));
  });
  rig_.settings.QN_LIM_MINFS = 1;
  rig_.settings.QN_MAX_MINFS = 100;
  // Unknown before the transfer is not "too small"; 500 bytes pass.
  EXPECT_TRUE(Fetch(server.Url("/fine.gif"), "fine.gif", false).ok);
  EXPECT_TRUE(rig_.log.Lines().empty());
  const QNFetchResult r = Fetch(server.Url("/tiny.gif"), "tiny.gif", false);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_FALSE(std::filesystem::exists(Local("tiny.gif")));
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" File '" + server.Url("/tiny.gif") +
                                                       "' (size 50 bytes) is too small"});
}

TEST_F(FetcherStreamTest, BrokenConnectionWithoutLengthFails) {
  RawHttpServer server([](int socket, const std::string&) {
    // A chunked body that breaks off in the middle.
    RawHttpServer::Send(socket,
                        "HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\n"
                        "Transfer-Encoding: chunked\r\n\r\n400\r\n" +
                            std::string(0x400, 'c') + "\r\n400\r\nccc");
  });
  const QNFetchResult r = Fetch(server.Url("/cut.gif"), "cut.gif", true);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_GT(r.lastError, 12000);
  ASSERT_EQ(rig_.log.Lines().size(), 1u);
}

// A time-out of 0 is taken as the shortest one allowed, 10 seconds, not as none.
TEST_F(FetcherStreamTest, SilentServerTimesOutEvenWithATimeOutOfZero) {
  RawHttpServer server([](int socket, const std::string&) {
    // Read whatever comes until the client gives up.
    char c;
    while (::recv(socket, &c, 1, 0) > 0) {
    }
  });
  rig_.settings.QN_TIMEOUT = 0;
  const QNFetchResult r = Fetch(server.Url("/silent.htm"), "silent.htm", true);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_EQ(r.lastError, 12002);
  EXPECT_EQ(rig_.log.Lines(), std::vector<std::string>{" Error (Number 12002) - '" +
                                                       server.Url("/silent.htm") + "'"});
}

// Files may not grow past a size the system allows: every write fails from there on.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(FetcherStreamTest, WriteErrorStopsTheRun) {
  RawHttpServer server([](int socket, const std::string&) {
    RawHttpServer::Send(socket, Head("image/gif", 200000) + std::string(200000, 'w'));
  });
  QNFetchResult r;
  {
    FileSizeLimit limit(50000);
    r = Fetch(server.Url("/w.gif"), "w.gif", false);
  }
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.stopped);
  EXPECT_TRUE(rig_.run.stopRequest);
  EXPECT_FALSE(std::filesystem::exists(Local("w.gif")));
  EXPECT_EQ(rig_.log.Lines(),
            std::vector<std::string>{" Error writing file '" + Local("w.gif") + "'"});
}

}  // namespace
}  // namespace qn::test
