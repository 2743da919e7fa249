// The JSON bookmarks of Chromium-family browsers.

#include <gtest/gtest.h>

#include "BookmarkOutline.h"
#include "bookmarks/ChromiumBookmarks.h"

namespace qn {
namespace {

using test::Outline;

TEST(ChromiumBookmarksTest, ReadsTheTopFoldersInTheBrowsersOrder) {
  // Keys come in the order the browser writes them: "children" before "name".
  const auto tree = ReadChromiumBookmarks(R"json({
    "checksum": "0", "version": 1,
    "roots": {
      "other": {"children": [
          {"name": "Caf\u00e9 \"Z\"", "type": "url", "url": "https://z.example/?a=1&b=2"}],
        "name": "Other bookmarks", "type": "folder"},
      "synced": {"children": [], "name": "Mobile bookmarks", "type": "folder"},
      "bookmark_bar": {"children": [
          {"children": [
              {"name": "", "type": "url", "url": "http://deep.example/"},
              {"name": "Run", "type": "url", "url": "javascript:void(0)"}],
           "name": "Work: Tools", "type": "folder"},
          {"name": "Plain", "type": "url", "url": "http://plain.example/"},
          {"name": "Broken", "type": "url"}, 42, {"type": "folder"}],
        "name": "Bookmarks bar", "type": "folder"}
    }})json");
  EXPECT_EQ(Outline(tree),
            "Bookmarks bar/\n"
            "  Work$ Tools/\n"
            "    http$$$deep.example$ = http://deep.example/\n"
            "  Plain = http://plain.example/\n"
            "Other bookmarks/\n"
            "  Caf\xC3\xA9 $Z$ = https://z.example/?a=1&b=2\n"
            "Mobile bookmarks/\n");
}

TEST(ChromiumBookmarksTest, HostileTextGivesABoundedTree) {
  EXPECT_TRUE(ReadChromiumBookmarks("").items.empty());
  EXPECT_TRUE(ReadChromiumBookmarks("{\"roots\": [1, 2]}").items.empty());
  EXPECT_TRUE(ReadChromiumBookmarks("{\"roots\": {\"other\": {\"children\": [").items.empty());
  EXPECT_TRUE(ReadChromiumBookmarks(std::string(100000, '[')).items.empty());

  constexpr int kDepth = 10000;
  std::string json = R"({"roots": {"other": {"name": "Top", "type": "folder", "children": [)";
  for (int i = 0; i < kDepth; ++i) json += R"({"type": "folder", "name": "f", "children": [)";
  json += R"({"type": "url", "name": "x", "url": "http://x/"})";
  for (int i = 0; i < kDepth; ++i) json += "]}";
  json += "]}}}";
  const auto tree = ReadChromiumBookmarks(json);
  ASSERT_EQ(tree.items.size(), static_cast<std::size_t>(kMaxBookmarkDepth + 1));
  EXPECT_EQ(tree.items.back().address, "http://x/");
  EXPECT_EQ(tree.items.back().depth, kMaxBookmarkDepth);
}

TEST(ChromiumBookmarksTest, ProfilesAreNamedAsTheBrowserNamesThem) {
  const auto profiles = NameChromiumProfiles(
      R"({"profile": {"info_cache": {"Profile 1": {"name": "Work"}, "Default": {"name": 3}}}})",
      {"Default", "Profile 1", "Profile 2"});
  ASSERT_EQ(profiles.size(), 3u);
  EXPECT_EQ(profiles[0].name, "Default");
  EXPECT_EQ(profiles[1].name, "Work");
  EXPECT_EQ(profiles[2].name, "Profile 2");
  EXPECT_EQ(NameChromiumProfiles("not json", {"Default"})[0].name, "Default");
}

}  // namespace
}  // namespace qn
