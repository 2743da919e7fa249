#include <gtest/gtest.h>

#include "text/SizeText.h"

namespace qn {
namespace {

TEST(SizeText, UnitsAndRounding) {
  EXPECT_EQ(FormatSizeText(0), "0 bytes");
  EXPECT_EQ(FormatSizeText(0, true), "unknown");
  EXPECT_EQ(FormatSizeText(1023), "1023 bytes");
  EXPECT_EQ(FormatSizeText(1024), "1.0 KB");
  EXPECT_EQ(FormatSizeText(1536), "1.5 KB");
  EXPECT_EQ(FormatSizeText(1048575), "1024.0 KB");
  EXPECT_EQ(FormatSizeText(1048576), "1.0 MB");
  EXPECT_EQ(FormatSizeText(3u * 1073741824u), "3.0 GB");
  EXPECT_EQ(FormatSizeText(4294967295u), "4.0 GB");
}

}  // namespace
}  // namespace qn
