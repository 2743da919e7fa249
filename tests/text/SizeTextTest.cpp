#include <gtest/gtest.h>

#include "text/SizeText.h"
#include "text/Texts.h"

namespace qn {
namespace {

TEST(SizeText, UnitsAndRounding) {
  const QNTexts texts;
  EXPECT_EQ(FormatSizeText(texts, 0), "0 bytes");
  EXPECT_EQ(FormatSizeText(texts, 0, true), "unknown");
  EXPECT_EQ(FormatSizeText(texts, 1023), "1023 bytes");
  EXPECT_EQ(FormatSizeText(texts, 1024), "1.0 KB");
  EXPECT_EQ(FormatSizeText(texts, 1536), "1.5 KB");
  EXPECT_EQ(FormatSizeText(texts, 1048575), "1024.0 KB");
  EXPECT_EQ(FormatSizeText(texts, 1048576), "1.0 MB");
  EXPECT_EQ(FormatSizeText(texts, 3u * 1073741824u), "3.0 GB");
  EXPECT_EQ(FormatSizeText(texts, 4294967295u), "4.0 GB");
  // Sizes are 64 bits wide: larger files and totals are not cut to 4 GB.
  EXPECT_EQ(FormatSizeText(texts, 10ULL * 1073741824u), "10.0 GB");
  EXPECT_EQ(FormatSizeText(texts, 2048ULL * 1073741824u), "2048.0 GB");
}

}  // namespace
}  // namespace qn
