// The Welcome sheet of the first run.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "DialogRig.h"
#include "text/Texts.h"
#include "ui/FirstRunSheet.h"
#include "ui/WizardIds.h"

namespace qn {
namespace {

using test::Find;

TEST(FirstRunSheet, ChoosingADialUpEntryStoresTheDialUpConnection) {
  QNProgramOptions before;
  before.UseProxy = true;
  before.ProxyAddress = "proxy.example.org";
  before.RasEntry = "Office";
  QNFirstRunSheet sheet(before, QNTexts(), std::vector<std::string>{"Office", "Home modem"},
                        nullptr);
  sheet.show();
  auto* dialUp = Find<QRadioButton>(&sheet, kIdcConnDialUp);
  auto* entry = Find<QComboBox>(&sheet, kIdcConnEntry);
  ASSERT_TRUE(dialUp && entry);
  ASSERT_EQ(entry->count(), 2);
  EXPECT_FALSE(entry->isEnabled());

  QTest::mouseClick(dialUp, Qt::LeftButton);
  EXPECT_TRUE(entry->isEnabled());
  entry->setCurrentIndex(entry->findText("Home modem"));
  QTest::keyClicks(Find<QLineEdit>(&sheet, kIdcConnUser), " ann ");

  const QNProgramOptions after = sheet.Options();
  EXPECT_EQ(after.ConnType, kConnDialUp);
  EXPECT_EQ(after.RasEntry, "Home modem");
  EXPECT_EQ(after.RasUserID, "ann");
  // Dial-up takes the place of the proxy; its address stays for a later change back.
  EXPECT_FALSE(after.UseProxy);
  EXPECT_EQ(after.ProxyAddress, "proxy.example.org");
}

}  // namespace
}  // namespace qn
