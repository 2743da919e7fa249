// The bookmark picker on the offscreen platform, over sources found under a home
// folder that the test makes.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeWidget>

#include "support/FakeEnvironment.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "ui/BookmarkPicker.h"
#include "ui/ShownDialog.h"

namespace qn {
namespace {

namespace fs = std::filesystem;
using test::Variables;
using test::WriteFile;

// Waits until the picker shows what it was asked to read last.
bool Filled(QSignalSpy& spy) {
  return !spy.isEmpty() || spy.wait(10000);
}

QTreeWidgetItem* Find(QTreeWidget* tree, const QString& text) {
  const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

class BookmarkPickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(home_ / ".mozilla/firefox/profiles.ini",
              "[Profile0]\nName=home\nIsRelative=1\nPath=a.home\n\n"
              "[Profile1]\nName=work\nIsRelative=1\nPath=b.work\n");
    WriteFile(home_ / ".mozilla/firefox/a.home/bookmarks.html",
              "<H1>Bookmarks Menu</H1>\n<DL><p>\n<DT><H3>Shops</H3>\n<DL><p>\n"
              "<DT><A HREF=\"http://shop.example/?a=1&amp;b=2\">Shop</A>\n</DL><p>\n"
              "<DT><A HREF=\"http://news.example/\">News</A>\n</DL><p>\n");
    WriteFile(home_ / ".mozilla/firefox/b.work/bookmarks.html",
              "<H1>Work</H1>\n<DL><p>\n<DT><A HREF=\"http://intranet.example/\">Intranet</A>\n"
              "</DL><p>\n");
    WriteFile(home_ / "Favorites/Docs/Manual.url",
              "[InternetShortcut]\nURL=http://manual.example/\n");
  }

  std::vector<QNBookmarkSource> Sources() const {
    return FindBookmarkSources(Variables({{"HOME", home_.str()}}));
  }

  test::TempDir home_;
};

TEST_F(BookmarkPickerTest, PicksALinkOfTheChosenProfileAndSource) {
  CQNBookmarkPicker picker(Sources(), QNBookmarkBrowser::Netscape, QNTexts());
  QSignalSpy filled(&picker, &CQNBookmarkPicker::TreeFilled);
  picker.show();
  auto* tree = picker.findChild<QTreeWidget*>();
  const auto boxes = picker.findChildren<QComboBox*>();
  auto* ok = picker.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  ASSERT_EQ(boxes.size(), 2);
  QComboBox* sources = boxes[0];
  QComboBox* profiles = boxes[1];

  ASSERT_TRUE(Filled(filled));
  EXPECT_EQ(picker.windowTitle(), "Import Netscape Bookmarks");
  EXPECT_TRUE(profiles->isVisible());
  EXPECT_EQ(profiles->count(), 2);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Bookmarks Menu");
  EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());

  // A folder offers nothing; a link shows its address and enables OK.
  tree->setCurrentItem(Find(tree, "Shops"));
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(picker.Address(), "");
  QTreeWidgetItem* shop = Find(tree, "Shop");
  ASSERT_NE(shop, nullptr);
  tree->setCurrentItem(shop);
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_EQ(picker.Address(), "http://shop.example/?a=1&b=2");

  // The other profile.
  filled.clear();
  profiles->setCurrentIndex(1);
  Q_EMIT profiles->activated(1);
  ASSERT_TRUE(Filled(filled));
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Work");

  // The favorites: one profile, no chooser; double-clicking a link is OK.
  filled.clear();
  sources->setCurrentIndex(0);
  Q_EMIT sources->activated(0);
  ASSERT_TRUE(Filled(filled));
  EXPECT_EQ(picker.windowTitle(), "Import Internet Explorer Favorites");
  EXPECT_FALSE(profiles->isVisible());
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  tree->expandAll();
  QTreeWidgetItem* manual = Find(tree, "Manual");
  ASSERT_NE(manual, nullptr);
  const QRect place = tree->visualItemRect(manual);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, place.center());
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, place.center());
  EXPECT_EQ(picker.result(), QDialog::Accepted);
  EXPECT_EQ(picker.Address(), "http://manual.example/");
}

TEST_F(BookmarkPickerTest, EnterTakesTheSelectedLinkAndEscapeCancels) {
  CQNBookmarkPicker picker(Sources(), QNBookmarkBrowser::Netscape, QNTexts());
  QSignalSpy filled(&picker, &CQNBookmarkPicker::TreeFilled);
  picker.show();
  ASSERT_TRUE(Filled(filled));
  auto* tree = picker.findChild<QTreeWidget*>();
  tree->setFocus();
  tree->setCurrentItem(Find(tree, "Shops"));
  QTest::keyClick(tree, Qt::Key_Return);
  EXPECT_TRUE(picker.isVisible());
  tree->setCurrentItem(Find(tree, "News"));
  QTest::keyClick(tree, Qt::Key_Return);
  EXPECT_EQ(picker.result(), QDialog::Accepted);
  EXPECT_EQ(picker.Address(), "http://news.example/");

  CQNBookmarkPicker cancelled(Sources(), QNBookmarkBrowser::Netscape, QNTexts());
  cancelled.show();
  QTest::keyClick(&cancelled, Qt::Key_Escape);
  EXPECT_FALSE(cancelled.isVisible());
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST_F(BookmarkPickerTest, OffersOnlyWhatWasFound) {
  WriteFile(home_ / "export.html", "<TITLE>No heading</TITLE>\n");
  auto sources = Sources();
  sources[0].profiles.clear();
  CQNBookmarkPicker picker(sources, QNBookmarkBrowser::InternetExplorer, QNTexts());
  QSignalSpy filled(&picker, &CQNBookmarkPicker::TreeFilled);
  auto* box = picker.findChildren<QComboBox*>()[0];
  auto* entries = qobject_cast<QStandardItemModel*>(box->model());
  ASSERT_NE(entries, nullptr);
  EXPECT_FALSE(entries->item(0)->isEnabled());
  // The favorites were asked for but not found: the bookmark files are shown.
  ASSERT_TRUE(Filled(filled));
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(box->itemText(box->count() - 1), "Bookmark File...");

  // An exported file without bookmarks says so; Enter on nothing accepts nothing.
  filled.clear();
  picker.ShowBookmarkFile(QString::fromStdString((home_ / "export.html").string()));
  ASSERT_TRUE(Filled(filled));
  EXPECT_EQ(picker.windowTitle(), "Import Bookmark File");
  auto* tree = picker.findChild<QTreeWidget*>();
  EXPECT_EQ(tree->topLevelItemCount(), 0);
  bool saysEmpty = false;
  for (QLabel* label : picker.findChildren<QLabel*>())
    saysEmpty |= label->text() == "No addresses were found here." && !label->isHidden();
  EXPECT_TRUE(saysEmpty);
  EXPECT_FALSE(picker.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());

  // With nothing found at all, the picker still offers a file.
  CQNBookmarkPicker bare(FindBookmarkSources(Variables({})), QNBookmarkBrowser::Netscape,
                         QNTexts());
  EXPECT_EQ(bare.findChildren<QComboBox*>()[0]->currentIndex(), -1);
}

// Acts on the picker that PickBookmarkAddress shows, from inside its event loop,
// once its tree is filled.
void WhenPickerFilled(QObject& owner, std::function<void(CQNBookmarkPicker&)> act) {
  test::WhenShown<CQNBookmarkPicker>(owner, std::move(act), [](CQNBookmarkPicker& picker) {
    return picker.findChild<QTreeWidget*>()->topLevelItemCount() > 0;
  });
}

TEST_F(BookmarkPickerTest, TheWizardGetsTheAddressPickedFromTheUsersBookmarks) {
  const test::ScopedEnv home("HOME", home_.str());
  QObject owner;
  WhenPickerFilled(owner, [](CQNBookmarkPicker& picker) {
    auto* tree = picker.findChild<QTreeWidget*>();
    tree->setCurrentItem(Find(tree, "Shop"));
    picker.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(PickBookmarkAddress(nullptr, QNBookmarkBrowser::Netscape, QNTexts()),
            std::optional<std::string>("http://shop.example/?a=1&b=2"));

  WhenPickerFilled(owner, [](CQNBookmarkPicker& picker) { picker.reject(); });
  EXPECT_EQ(PickBookmarkAddress(nullptr, QNBookmarkBrowser::InternetExplorer, QNTexts()),
            std::nullopt);
}

}  // namespace
}  // namespace qn
