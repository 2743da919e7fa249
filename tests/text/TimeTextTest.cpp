#include <gtest/gtest.h>

#include "text/Texts.h"
#include "text/TimeText.h"

namespace qn {
namespace {

std::tm At(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

TEST(TimeText, TwelveAndTwentyFourHourClocks) {
  const QNTexts texts;
  EXPECT_EQ(FormatTimeText(texts, At(2001, 1, 7, 15, 5), true), "15:05, January 7, 2001");
  EXPECT_EQ(FormatTimeText(texts, At(2001, 1, 7, 15, 5), false), "3:05 PM, January 7, 2001");
  EXPECT_EQ(FormatTimeText(texts, At(2001, 12, 31, 0, 0), false), "12:00 AM, December 31, 2001");
  EXPECT_EQ(FormatTimeText(texts, At(2001, 6, 1, 12, 30), false), "12:30 PM, June 1, 2001");
  EXPECT_EQ(FormatTimeText(texts, At(2001, 6, 1, 11, 59), false), "11:59 AM, June 1, 2001");
  EXPECT_EQ(FormatTimeText(texts, At(2026, 3, 9, 0, 7), true), "0:07, March 9, 2026");
}

}  // namespace
}  // namespace qn
