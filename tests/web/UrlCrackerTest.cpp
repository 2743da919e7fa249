#include <gtest/gtest.h>

#include "web/UrlCracker.h"

namespace qn {
namespace {

TEST(UrlCrackerTest, Parts) {
  QNCrackedUrl u = CrackUrl("HTTP://Host.Example:8080/a/b.htm?x=1#frag");
  EXPECT_EQ(u.service, QNService::Http);
  EXPECT_EQ(u.server, "Host.Example");
  EXPECT_EQ(u.port, 8080);
  EXPECT_EQ(u.object, "/a/b.htm?x=1");

  u = CrackUrl("https://h");
  EXPECT_EQ(u.service, QNService::Https);
  EXPECT_EQ(u.port, 443);
  EXPECT_EQ(u.object, "/");

  u = CrackUrl("ftp://me:pw@h/dir\\f.zip");
  EXPECT_EQ(u.service, QNService::Ftp);
  EXPECT_EQ(u.userInfo, "me:pw");
  EXPECT_EQ(u.port, 21);
  EXPECT_EQ(u.object, "/dir/f.zip");

  u = CrackUrl("http://h?q=a\\b");
  EXPECT_EQ(u.object, "/?q=a\\b");
  u = CrackUrl("http://[::1]:81/x");
  EXPECT_EQ(u.server, "[::1]");
  EXPECT_EQ(u.port, 81);

  EXPECT_EQ(CrackUrl("file:///tmp/x").service, QNService::File);
  for (const char* bad : {"mailto:x", "http://", "http://h:99999/", "http://h:x/", "x/http://h/"})
    EXPECT_EQ(CrackUrl(bad).service, QNService::None) << bad;
}

TEST(UrlCrackerTest, RequestAddressesAreEscaped) {
  const QNCrackedUrl u = CrackUrl("http://h:81/x");
  EXPECT_EQ(RequestUrl(u, "/a b/c^d|e\"f.htm?q=%41&r=%zz"),
            "http://h:81/a%20b/c%5Ed%7Ce%22f.htm?q=%41&r=%25zz");
  EXPECT_EQ(RequestUrl(u, "/\xE4.htm"), "http://h:81/%E4.htm");
  EXPECT_EQ(RequestUrl(CrackUrl("ftp://u:p@h/"), "f"), "ftp://u:p@h:21/f");
}

}  // namespace
}  // namespace qn
