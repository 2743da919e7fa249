// The menus in a language file's words: the main menu, the notification-area menu and
// the contents tree's context menu, translated when the language is chosen and back
// in English when it is given up; and German.qlg names every item of the three.
#include <gtest/gtest.h>

#include <QAction>
#include <QFont>
#include <QKeySequence>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QWizard>

#include "TestPaths.h"
#include "support/TempDir.h"
#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "ui/CommandIds.h"
#include "ui/CopyWizard.h"
#include "ui/DialogRig.h"
#include "ui/MenuTexts.h"
#include "ui/TrayIcon.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

// A submenu's entry in `menu` by its built-in position.
QAction* Submenu(QWidget* menu, int index) {
  QList<QAction*> submenus;
  for (QAction* action : menu->actions())
    if (action->menu()) submenus.push_back(action);
  return submenus.value(index);
}

void ChooseLanguage(WindowRig& rig, QNTrayIcon& tray, const std::string& file) {
  QNProgramOptions options = rig.app->Options().options;
  options.UseLngFile = !file.empty();
  options.LngFile = file;
  EXPECT_EQ(rig.app->ApplyOptions(options), std::nullopt);
  rig.frame->ApplyLanguage();
  tray.ApplyLanguage();
}

TEST(MenuLanguage, ALanguageRenamesTheMenusAndEnglishComesBack) {
  WindowRig rig;
  QNTrayIcon tray(*rig.frame, rig.app->Texts());
  std::string why;
  const auto language = ParseLanguageSource(
      "language \"Testisch\"\n"
      "font menus weight=700 face=\"DejaVu Serif\"\n"
      "menu 128 ~0 \"&Akte\"\n"
      "menu 128 ~6 \"Schrift&grad\"\n"
      "menu 128 57600 \"&Neu\\tStrg+N\"\n"
      "menu 128 32802 \"Riesig\"\n"
      "menu 128 32777 \"Los\"\n"
      "menu 129 32777 \"Jetzt laden\"\n"
      "menu 129 32812 \"Zeigen\"\n"
      "menu 130 32785 \"Neuer Ordner\"\n"
      "string 0 32777 \"L\xC3\xA4"
      "dt herunter\\nLaden\"\n",
      &why);
  ASSERT_TRUE(language) << why;
  const std::string file = (rig.dir / "Testisch.qlg").string();
  WriteFile(file, FormatLanguageFile(*language).value_or(""));

  QMenuBar* bar = rig.frame->menuBar();
  QAction* fileMenu = Submenu(bar, 0);
  QAction* editMenu = Submenu(bar, 1);
  QAction* fontMenu = Submenu(Submenu(bar, 4)->menu(), 0);
  QAction* start = rig.frame->Command(kCmdStartDownload);
  QAction* fresh = rig.frame->Command(kCmdNew);
  QMenu& trayMenu = tray.Menu();
  const auto trayItem = [&](int id) {
    for (QAction* action : trayMenu.actions())
      if (action->data().toInt() == id && !action->isSeparator()) return action->text();
    return QString("(missing)");
  };
  const auto contentsItem = [&](int id) {
    QMenu menu;
    rig.frame->FillContentsMenu(menu);
    for (QAction* action : menu.actions())
      if (action->data().toInt() == id) return action->text();
    return QString("(missing)");
  };

  ChooseLanguage(rig, tray, file);
  EXPECT_EQ(fileMenu->text(), "&Akte");
  EXPECT_EQ(fontMenu->text(), "Schrift&grad");
  // The "\t" part gives the shortcut, which the action shows itself and keeps.
  EXPECT_EQ(fresh->text(), "&Neu");
  EXPECT_EQ(fresh->shortcut(), QKeySequence(QKeySequence::New));
  EXPECT_EQ(rig.frame->Command(kCmdFontLargest)->text(), "Riesig");
  EXPECT_EQ(start->text(), "Los");
  EXPECT_EQ(start->statusTip(),
            "L\xC3\xA4"
            "dt herunter");
  EXPECT_EQ(start->toolTip(), "Laden");
  // Items the language lacks keep the program's own words.
  EXPECT_EQ(editMenu->text(), "&Edit");
  EXPECT_EQ(rig.frame->Command(kCmdOpen)->text(), "&Open...");
  EXPECT_EQ(rig.frame->Command(kCmdOpen)->toolTip(), "Open");
  EXPECT_EQ(trayItem(kCmdTrayOpen), "Zeigen");
  EXPECT_EQ(trayItem(kCmdStartDownload), "Jetzt laden");
  EXPECT_EQ(trayItem(kCmdExit), "Exit");
  EXPECT_EQ(contentsItem(kCmdAddFolder), "Neuer Ordner");
  EXPECT_EQ(contentsItem(kCmdAddLink), "Add &Link...");
  EXPECT_EQ(bar->font().weight(), QFont::Bold);
  EXPECT_EQ(fontMenu->menu()->font().family(), "DejaVu Serif");

  // The tray's copy of a command follows it and chooses it.
  int started = 0;
  QObject::connect(start, &QAction::triggered, [&] { ++started; });
  start->setEnabled(true);
  for (QAction* action : trayMenu.actions())
    if (action->data().toInt() == kCmdStartDownload) action->trigger();
  EXPECT_EQ(started, 1);

  ChooseLanguage(rig, tray, "");
  EXPECT_EQ(fileMenu->text(), "&File");
  EXPECT_EQ(fontMenu->text(), "Font Si&ze");
  EXPECT_EQ(fresh->text(), "&New");
  EXPECT_EQ(start->text(), "Start &Download");
  EXPECT_EQ(start->statusTip(), "Start or resume the download");
  EXPECT_EQ(start->toolTip(), "Start Download");
  EXPECT_EQ(trayItem(kCmdTrayOpen), "Open");
  EXPECT_EQ(trayItem(kCmdStartDownload), "Start &Download");
  EXPECT_EQ(contentsItem(kCmdAddFolder), "Add &Folder...");
  EXPECT_NE(bar->font().weight(), QFont::Bold);
}

// Items of `menu` and its submenus with a mnemonic another item of the same menu has.
void FindClashes(QWidget* menu, QStringList& clashes) {
  QMap<QString, QString> taken;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    const QString key = QKeySequence::mnemonic(action->text()).toString();
    if (!key.isEmpty() && taken.contains(key))
      clashes << "'" + taken[key] + "' and '" + action->text() + "'";
    taken.insert(key, action->text());
    if (action->menu()) FindClashes(action->menu(), clashes);
  }
}

TEST(MenuLanguage, GermanNamesEveryItemOfTheThreeMenusWithoutClashingMnemonics) {
  WindowRig rig;
  QNTrayIcon tray(*rig.frame, rig.app->Texts());
  std::string why;
  const auto german = ReadLanguageFile(QN_BUILD_DIR "/German.qlg", &why);
  ASSERT_TRUE(german) << why;
  const QNTextTable table(*german);

  std::vector<std::string> missing;
  QMenu contents;
  rig.frame->FillContentsMenu(contents);
  const std::pair<QWidget*, int> menus[] = {
      {rig.frame->menuBar(), kMenuMain}, {&tray.Menu(), kMenuTray}, {&contents, kMenuContents}};
  for (const auto& [menu, id] : menus)
    ForEachMenuItem(menu, [&](QAction* action, int item) {
      if (!table.FindMenuItem(id, item))
        missing.push_back("menu " + std::to_string(id) + " " +
                          (item < 0 ? "~" + std::to_string(~item) : std::to_string(item)) + " \"" +
                          action->text().toStdString() + "\"");
    });
  EXPECT_TRUE(missing.empty()) << "German.qlg lacks:\n" << ::testing::PrintToString(missing);

  ChooseLanguage(rig, tray, QN_BUILD_DIR "/German.qlg");
  QMenu germanContents;
  rig.frame->FillContentsMenu(germanContents);
  QStringList clashes;
  for (QWidget* menu :
       {static_cast<QWidget*>(rig.frame->menuBar()), static_cast<QWidget*>(&tray.Menu()),
        static_cast<QWidget*>(&germanContents)})
    FindClashes(menu, clashes);
  EXPECT_TRUE(clashes.isEmpty()) << clashes.join("\n").toStdString();
  EXPECT_EQ(Submenu(rig.frame->menuBar(), 0)->text(), "&Datei");
  // Qt's own texts follow: the names of keys in the menus' shortcuts.
  const QKeySequence startDownload = rig.frame->Command(kCmdStartDownload)->shortcut();
  EXPECT_EQ(startDownload.toString(QKeySequence::NativeText), "Strg+D");
  ChooseLanguage(rig, tray, "");
  EXPECT_EQ(startDownload.toString(QKeySequence::NativeText), "Ctrl+D");
}

// The wizards' buttons are strings of the table; the sheet takes the dialog font.
TEST(MenuLanguage, WizardButtonsAndFontFollowTheLanguage) {
  AppRig rig;
  const auto language = ParseLanguageSource(
      "font dialogs face=\"DejaVu Serif\"\n"
      "string 0 65077 \"&Weiter >\"\n"
      "string 0 65079 \"Abbrechen\"\n");
  ASSERT_TRUE(language);
  QNTexts texts;
  texts.Install(std::make_shared<const QNTextTable>(*language));
  CQNCopyWiz wizard(rig.app->Session().Path(), rig.dir.str(), texts, [](int) {});
  EXPECT_EQ(wizard.buttonText(QWizard::NextButton), "&Weiter >");
  EXPECT_EQ(wizard.buttonText(QWizard::CancelButton), "Abbrechen");
  EXPECT_EQ(wizard.buttonText(QWizard::BackButton), "< &Back");
  EXPECT_EQ(wizard.buttonText(QWizard::FinishButton), "Finish");
  EXPECT_EQ(wizard.font().family(), "DejaVu Serif");
}

}  // namespace
}  // namespace qn::test
