#include <gtest/gtest.h>

#include "text/MessageIds.h"
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

TEST(StringTable, ScheduleIntervalNamesFollowTheScheduleKinds) {
  const char* expected[] = {"Disabled",          "Daily", "Weekly", "Monthly", "Yearly", "Every",
                            "Following Previous"};
  for (int kind = 0; kind < 7; ++kind)
    EXPECT_STREQ(BuiltinString(kMsgIntervalDisabled + kind), expected[kind]) << kind;
}

}  // namespace
}  // namespace qn
