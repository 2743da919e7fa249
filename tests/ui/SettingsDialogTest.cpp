// The project settings dialog over a document: a copy edited, taken over only on OK
// and only when it differs, every number held to the range of its row, the URL
// filter editor and the password rules of the Privacy page.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <cstdint>
#include <cstring>

#include "engine/DocFixture.h"
#include "text/MessageIds.h"
#include "ui/FileTypesPage.h"
#include "ui/NumberBox.h"
#include "ui/PrivacyPage.h"
#include "ui/ProtocolsPage.h"
#include "ui/SettingRanges.h"
#include "ui/SettingsDialog.h"
#include "ui/SettingsIds.h"
#include "ui/ShownDialog.h"
#include "ui/UrlFilterDialog.h"
#include "ui/UrlFilterList.h"

namespace qn {
void PrintTo(const CQNExtEntry& e, std::ostream* os) {
  *os << e.extension << " on " << int(e.enabled) << " min " << int(e.minOn) << "/" << e.min
      << " max " << int(e.maxOn) << "/" << e.max;
}
}  // namespace qn

namespace qn::test {
namespace {

template <typename Widget = QWidget>
Widget& Control(QWidget& dialog, int id) {
  auto* found = dialog.findChild<Widget*>(QString("idc%1").arg(id));
  if (!found) throw std::runtime_error("no control " + std::to_string(id));
  return *found;
}

// A record with what the pages cannot show exactly or at all.
CQNSettings Unusual() {
  CQNSettings s;
  s.QN_TITLE = "Garden Club";
  s.QN_PROJECT_DIR = "/tmp/Download/";
  s.QN_SINGLE_URL = 0;
  s.StartUrlCount = kMaxStartUrls;
  for (int i = 0; i < kMaxStartUrls; ++i)
    s.QN_START_URL[i] = "http://127.0.0.1/page" + std::to_string(i) + ".html";
  s.QN_MAX_DS = 1234567.0;  // 1.177... MB
  s.QN_MAX_FQ = static_cast<int>(std::uint32_t{4000000000});
  s.QN_TR_UPDATE = 3;
  s.QN_TR_HTML = 255;
  s.QN_OFFSITE = 5;
  s.QN_FILE_TYPES = 4 | kCatHtml;  // bit 4 names no category
  s.QN_PROTOCOL = 16 | 1;
  s.AgentKind = 2;
  s.AgentVersion = 5555;
  s.QN_FILE_EXT[1][0].maxOn = 1;
  s.QN_FILE_EXT[1][0].max = 1000.0;
  s.QN_URL_FILTER.push_back({0, 3, "*.example.org", "", ""});
  s.EncryptProjectFiles = 1;
  s.EncryptionPassword = "secret";
  return s;
}

void ExpectSameBits(double a, double b) {
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << a << " " << b;
}

TEST(SettingsDialog, EditsACopyThatTheDocumentTakesOverOnlyOnOkAndOnlyWhenItDiffers) {
  QObject owner;
  DocFixture f;
  f.settings = Unusual();
  f.doc.modified = false;
  const QNTexts texts;

  // OK on what was shown changes nothing: not one member, not the modified flag.
  WhenShown<QNSettingsDialog>(
      owner, [](QNSettingsDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
  EXPECT_FALSE(EditProjectSettings(f.doc, texts, nullptr));
  EXPECT_FALSE(f.doc.modified);
  EXPECT_EQ(f.doc.SettingsChanges(), 0u);
  const CQNSettings unusual = Unusual();
  EXPECT_TRUE(f.settings.IsEqual(unusual));
  ExpectSameBits(f.settings.QN_MAX_DS, unusual.QN_MAX_DS);
  EXPECT_EQ(f.settings.QN_TR_UPDATE, 3);
  EXPECT_EQ(f.settings.QN_TR_HTML, 255);
  EXPECT_EQ(f.settings.QN_OFFSITE, 5);
  EXPECT_EQ(f.settings.QN_FILE_TYPES, 4 | kCatHtml);
  EXPECT_EQ(f.settings.QN_PROTOCOL, 17);
  EXPECT_EQ(f.settings.StartUrlCount, kMaxStartUrls);

  // Escape after edits leaves the project as it was.
  WhenShown<QNSettingsDialog>(owner, [](QNSettingsDialog& dialog) {
    Control<QLineEdit>(dialog, kIdcTitle).setText("Changed");
    Control<QCheckBox>(dialog, kIdcReport).setChecked(true);
    QTest::keyClick(&dialog, Qt::Key_Escape);
  });
  EXPECT_FALSE(EditProjectSettings(f.doc, texts, nullptr));
  EXPECT_EQ(f.settings.QN_TITLE, "Garden Club");
  EXPECT_EQ(f.settings.QN_REPORT, 0);

  // Edits on several pages, then OK: taken over and applied (the root is retitled).
  WhenShown<QNSettingsDialog>(owner, [](QNSettingsDialog& dialog) {
    Control<QLineEdit>(dialog, kIdcTitle).setText("Club");
    Control<QRadioButton>(dialog, kIdcSingleUrl).setChecked(true);
    Control<QLineEdit>(dialog, kIdcStartPage).setText("http://127.0.0.1/first.html");
    Control<QNNumberBox>(dialog, kIdcLimDiskSpace).setValue(1.5);
    Control<QRadioButton>(dialog, kIdcUpdateExpand).setChecked(true);
    Control<QCheckBox>(dialog, kIdcFile).setChecked(true);
    Control<QCheckBox>(dialog, kIdcReport).setChecked(true);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_TRUE(EditProjectSettings(f.doc, texts, nullptr));
  EXPECT_TRUE(f.doc.modified);
  EXPECT_EQ(f.settings.QN_TITLE, "Club");
  EXPECT_EQ(f.Root()->title, "Club");
  EXPECT_EQ(f.settings.QN_SINGLE_URL, 1);
  EXPECT_EQ(f.settings.QN_START_URL[0], "http://127.0.0.1/first.html");
  // One site: the list behind it stays for when the list is chosen again.
  EXPECT_EQ(f.settings.StartUrlCount, kMaxStartUrls);
  EXPECT_EQ(f.settings.QN_START_URL[1], unusual.QN_START_URL[1]);
  EXPECT_EQ(f.settings.QN_MAX_DS, 1.5 * 1048576);
  EXPECT_EQ(f.settings.QN_TR_UPDATE, 1);
  EXPECT_EQ(f.settings.QN_PROTOCOL, 17 | 8);
  EXPECT_EQ(f.settings.QN_REPORT, 1);
  // What was not touched kept its exact value.
  EXPECT_EQ(f.settings.QN_MAX_FQ, unusual.QN_MAX_FQ);
  EXPECT_EQ(f.settings.QN_OFFSITE, 5);
  EXPECT_EQ(f.settings.QN_FILE_EXT, unusual.QN_FILE_EXT);
  EXPECT_EQ(f.doc.SettingsChanges(), 1u);
}

TEST(SettingsDialog, EveryNumberIsHeldToTheRangeOfItsRowInTheTable) {
  CQNSettings settings;
  settings.QN_THREADS = 500;  // a template takes values as written
  QNSettingsDialog dialog(settings, QNTexts(), nullptr);
  // Shown at the bound, and stored so even untouched.
  EXPECT_EQ(Control<QNNumberBox>(dialog, kIdcThreads).value(), kMaxThreads);
  EXPECT_EQ(dialog.Settings().QN_THREADS, kMaxThreads);

  ASSERT_GE(SettingRanges().size(), 12u);
  for (const QNSettingRange& range : SettingRanges()) {
    SCOPED_TRACE(std::string(range.key));
    auto& box = Control<QNNumberBox>(dialog, range.controlId);
    EXPECT_EQ(box.minimum(), range.format.min);
    EXPECT_EQ(box.maximum(), range.format.max);
    EXPECT_EQ(box.decimals(), range.format.decimals);
    box.setValue(range.format.max * 2 + 1);
    EXPECT_EQ(box.value(), range.format.max);
    CQNSettings atMax;
    StoreShown(range, range.format.max, atMax);
    CQNSettings stored = dialog.Settings();
    EXPECT_EQ(ShownValue(range, stored), ShownValue(range, atMax));
    EXPECT_EQ(ShownValue(range, stored), range.format.max);
    box.setValue(range.format.min - 1);
    EXPECT_EQ(ShownValue(range, dialog.Settings()), range.format.min);
  }
  // Held units: the largest unsigned count, and sizes in bytes.
  Control<QNNumberBox>(dialog, kIdcLimFileCount).setValue(4294967295.0);
  EXPECT_EQ(static_cast<std::uint32_t>(dialog.Settings().QN_MAX_FQ), 4294967295u);
  Control<QNNumberBox>(dialog, kIdcLimMaxSize).setValue(2.5);
  EXPECT_EQ(dialog.Settings().QN_MAX_MAXFS, 2560.0);
  Control<QNNumberBox>(dialog, kIdcAgentVersion).setValue(5.5);
  EXPECT_EQ(dialog.Settings().AgentVersion, 5500);
}

TEST(SettingsDialog, UrlFilterEditorShowsTheLookedUpTextsAndEditsTheListInPlace) {
  QObject owner;
  // A language with the filter editor's messages, and texts for the dialogs by their
  // fixed ids: the settings dialog's caption, a page's caption (its tab) and a control.
  QNLanguageData language;
  auto& strings = language.Table(QNLanguageTable::Strings).emplace_back();
  for (int id = kMsgFilterProtocol; id <= kMsgRemoveFilter; ++id)
    strings.items.push_back({id, "T" + std::to_string(id)});
  strings.items.push_back({kMsgAll, "Alle"});
  auto& dialogs = language.Table(QNLanguageTable::Dialogs);
  dialogs.push_back({kDlgProjectSettings, "Projekteinstellungen", {}});
  dialogs.push_back({kDlgPageProtocols, "Protokolle", {{kIdcAllServers, "Alle &Server"}}});
  dialogs.push_back({kDlgUrlFilter, "", {{kIdcLoadMatching, "&Laden"}}});
  QNTexts texts;
  texts.Install(std::make_shared<QNTextTable>(language));

  CQNSettings settings;
  settings.QN_URL_FILTER = {{1, 15, "a.org", "", ""}, {0, 1, "b.org", "x", "*.zip"}};
  QNSettingsDialog dialog(settings, texts, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Projekteinstellungen");
  EXPECT_EQ(dialog.Tabs().tabText(dialog.Tabs().indexOf(&dialog.PageOf<QNProtocolsPage>())),
            "Protokolle");
  EXPECT_EQ(Control<QRadioButton>(dialog, kIdcAllServers).text(), "Alle &Server");
  // Untranslated texts stay.
  EXPECT_EQ(Control<QRadioButton>(dialog, kIdcStartServer).text(), "The starting Server &only");
  auto& list = dialog.PageOf<QNProtocolsPage>().FilterList();
  auto& view = Control<QTreeWidget>(list, kIdcFilters);
  QStringList headers;
  for (int c = 1; c < view.columnCount(); ++c) headers << view.headerItem()->text(c);
  EXPECT_EQ(headers, (QStringList{"T65042", "T65043", "T65044", "T65045"}));
  EXPECT_EQ(Control<QPushButton>(list, kIdcInsertFilter).text(), "T65046");
  EXPECT_EQ(Control<QPushButton>(list, kIdcEditFilter).text(), "T65047");
  EXPECT_EQ(Control<QPushButton>(list, kIdcRemoveFilter).text(), "T65048");
  EXPECT_EQ(view.topLevelItem(0)->text(1), "Alle");
  // Nothing selected: nothing to edit or remove.
  EXPECT_FALSE(Control<QPushButton>(list, kIdcEditFilter).isEnabled());

  // A new filter goes in before the selected one; its dialog has the texts too.
  view.setCurrentItem(view.topLevelItem(1));
  WhenShown<QNUrlFilterDialog>(owner, [](QNUrlFilterDialog& filter) {
    EXPECT_EQ(filter.windowTitle(), "T65046");
    EXPECT_EQ(Control<QRadioButton>(filter, kIdcLoadMatching).text(), "&Laden");
    Control<QRadioButton>(filter, kIdcSkipMatching).setChecked(true);
    auto& protocol = Control<QComboBox>(filter, kIdcFilterProtocol);
    protocol.setCurrentIndex(protocol.findData(2));
    Control<QLineEdit>(filter, kIdcFilterServer).setText(" *.ads.^^ ");
    filter.accept();
  });
  Control<QPushButton>(list, kIdcInsertFilter).click();
  // The selected one edited: Cancel keeps it.
  WhenShown<QNUrlFilterDialog>(owner, [](QNUrlFilterDialog& filter) {
    Control<QLineEdit>(filter, kIdcFilterFile).setText("ignored");
    filter.reject();
  });
  Control<QPushButton>(list, kIdcEditFilter).click();
  view.setCurrentItem(view.topLevelItem(0));
  Control<QPushButton>(list, kIdcRemoveFilter).click();
  const std::vector<CQNUrlFilter> expected = {{0, 2, "*.ads.^^", "", ""},
                                              {0, 1, "b.org", "x", "*.zip"}};
  EXPECT_EQ(dialog.Settings().QN_URL_FILTER, expected);

  // "Add URL Filter..." splits the selected node's address as the filters do.
  EXPECT_EQ(FilterForAddresses({"https://www.example.org/docs/guide/intro.html?x=1"}),
            (CQNUrlFilter{1, 2, "www.example.org", "docs/guide", "intro.html"}));
  EXPECT_EQ(FilterForAddresses({"http://a/", "http://b/"}), CQNUrlFilter{});
  DocFixture f;
  WhenShown<QNUrlFilterDialog>(owner, [](QNUrlFilterDialog& filter) {
    EXPECT_EQ(Control<QLineEdit>(filter, kIdcFilterDirectory).text(), "pics");
    Control<QRadioButton>(filter, kIdcSkipMatching).setChecked(true);
    QTest::keyClick(&filter, Qt::Key_Enter);
  });
  EXPECT_TRUE(AddUrlFilter(f.doc, {"ftp://files.example.org/pics/a.png"}, texts, nullptr));
  EXPECT_EQ(f.settings.QN_URL_FILTER,
            (std::vector<CQNUrlFilter>{{0, 4, "files.example.org", "pics", "a.png"}}));
}

TEST(SettingsDialog, PrivacyPasswordRulesKeepTheDialogOpenOnThePrivacyPage) {
  CQNSettings settings;
  settings.QN_PROJECT_DIR = "/tmp/Download/";
  QNSettingsDialog dialog(settings, QNTexts(), nullptr);
  std::vector<QString> told;
  dialog.SetProblemSink([&told](const QString& message) { told.push_back(message); });
  auto& encryptDownloads = Control<QCheckBox>(dialog, kIdcEncryptDownloads);
  auto& password = Control<QLineEdit>(dialog, kIdcEncryptionPassword);
  auto& confirm = Control<QLineEdit>(dialog, kIdcConfirmPassword);
  auto& privacy = dialog.PageOf<QNPrivacyPage>();
  const auto refusedWith = [&](int id) {
    dialog.Tabs().setCurrentIndex(0);
    dialog.accept();
    return dialog.result() != QDialog::Accepted && !told.empty() &&
           told.back().toStdString() == QNTexts().Text(id) &&
           dialog.Tabs().currentWidget() == &privacy;
  };
  encryptDownloads.setChecked(true);
  EXPECT_TRUE(refusedWith(kMsgNeedPassword));
  password.setText("new one");
  EXPECT_TRUE(refusedWith(kMsgNeedConfirmation));
  confirm.setText("new on");
  EXPECT_TRUE(refusedWith(kMsgConfirmFailed));
  // The password prompt that opens the archives would refuse it: so does the page.
  password.setText("m\xc3\xbcsli");
  confirm.setText("m\xc3\xbcsli");
  EXPECT_TRUE(refusedWith(kMsgPasswordNotAscii));
  password.setText("new one");
  confirm.setText("new one");
  told.clear();
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(dialog.Settings().EncryptionPassword, "new one");
  EXPECT_EQ(dialog.Settings().EncryptDownloadedFiles, 1);

  // A password left as it was needs no confirmation.
  settings.EncryptProjectFiles = 1;
  settings.EncryptionPassword = "kept";
  QNSettingsDialog again(settings, QNTexts(), nullptr);
  again.SetProblemSink([&told](const QString& message) { told.push_back(message); });
  again.accept();
  EXPECT_EQ(again.result(), QDialog::Accepted);
  EXPECT_TRUE(told.empty());
}

TEST(SettingsDialog, FileTypesPageEditsCategoriesAndExtensionsWithLimitsInKB) {
  QObject owner;
  CQNSettings settings;
  settings.QN_FILE_TYPES = kAllCategories;
  QNSettingsDialog dialog(settings, QNTexts(), nullptr);
  auto& page = dialog.PageOf<QNFileTypesPage>();
  auto& categories = Control<QListWidget>(page, kIdcCategories);
  auto& extensions = Control<QTreeWidget>(page, kIdcExtensions);
  ASSERT_EQ(categories.count(), kCategoryCount);
  categories.item(1)->setCheckState(Qt::Unchecked);  // Image
  categories.setCurrentRow(7);                       // Other: swf exe and web fonts
  const int others = static_cast<int>(settings.QN_FILE_EXT[7].size());
  ASSERT_EQ(extensions.topLevelItemCount(), others);
  EXPECT_TRUE(page.AddExtension(" .XAP "));
  // The list has it already, which a message box tells.
  bool told = false;
  WhenShown<QMessageBox>(owner, [&told](QMessageBox& box) {
    told = true;
    box.reject();
  });
  EXPECT_FALSE(page.AddExtension("xap"));
  EXPECT_TRUE(told);
  // The new entry is selected: give it limits, switch it off.
  Control<QCheckBox>(page, kIdcExtMax + kLabelIdOffset).setChecked(true);
  Control<QNNumberBox>(page, kIdcExtMax).setValue(512);
  Control<QCheckBox>(page, kIdcExtMin + kLabelIdOffset).setChecked(true);
  extensions.topLevelItem(others)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(extensions.topLevelItem(others)->text(2), "512.00");
  // Remove "swf".
  extensions.setCurrentItem(extensions.topLevelItem(0));
  Control<QPushButton>(page, kIdcRemoveExtension).click();

  const CQNSettings edited = dialog.Settings();
  EXPECT_EQ(edited.QN_FILE_TYPES, kAllCategories & ~kCatImage);
  ExtList expected = settings.QN_FILE_EXT[7];
  expected.erase(expected.begin());
  expected.push_back({"XAP", 0, 1, 512.0 * 1024, 1, 0});
  EXPECT_EQ(edited.QN_FILE_EXT[7], expected);
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(edited.QN_FILE_EXT[i], settings.QN_FILE_EXT[i]);
}

}  // namespace
}  // namespace qn::test
