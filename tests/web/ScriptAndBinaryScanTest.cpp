// Discovery in script files, Java classes and Flash movies.

#include <gtest/gtest.h>

#include <sstream>

#include "ScanTestSupport.h"
#include "support/TempDir.h"

namespace qn {
namespace {

using Strings = std::vector<std::string>;

test::RecordingSink ScanBinaryBytes(const std::string& bytes, const CQNSettings& settings = {}) {
  test::RecordingSink sink;
  std::istringstream in(bytes);
  ScanBinary(in, bytes.size(), "http://host/swf/movie.swf", settings, {}, sink);
  return sink;
}

TEST(ScriptAndBinaryScanTest, ScriptFilesReportAddressLikeStrings) {
  test::TempDir dir;
  test::WriteFile(dir / "menu.js",
                  "var items = [\"a.htm\", 'b.htm', 'not an address'];\r\n"
                  "img.src = base + n;\n"
                  "open('http://other/x.html', \"_top\");\n");
  test::RecordingSink sink;
  CQNSettings settings;
  EXPECT_TRUE(ScanScriptFile("http://host/js/menu.js", "http://host/pages/index.htm",
                             dir / "menu.js", settings, {}, sink));
  // Links of a script resolve against the page that referred to it.
  EXPECT_EQ(sink.Addresses(),
            Strings({"http://host/pages/a.htm", "http://host/pages/b.htm", "http://other/x.html"}));
  for (const auto& link : sink.links) EXPECT_EQ(link.tag, -1);

  test::RecordingSink own;
  EXPECT_TRUE(ScanScriptFile("http://host/js/menu.js", "", dir / "menu.js", settings, {}, own));
  EXPECT_EQ(own.links.at(0).address, "http://host/js/a.htm");
  EXPECT_FALSE(ScanScriptFile("http://host/js/menu.js", "", dir / "none.js", settings, {}, own));
}

TEST(ScriptAndBinaryScanTest, ClassFilesReportFileNames) {
  const std::string classFile = std::string("\xCA\xFE\xBA\xBE\x00\x0Fimages/logo.gif\x01\x00", 22) +
                                "\x07Sound.AU\x02" + "back.zip" + "\x03.jpg" + "\x04x y\\z.txt";
  const auto sink = ScanBinaryBytes(classFile);
  // Entry by entry, lower case before upper case; archives are not looked for and a
  // bare extension is no name.
  EXPECT_EQ(sink.Texts(), Strings({"images/logo.gif", "Sound.AU", "x y\\z.txt"}));
  EXPECT_EQ(sink.Addresses().at(2), "http://host/swf/x y/z.txt");
}

TEST(ScriptAndBinaryScanTest, FlashMoviesReportAddressesBeforeFrameTargets) {
  const std::string movie = std::string("FWS\x05", 4) + "\x83" + "http://host/next.htm" +
                            std::string(1, '\0') + "_blank" + std::string(1, '\0') + "\x83" +
                            "menu.swf?x=1" + std::string(1, '\0') + "_TOP" + std::string(1, '\0');
  // File names stop at characters other than letters, digits, blanks, slashes and
  // "_"; the address before a frame target is taken whole. Flash movies themselves
  // ("swf", an Other extension) are not looked for by name.
  const auto sink = ScanBinaryBytes(movie);
  EXPECT_EQ(sink.Texts(), Strings({"//host/next.htm", "http://host/next.htm", "menu.swf?x=1"}));
  EXPECT_EQ(sink.Addresses(), Strings({"http://host/next.htm", "http://host/next.htm",
                                       "http://host/swf/menu.swf?x=1"}));
  // Without the signature the frame targets mean nothing.
  EXPECT_EQ(ScanBinaryBytes("CWS" + movie.substr(3)).Texts(), Strings({"//host/next.htm"}));
}

TEST(ScriptAndBinaryScanTest, LargeFilesAreReadInOverlappingBuffers) {
  // A name that straddles the end of the first buffer is found in the second.
  std::string bytes(kBinaryBufferSize - 4, '\x01');
  bytes += "banner.gif";
  bytes += std::string(kBinaryBufferSize, '\x02');
  bytes += "tail.png";
  const auto sink = ScanBinaryBytes(bytes);
  EXPECT_EQ(sink.Texts(), Strings({"banner.gif", "tail.png"}));

  // A stop request ends the scan without reporting.
  test::RecordingSink stopped;
  std::istringstream in(bytes);
  EXPECT_FALSE(
      ScanBinary(in, bytes.size(), "http://host/a.class", {}, {[] { return true; }, {}}, stopped));
  EXPECT_TRUE(stopped.links.empty());
  EXPECT_EQ(stopped.analysed, 1);
}

}  // namespace
}  // namespace qn
