// Compressed bodies: asked for and stored decoded, also when a server compresses
// without being asked; a compressed file of its own stays as sent.
#include <gtest/gtest.h>
#include <httplib.h>
#include <zlib.h>

#include <algorithm>
#include <mutex>

#include "support/TempDir.h"
#include "support/TestServers.h"
#include "text/SizeText.h"
#include "web/FetchTestRig.h"

namespace qn::test {
namespace {

// A compressor finishes its stream: each text needs one of its own.
template <typename Compressor>
std::string Compressed(const std::string& text) {
  Compressor compressor;
  std::string out;
  compressor.compress(text.data(), text.size(), true, [&out](const char* data, std::size_t n) {
    out.append(data, n);
    return true;
  });
  return out;
}

// zlib's own format, which the "deflate" encoding names.
std::string Deflated(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()), 9);
  out.resize(size);
  return out;
}

std::string Answer(const std::string& type, const std::string& encoding, const std::string& body,
                   long long length) {
  return "HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Encoding: " + encoding +
         "\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n" + body;
}

class FetcherEncodingTest : public ::testing::Test {
 protected:
  QNFetchResult Fetch(const std::string& address, const std::string& file, bool report = true) {
    CQNFetcher fetcher(rig_.Context());
    EXPECT_TRUE(fetcher.OpenInternet(false));
    return fetcher.FetchToFile(address, Local(file), 0, report, "", 0);
  }
  std::string Local(const std::string& file) const { return (dir_ / file).string(); }

  TempDir dir_;
  FetchRig rig_;
};

TEST_F(FetcherEncodingTest, EveryEncodingAServerSendsIsStoredDecoded) {
  std::string page = "<html><body>";
  for (int i = 0; i < 400; ++i) page += "<a href=\"p" + std::to_string(i) + ".html\">link</a>\n";
  page += "</body></html>";
  const std::map<std::string, std::pair<std::string, std::string>> bodies = {
      {"/gzip.html", {"gzip", Compressed<httplib::detail::gzip_compressor>(page)}},
      {"/br.html", {"br", Compressed<httplib::detail::brotli_compressor>(page)}},
      {"/deflate.html", {"deflate", Deflated(page)}},
  };
  std::mutex mutex;
  std::vector<std::string> heads;
  RawHttpServer server([&](int socket, const std::string& head) {
    {
      std::lock_guard lock(mutex);
      heads.push_back(head);
    }
    const std::string path = head.substr(4, head.find(' ', 4) - 4);
    const auto& [encoding, body] = bodies.at(path);
    RawHttpServer::Send(socket,
                        Answer("text/html", encoding, body, static_cast<long long>(body.size())));
  });

  for (const auto& [path, body] : bodies) {
    const QNFetchResult r = Fetch(server.Url(path), path.substr(1));
    ASSERT_TRUE(r.ok) << path;
    EXPECT_NE(body.second.size(), page.size());
    EXPECT_EQ(ReadFile(Local(path.substr(1))), page) << path;
    EXPECT_EQ(r.size, page.size()) << path;
    // The row shows the bytes that travel, and the progress goes by them.
    const auto statuses = rig_.observer.Statuses();
    const auto downloading =
        std::find_if(statuses.rbegin(), statuses.rend(), [](const QNStatus& st) {
          return (st.mask & QNStatus::kText1) && st.text3 == "Downloading...";
        });
    ASSERT_NE(downloading, statuses.rend());
    EXPECT_EQ(downloading->text2,
              FormatSizeText(QNTexts(), static_cast<std::uint32_t>(body.second.size()), true));
    EXPECT_EQ(rig_.observer.Progress().back().text3, "100 %");
  }
  ASSERT_EQ(heads.size(), 3u);
  for (const std::string& head : heads)
    for (const char* name : {"gzip", "deflate", "br"})
      EXPECT_NE(head.find(name, head.find("Accept-Encoding:")), std::string::npos) << head;
  EXPECT_TRUE(rig_.log.Lines().empty());
}

TEST_F(FetcherEncodingTest, CompressedPageIsJudgedUnchangedByItsDate) {
  const std::string page = "<p>" + std::string(3000, 'u') + "</p>";
  const std::string body = Compressed<httplib::detail::gzip_compressor>(page);
  std::string date = "Wed, 21 Oct 2015 07:28:00 GMT";
  RawHttpServer server([&](int socket, const std::string&) {
    RawHttpServer::Send(socket,
                        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Encoding: "
                        "gzip\r\nLast-Modified: " +
                            date + "\r\nContent-Length: " + std::to_string(body.size()) +
                            "\r\nConnection: close\r\n\r\n" + body);
  });
  ASSERT_EQ(Fetch(server.Url("/u.html"), "u.html").outcome, kTransferred);
  // The size on the wire is no size of the file; the date is what tells.
  EXPECT_EQ(Fetch(server.Url("/u.html"), "u.html").outcome, kKept);
  date = "Thu, 22 Oct 2015 07:28:00 GMT";
  EXPECT_EQ(Fetch(server.Url("/u.html"), "u.html").outcome, kTransferred);
  EXPECT_EQ(ReadFile(Local("u.html")), page);
}

TEST_F(FetcherEncodingTest, CompressedFileOfItsOwnIsKeptAsSent) {
  const std::string archive = Compressed<httplib::detail::gzip_compressor>(std::string(5000, 't'));
  std::string seen;
  RawHttpServer server([&](int socket, const std::string& head) {
    seen = head;
    // A server that names a .gz file's own compression as an encoding of the answer.
    RawHttpServer::Send(socket, Answer("application/x-tar", "gzip", archive,
                                       static_cast<long long>(archive.size())));
  });
  const QNFetchResult r = Fetch(server.Url("/pack.tar.gz"), "pack.tar.gz");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(ReadFile(Local("pack.tar.gz")), archive);
  EXPECT_EQ(seen.find("Accept-Encoding"), std::string::npos) << seen;
}

TEST_F(FetcherEncodingTest, DecodedSizeIsWhatTheLimitsJudge) {
  // A few kilobytes on the wire, two megabytes once decoded: over the 1 MB limit.
  using Gzip = httplib::detail::gzip_compressor;
  const std::string bomb = Compressed<Gzip>(std::string(2 << 20, '\0'));
  const std::string cut = Compressed<Gzip>("<p>cut</p>" + std::string(20000, 'x'));
  RawHttpServer server([&](int socket, const std::string& head) {
    if (head.starts_with("GET /bomb.gif"))
      RawHttpServer::Send(socket,
                          Answer("image/gif", "gzip", bomb, static_cast<long long>(bomb.size())));
    else  // the compressed body breaks off before its announced end
      RawHttpServer::Send(socket, Answer("text/html", "gzip", cut.substr(0, cut.size() / 2),
                                         static_cast<long long>(cut.size())));
  });
  QNFetchResult r = Fetch(server.Url("/bomb.gif"), "bomb.gif");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.outcome, kRefused);
  EXPECT_FALSE(std::filesystem::exists(Local("bomb.gif")));

  r = Fetch(server.Url("/cut.html"), "cut.html", false);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.retryAdvised);
  EXPECT_FALSE(std::filesystem::exists(Local("cut.html")));
}

}  // namespace
}  // namespace qn::test
