#include <gtest/gtest.h>

#include "web/Address.h"

namespace qn {
namespace {

TEST(AddressParts, SchemesAreFoundWithoutRegardToCase) {
  EXPECT_TRUE(IsAbsoluteAddress("HTTP://host/"));
  EXPECT_TRUE(IsAbsoluteAddress("https://host/"));
  EXPECT_TRUE(IsAbsoluteAddress("Ftp://host/"));
  EXPECT_TRUE(IsAbsoluteAddress("file://C|/x.htm"));
  EXPECT_TRUE(IsAbsoluteAddress("  http://host/"));  // anywhere before the query
  EXPECT_FALSE(IsAbsoluteAddress("host/page.htm"));
  EXPECT_FALSE(IsAbsoluteAddress("mailto:me@host"));
  EXPECT_FALSE(IsAbsoluteAddress("http:page.htm"));

  EXPECT_EQ(GetSchemePrefix("https://host/"), "https://");
  EXPECT_EQ(GetSchemePrefix("FTP://host/"), "FTP://");
  EXPECT_EQ(GetSchemePrefix(" http://host/"), "");
  EXPECT_EQ(GetSchemePrefix("host/"), "");

  EXPECT_EQ(StripScheme("http://host/a.htm"), "host/a.htm");
  EXPECT_EQ(StripScheme("HTTPS://host/a.htm"), "host/a.htm");
  EXPECT_EQ(StripScheme("file://C|/a.htm"), "C|/a.htm");
  EXPECT_EQ(StripScheme("host/a.htm"), "host/a.htm");

  EXPECT_EQ(DropBareScheme("http:page.htm"), "page.htm");
  EXPECT_EQ(DropBareScheme("HTTPS:page.htm"), "page.htm");
  EXPECT_EQ(DropBareScheme("ftp:dir/x.zip"), "dir/x.zip");
  EXPECT_EQ(DropBareScheme("http://host/x.htm"), "http://host/x.htm");
  EXPECT_EQ(DropBareScheme("mailto:me"), "mailto:me");
}

TEST(AddressParts, AnAddressInTheQueryLendsNoScheme) {
  // A redirector's argument is not the address's own scheme.
  EXPECT_FALSE(IsAbsoluteAddress("go.asp?to=http://other/"));
  EXPECT_EQ(GetServerName("https://host/go?to=http://other/"), "host");
  EXPECT_EQ(StripScheme("https://host/go?to=http://other/"), "host/go?to=http://other/");
  EXPECT_EQ(GetPathStart("https://host/go?to=http://other/"), 12);
  // The scheme that comes first is the address's own, whatever its order in the list.
  EXPECT_EQ(GetServerName("https://archive.example/web/http://old.example/"), "archive.example");
  EXPECT_EQ(DropBareScheme("go.asp?u=http:x"), "go.asp?u=http:x");
  EXPECT_EQ(FileAddressToPath("http://host/?file:///etc/passwd"), std::nullopt);
}

TEST(AddressParts, ServerSiteRootAndPathStart) {
  EXPECT_EQ(GetServerName("http://host.example/dir/a.htm"), "host.example");
  EXPECT_EQ(GetServerName("http://host.example\\dir"), "host.example");
  EXPECT_EQ(GetServerName("http://host.example"), "host.example");
  EXPECT_EQ(GetServerName("host.example/dir"), "host.example");
  EXPECT_EQ(GetServerName("host.example"), std::nullopt);
  EXPECT_EQ(GetServerName("file:///home/u/x.htm"), "");  // the one drive has no name

  EXPECT_EQ(GetSiteRoot("http://host.example/dir/a.htm"), "http://host.example");
  EXPECT_EQ(GetSiteRoot("file://C|/Sites/a.htm"), "file://C|");
  EXPECT_EQ(GetSiteRoot("file:///home/u/a.htm"), "file://");
  EXPECT_EQ(GetSiteRoot("http://host.example"), std::nullopt);

  EXPECT_EQ(GetPathStart("http://host/dir"), 11);
  EXPECT_EQ(GetPathStart("http://host"), 10);
  EXPECT_EQ(GetPathStart("http://"), 6);
  EXPECT_EQ(GetPathStart("host/dir"), 4);
  EXPECT_EQ(GetPathStart("host"), -1);
  EXPECT_EQ(GetPathStart(""), -1);
  EXPECT_EQ(GetPathStart("file:///home/u/"), 7);

  EXPECT_TRUE(IsNetworkPathReference("//other/x.htm"));
  EXPECT_TRUE(IsNetworkPathReference("\\\\other\\x.htm"));
  EXPECT_FALSE(IsNetworkPathReference("/\\other"));
  EXPECT_FALSE(IsNetworkPathReference("/x.htm"));
}

TEST(AddressParts, DefaultSchemeAndFileAddresses) {
  EXPECT_EQ(AddDefaultScheme("host.example/a.htm"), "http://host.example/a.htm");
  EXPECT_EQ(AddDefaultScheme("C:\\Sites\\index.htm"), "file://C|\\Sites\\index.htm");
  EXPECT_EQ(AddDefaultScheme("x"), "http://x");
  // An absolute local path of this platform becomes a file address and back.
  EXPECT_EQ(AddDefaultScheme("/home/a/x.htm"), "file:///home/a/x.htm");
  EXPECT_EQ(FileAddressToPath("file:///home/a/x.htm"), "/home/a/x.htm");
  EXPECT_EQ(FileAddressToPath(AddDefaultScheme("/home/a/my site/x.htm")), "/home/a/my site/x.htm");

  EXPECT_EQ(FileAddressToPath("FILE://C|/Sites/index.htm"), "C:/Sites/index.htm");
  EXPECT_EQ(FileAddressToPath("file:///home/a\\b/x.htm"), "/home/a/b/x.htm");
  EXPECT_EQ(FileAddressToPath("file:///home/my dir /x.htm"), "/home/my dir_/x.htm");
  EXPECT_EQ(FileAddressToPath("http://host/x.htm"), std::nullopt);
}

TEST(AddressParts, FileName) {
  EXPECT_EQ(GetFileName("http://host/dir/page.htm"), "page.htm");
  EXPECT_EQ(GetFileName("http://host/dir/"), "");
  EXPECT_EQ(GetFileName("http://host/readme"), "");
  EXPECT_EQ(GetFileName("http://host/dir/page.htm;jsessionid=12.3"), "page.htm");
  EXPECT_EQ(GetFileName("http://host/cgi/prog.asp?a=1/b.htm"), "prog.asp");
  EXPECT_EQ(GetFileName("C:\\dir\\x^1.htm"), "");  // "^" starts a query too
  EXPECT_EQ(GetFileName("http://host/a.asp?x=1?y"), "a.asp");
  EXPECT_EQ(GetFileName("page.htm"), "page.htm");
  EXPECT_EQ(GetFileName(std::string(1100, 'a') + ".htm"), "");  // the extension was cut
}

TEST(AddressParts, Separators) {
  std::string s = "a/b c/d \\e";
  SlashesToBackslashes(s);
  EXPECT_EQ(s, "a\\b c\\d_\\e");
  BackslashesToSlashes(s);
  EXPECT_EQ(s, "a/b c/d_/e");
  s = "a/b\\c";
  ReplaceSeparators(s, '_');
  EXPECT_EQ(s, "a_b_c");
  s = "a\\b /c d";
  ToNativeSeparators(s);
  EXPECT_EQ(s, "a/b_/c d");
  EXPECT_EQ(FindFirstSeparator("ab\\c/d"), 2u);
  EXPECT_EQ(FindFirstSeparator("ab\\c/d", 3), 4u);
  EXPECT_EQ(FindLastSeparator("a/b\\c"), 3u);
  EXPECT_EQ(FindLastSeparator("abc"), std::string_view::npos);
  EXPECT_EQ(CutToBuffer(std::string(2000, 'x')).size(), kMaxAddressLength);
}

TEST(AddressParts, PercentDecoding) {
  std::string s = "a%20b%41%4a";
  EXPECT_TRUE(PercentDecode(s));
  EXPECT_EQ(s, "a bAJ");
  s = "%4g.htm";  // one digit suffices, and both characters go
  EXPECT_TRUE(PercentDecode(s));
  EXPECT_EQ(s, "\x04.htm");
  s = "%zz1";  // no digit: the "%" becomes "_" and the characters stay
  EXPECT_TRUE(PercentDecode(s));
  EXPECT_EQ(s, "_zz1");
  s = "x%4";
  EXPECT_TRUE(PercentDecode(s));
  EXPECT_EQ(s, "x_4");
  s = "%%41";
  EXPECT_TRUE(PercentDecode(s));
  EXPECT_EQ(s, "_A");
  s = "a%00b";
  EXPECT_TRUE(PercentDecode(s));
  EXPECT_EQ(s, "a_b");
  s = "plain";
  EXPECT_FALSE(PercentDecode(s));
  EXPECT_EQ(s, "plain");
}

TEST(AddressParts, CompareForms) {
  EXPECT_EQ(NormalizeForCompare("HTTP://Host/Dir/#Top"), "http://host/dir");
  EXPECT_EQ(NormalizeForCompare("http://host/dir\\"), "http://host/dir");
  EXPECT_EQ(NormalizeForCompare("http://host/dir//"), "http://host/dir/");

  EXPECT_TRUE(SamePathOrDirectory("http://a/b", "HTTP://A/B"));
  EXPECT_TRUE(SamePathOrDirectory("http://a/b", "http://a/b/"));
  EXPECT_TRUE(SamePathOrDirectory("http://a/b\\", "http://a/b"));
  EXPECT_FALSE(SamePathOrDirectory("http://a/b", "http://A/b/"));  // containment keeps case
  EXPECT_FALSE(SamePathOrDirectory("http://a/b", "http://a/b//"));
  EXPECT_FALSE(SamePathOrDirectory("http://a/b", "http://a/bc"));
  // Only the same address as a directory matches, not one that merely holds it.
  EXPECT_FALSE(SamePathOrDirectory("http://a/b", "http://x/?u=http://a/b/"));
}

}  // namespace
}  // namespace qn
