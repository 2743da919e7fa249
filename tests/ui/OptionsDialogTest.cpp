// "Quillorne Options" on a copy of the application's options: nothing changes until
// the copy is applied, and applying it reloads the language and restarts the
// periodic save with the new period.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QSpinBox>

#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "text/MessageIds.h"
#include "ui/DialogRig.h"
#include "ui/OptionsDialog.h"
#include "ui/WizardIds.h"

namespace qn::test {
namespace {

TEST(OptionsDialog, EditsACopyThatTheApplicationTakesOver) {
  AppRig rig;
  CQNApp& app = *rig.app;
  const TempDir& dir = rig.dir;
  const auto german = ParseLanguageSource("string 0 55472 \"Neues Projekt\"\n");
  ASSERT_TRUE(german);
  WriteFile(dir / "German.qlg", FormatLanguageFile(*german).value_or(""));
  const QNProgramOptions before = app.Options().options;

  QNOptionsChoices choices;
  choices.languages = {{"German", (dir / "German.qlg").string()},
                       {"Missing", (dir / "Missing.qlg").string()},
                       {"English", ""}};
  choices.dialUpEntries = std::vector<std::string>{"office", "home"};
  CQNOptionsDialog dialog(app.Options().options, choices, app.Texts());
  // Untouched, the copy is the options as they were.
  EXPECT_EQ(dialog.Options(), before);

  Find<QSpinBox>(&dialog, kIdcOptAutoSaveValue)->setValue(9);
  Find<QComboBox>(&dialog, kIdcOptLanguage)->setCurrentIndex(0);
  Find<QAbstractButton>(&dialog, kIdcOptDialUp)->click();
  Find<QComboBox>(&dialog, kIdcOptRasEntry)->setCurrentIndex(1);
  Find<QAbstractButton>(&dialog, kIdcOptWizard)->click();
  Find<QAbstractButton>(&dialog, kIdcOptUseProxy)->click();
  EXPECT_EQ(app.Options().options, before);

  const QNProgramOptions edited = dialog.Options();
  EXPECT_EQ(edited.ConnType, kConnDialUp);
  EXPECT_EQ(edited.RasEntry, "home");
  EXPECT_EQ(edited.Wizards & kWizardNewProject, 0);
  EXPECT_TRUE(edited.UseProxy);
  // What the dialog cannot show as stored (a face this desktop may lack) stays.
  EXPECT_EQ(edited.FontName, before.FontName);
  EXPECT_EQ(edited.FontWeight, before.FontWeight);

  EXPECT_EQ(app.ApplyOptions(edited), std::nullopt);
  EXPECT_EQ(app.Options().options, edited);
  EXPECT_TRUE(app.Projects().PeriodicSave().Active());
  EXPECT_EQ(app.Projects().PeriodicSave().IntervalMs(), 9 * 60000);
  EXPECT_EQ(app.Texts().Text(kMsgNewProject), "Neues Projekt");

  // A language file that cannot be read is reported and the built-in texts return.
  QNProgramOptions missing = edited;
  missing.LngFile = (dir / "Missing.qlg").string();
  const auto message = app.ApplyOptions(missing);
  ASSERT_TRUE(message);
  EXPECT_NE(message->find("Missing.qlg"), std::string::npos);
  EXPECT_NE(app.Texts().Text(kMsgNewProject), "Neues Projekt");
  // Switching the periodic save off stops it.
  missing.AutoSaveTime = false;
  app.ApplyOptions(missing);
  EXPECT_FALSE(app.Projects().PeriodicSave().Active());
}

}  // namespace
}  // namespace qn::test
