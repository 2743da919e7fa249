#include <gtest/gtest.h>

#include "text/StringTable.h"

namespace qn {
namespace {

TEST(StringTable, LooksUpTextsAcrossTheTable) {
  EXPECT_STREQ(BuiltinString(55459), "The Project has been changed.\nDo you want to save it?");
  EXPECT_STREQ(BuiltinString(55508), "Summary:\r\n Number of Files: %d        Total Size: %s");
  EXPECT_STREQ(BuiltinString(65000), "January");
  EXPECT_STREQ(BuiltinString(65011), "December");
  EXPECT_STREQ(BuiltinString(65022), "Wednesday");
  EXPECT_STREQ(BuiltinString(65071), "The file  '%s' is not a valid Quillorne project.");
  EXPECT_STREQ(BuiltinString(65179), " Internal Error (Code %d)");
  EXPECT_STREQ(BuiltinString(1), "");
  EXPECT_STREQ(BuiltinString(99999), "");
}

TEST(StringTable, FormatsPlaceholders) {
  EXPECT_EQ(FormatText(BuiltinString(55504), 404, "http://h/x"),
            " Error (HTTP code 404) - 'http://h/x'");
  EXPECT_EQ(FormatText("plain %s"), "plain %s");
  const std::string huge(10000, 'a');
  EXPECT_EQ(FormatText("%s", huge.c_str()).size(), 4095u);
}

}  // namespace

TEST(StringTable, FillsACountIntoTextsFromOutside) {
  EXPECT_EQ(FillCount(BuiltinString(65100), 3), "Converting Links in 3 seconds");
  EXPECT_EQ(FillCount("%d%% - %d", 5), "5% - %d");
  // A translation with the wrong placeholder shows it rather than reading garbage.
  EXPECT_EQ(FillCount("in %s seconds %", 5), "in %s seconds %");
}

}  // namespace qn
