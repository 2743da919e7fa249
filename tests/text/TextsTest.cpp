#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "text/MessageIds.h"
#include "text/SizeText.h"
#include "text/TextFill.h"
#include "text/Texts.h"
#include "text/TimeText.h"

namespace qn {
namespace {

TEST(TextFill, FillsPlaceholdersThatFitTheirValues) {
  EXPECT_EQ(FillText(" Error (HTTP code %d) - '%s'", 404, "http://h/x"),
            " Error (HTTP code 404) - 'http://h/x'");
  EXPECT_EQ(FillText("%d%% of %u, %i left", 5, 100u, -3), "5% of 100, -3 left");
  EXPECT_EQ(FillText("Page %d/%d", 2, 7), "Page 2/7");
  EXPECT_EQ(FillText("%s", std::string(10000, 'a')).size(), 10000u);
  // A value is never read as a text to fill.
  EXPECT_EQ(FillText("'%s'", "%s%d%n"), "'%s%d%n'");
  EXPECT_EQ(FillText("%lld bytes", 5000000000LL), "5000000000 bytes");
}

TEST(TextFill, TextsWhosePlaceholdersDoNotFitAreShownAsWritten) {
  // Swapped, added, missing or foreign placeholders: nothing is substituted.
  EXPECT_EQ(FillText(" '%s' - (HTTP code %d)", 404, "http://h/x"), " '%s' - (HTTP code %d)");
  EXPECT_EQ(FillText("%d %d %s", 404, "u"), "%d %d %s");
  EXPECT_EQ(FillText("no placeholder", 404), "no placeholder");
  EXPECT_EQ(FillText("%x is hex", 255), "%x is hex");
  EXPECT_EQ(FillText("%5s right", "a"), "%5s right");
  EXPECT_EQ(FillText("100% sure", "a"), "100% sure");
  EXPECT_EQ(FillText("%n", 1), "%n");
  EXPECT_EQ(FillText("ends in %", 1), "ends in %");
  EXPECT_EQ(FillText("Converting Links in %d seconds"), "Converting Links in %d seconds");
}

TEST(Texts, AnInstalledTableReplacesBuiltInTextsForEveryCopy) {
  QNTexts texts;
  const QNTexts copy = texts;
  EXPECT_EQ(copy.Text(kMsgNewProject), "New Project");
  EXPECT_EQ(FormatSizeText(copy, 1536), "1.5 KB");

  texts.Install(std::make_shared<const QNTextTable>(
      std::unordered_map<int, std::string>{{kMsgNewProject, "Neues Projekt"},
                                           {kMsgUnitKB, "KiB"},
                                           {kMsgJanuary, "Januar"},
                                           {kMsgPM, "nachm."},
                                           {kMsgHttpError, " '%s' (HTTP %d)"}}));
  EXPECT_EQ(copy.Text(kMsgNewProject), "Neues Projekt");
  EXPECT_EQ(copy.Text(kMsgDownloading), "Downloading...");  // not translated
  EXPECT_EQ(FormatSizeText(copy, 1536), "1.5 KiB");
  std::tm t{};
  t.tm_year = 101;
  t.tm_mday = 7;
  t.tm_hour = 15;
  t.tm_min = 5;
  EXPECT_EQ(FormatTimeText(copy, t, false), "3:05 nachm., Januar 7, 2001");
  EXPECT_EQ(copy.Format(kMsgHttpError, 404, "u"), " '%s' (HTTP %d)");

  texts.Install(nullptr);
  EXPECT_EQ(copy.Text(kMsgNewProject), "New Project");
}

TEST(Texts, LookupsGoOnWhileTablesAreSwapped) {
  QNTexts texts;
  std::atomic<bool> done{false};
  std::thread reader([texts, &done] {
    while (!done) {
      const std::string text = texts.Text(kMsgUnitKB);
      ASSERT_TRUE(text == "KB" || text == "KiB") << text;
    }
  });
  for (int i = 0; i < 2000; ++i)
    texts.Install(i % 2 ? nullptr
                        : std::make_shared<const QNTextTable>(
                              std::unordered_map<int, std::string>{{kMsgUnitKB, "KiB"}}));
  done = true;
  reader.join();
}

}  // namespace
}  // namespace qn
