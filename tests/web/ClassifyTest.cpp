#include <gtest/gtest.h>

#include "web/Address.h"

namespace qn {
namespace {

class Classify : public ::testing::Test {
 protected:
  ExtLists lists = DefaultExtLists();
  int Category(std::string_view address, bool strict = false) {
    return ClassifyAddress(address, lists, strict).category;
  }
};

TEST_F(Classify, CategoriesFollowTheListOrder) {
  EXPECT_EQ(Category("http://host/a.htm"), kCatHtml);
  EXPECT_EQ(Category("http://host/a.JPG"), kCatImage);
  EXPECT_EQ(Category("http://host/a.mp3"), kCatAudio);
  EXPECT_EQ(Category("http://host/a.avi"), kCatVideo);
  EXPECT_EQ(Category("http://host/a.class"), kCatJava);
  EXPECT_EQ(Category("http://host/a.pdf"), kCatDocument);
  EXPECT_EQ(Category("http://host/a.tar.gz"), kCatArchive);
  EXPECT_EQ(Category("http://host/a.7z"), kCatArchive);  // "z" ends the extension
  EXPECT_EQ(Category("http://host/a.swf"), kCatOther);
  EXPECT_EQ(Category("http://host/page.asp;jsessionid=1"), kCatHtml);

  // An entry in an earlier list wins over the same entry in a later one.
  lists[CategoryIndex(kCatOther)].push_back({"htm"});
  lists[CategoryIndex(kCatImage)].push_back({"swf"});
  EXPECT_EQ(Category("x.htm"), kCatHtml);
  EXPECT_EQ(Category("x.swf"), kCatImage);
}

TEST_F(Classify, NoFileNameAndUnknownExtensions) {
  EXPECT_EQ(Category("http://host/list?page=2"), kCatHtml);
  EXPECT_EQ(Category("http://host/list^page=2"), kCatHtml);
  EXPECT_EQ(Category("http://host/dir/"), kCatNone);
  EXPECT_EQ(Category("http://host/readme"), kCatNone);
  EXPECT_EQ(Category("http://host/a.qqq"), kCatOther);
  EXPECT_EQ(Category("http://host/a.qqq", true), kCatNone);
  EXPECT_TRUE(ClassifyAddress("http://host/a.qqq", lists, true).enabled);
}

TEST_F(Classify, EnabledFlagComesFromTheEntry) {
  lists[CategoryIndex(kCatImage)][0].enabled = 0;  // gif
  const Classification c = ClassifyAddress("http://host/a.GIF", lists, true);
  EXPECT_EQ(c.category, kCatImage);
  EXPECT_FALSE(c.enabled);
  EXPECT_TRUE(ClassifyAddress("http://host/a.png", lists, true).enabled);
}

TEST(ExtensionMatch, EntryOccursAndIsFollowedByAnEnd) {
  EXPECT_TRUE(ExtensionMatches("htm", "HTM"));
  EXPECT_TRUE(ExtensionMatches("tgz", "gz"));
  EXPECT_TRUE(ExtensionMatches("htm\r\n", "htm"));
  EXPECT_TRUE(ExtensionMatches("htm?x", "htm"));
  EXPECT_TRUE(ExtensionMatches("htm;y", "htm"));
  EXPECT_TRUE(ExtensionMatches("htm x", "htm"));
  EXPECT_TRUE(ExtensionMatches("aba", "a"));  // a later occurrence counts
  EXPECT_FALSE(ExtensionMatches("html", "htm"));
  EXPECT_FALSE(ExtensionMatches("htm", "html"));
  EXPECT_FALSE(ExtensionMatches("htm", ""));
  EXPECT_FALSE(ExtensionMatches("", "htm"));
}

TEST_F(Classify, ScriptStrings) {
  EXPECT_EQ(ClassifyScriptString("img/a.gif", lists, true).category, kCatImage);
  EXPECT_EQ(ClassifyScriptString("page.asp?x=1/y", lists, true).category, kCatHtml);
  EXPECT_EQ(ClassifyScriptString("pic.png^v=2/3", lists, true).category, kCatImage);
  // The last "?" leaves no file name; the text before the first one has it.
  EXPECT_EQ(ClassifyScriptString("pic.gif?x=/y?z", lists, true).category, kCatImage);
  EXPECT_EQ(ClassifyScriptString("pic.gif^x=/y^z", lists, true).category, kCatImage);
  EXPECT_EQ(ClassifyAddress("pic.gif?x=/y?z", lists, true).category, kCatHtml);
  EXPECT_EQ(ClassifyScriptString("list?page=2", lists, true).category, kCatNone);
  EXPECT_EQ(ClassifyScriptString("hello world", lists, false).category, kCatNone);
  EXPECT_EQ(ClassifyScriptString("data.qqq?x=1/y", lists, true).category, kCatNone);
  EXPECT_EQ(ClassifyScriptString("data.qqq?x=1/y", lists, false).category, kCatOther);
}

}  // namespace
}  // namespace qn
