// The Schedule dialog on the offscreen platform: what each field edits, which fields
// an entry's kind uses, the list's limits, and the main window's command that opens it.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "text/MessageIds.h"
#include "ui/CommandIds.h"
#include "ui/ScheduleDialog.h"
#include "ui/ShownDialog.h"
#include "ui/WindowRig.h"

namespace qn {
namespace {

QNScheduleEntry Entry(const std::string& project, int kind, int hour, int minute) {
  QNScheduleEntry entry;
  entry.projectFile = project;
  entry.kind = kind;
  entry.hour = hour;
  entry.minute = minute;
  return entry;
}

struct Fields {
  explicit Fields(CQNScheduleDialog& dialog)
      : list(dialog.findChild<QListWidget*>()),
        time(dialog.findChild<QTimeEdit*>()),
        day(dialog.findChild<QSpinBox*>()) {
    const auto boxes = dialog.findChildren<QComboBox*>();
    kind = boxes.at(0);
    weekday = boxes.at(1);
    month = boxes.at(2);
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == "&Add...") add = button;
      if (button->text() == "&Remove") remove = button;
      if (button->text() == "Move Do&wn") down = button;
    }
    const auto checks = dialog.findChildren<QCheckBox*>();
    hangUp = checks.at(0);
    shutDown = checks.at(1);
  }
  std::vector<bool> Enabled() const {
    return {time->isEnabled(), weekday->isEnabled(), day->isEnabled(), month->isEnabled()};
  }

  QListWidget* list;
  QTimeEdit* time;
  QSpinBox* day;
  QComboBox* kind;
  QComboBox* weekday;
  QComboBox* month;
  QPushButton* add = nullptr;
  QPushButton* remove = nullptr;
  QPushButton* down = nullptr;
  QCheckBox* hangUp;
  QCheckBox* shutDown;
};

TEST(ScheduleDialog, EditsEachEntryWithTheFieldsItsKindUses) {
  // The names of kinds, weekdays and months come from the installed language.
  QNTexts texts;
  texts.Install(std::make_shared<QNTextTable>(std::unordered_map<int, std::string>{
      {kMsgIntervalWeekly, "Hebdomadaire"}, {kMsgSunday + 3, "Mercredi"}}));
  std::vector<QNScheduleEntry> entries{Entry("/p/a.qnp", kScheduleDaily, 14, 0),
                                       Entry("/p/b.qnp", kScheduleEvery, 1, 0)};
  entries[1].state = kEntryRunning;
  entries[1].id = 7;
  CQNScheduleDialog dialog(entries, texts, "/p");
  Fields f(dialog);
  ASSERT_EQ(f.list->count(), 2);
  EXPECT_TRUE(f.list->item(0)->text().startsWith("a.qnp"));
  EXPECT_EQ(f.kind->itemText(kScheduleWeekly), "Hebdomadaire");
  EXPECT_EQ(f.weekday->itemText(3), "Mercredi");
  EXPECT_EQ(f.time->time(), QTime(14, 0));
  EXPECT_EQ(f.Enabled(), (std::vector<bool>{true, false, false, false}));

  f.kind->setCurrentIndex(kScheduleWeekly);
  f.weekday->setCurrentIndex(3);
  f.time->setTime(QTime(9, 30, 15));
  f.hangUp->setChecked(true);
  EXPECT_EQ(f.Enabled(), (std::vector<bool>{true, true, false, false}));
  EXPECT_TRUE(f.list->item(0)->text().contains("Mercredi"));
  f.kind->setCurrentIndex(kScheduleYearly);
  f.day->setValue(29);
  f.month->setCurrentIndex(1);
  EXPECT_EQ(f.Enabled(), (std::vector<bool>{true, false, true, true}));
  f.kind->setCurrentIndex(kScheduleFollowing);
  EXPECT_EQ(f.Enabled(), (std::vector<bool>{false, false, false, false}));
  f.kind->setCurrentIndex(kScheduleYearly);

  // An Every interval of 0 is refused: it becomes one second.
  f.list->setCurrentRow(1);
  EXPECT_EQ(f.kind->currentIndex(), kScheduleEvery);
  f.time->setTime(QTime(0, 0, 0));
  EXPECT_EQ(f.time->time(), QTime(0, 0, 1));
  f.shutDown->setChecked(true);

  const std::vector<QNScheduleEntry>& edited = dialog.Entries();
  ASSERT_EQ(edited.size(), 2u);
  EXPECT_EQ(edited[0].kind, kScheduleYearly);
  EXPECT_EQ(edited[0].weekday, 3);
  EXPECT_EQ(edited[0].day, 28);
  EXPECT_EQ(edited[0].month, 1);
  EXPECT_EQ(std::tuple(edited[0].hour, edited[0].minute, edited[0].second), std::tuple(9, 30, 15));
  EXPECT_TRUE(edited[0].hangUpAfter);
  EXPECT_FALSE(edited[0].shutDownAfter);
  EXPECT_EQ(edited[1].IntervalSeconds(), 1);
  EXPECT_TRUE(edited[1].shutDownAfter);
  // The entry keeps what the scheduler knows of it, so its running download still
  // finds it after OK.
  EXPECT_EQ(edited[1].state, kEntryRunning);
  EXPECT_EQ(edited[1].id, 7u);
  // The caller's list is untouched until it takes the dialog's.
  EXPECT_EQ(entries[0].kind, kScheduleDaily);
}

TEST(ScheduleDialog, TheListIsOrderedAndHoldsAtMostOneHundredEntries) {
  CQNScheduleDialog dialog({Entry("/p/a.qnp", kScheduleDaily, 1, 0)}, QNTexts(), "/p");
  Fields f(dialog);
  ASSERT_NE(f.down, nullptr);
  ASSERT_NE(f.remove, nullptr);
  dialog.AddProjects({"/p/b.qnp", "/p/c.qnp"});
  // A new entry is disabled and shown at once.
  EXPECT_EQ(f.list->currentRow(), 2);
  EXPECT_EQ(dialog.Entries()[2].kind, kScheduleDisabled);
  EXPECT_FALSE(f.down->isEnabled());

  f.list->setCurrentRow(0);
  f.down->click();
  EXPECT_EQ(f.list->currentRow(), 1);
  EXPECT_EQ(dialog.Entries()[1].projectFile, "/p/a.qnp");
  EXPECT_TRUE(f.list->item(1)->text().startsWith("a.qnp"));
  f.remove->click();
  ASSERT_EQ(dialog.Entries().size(), 2u);
  EXPECT_EQ(dialog.Entries()[1].projectFile, "/p/c.qnp");

  QStringList many;
  for (int i = 0; i < 150; ++i) many << QString("/p/%1.qnp").arg(i);
  dialog.AddProjects(many);
  EXPECT_EQ(dialog.Entries().size(), static_cast<std::size_t>(kMaxScheduleEntries));
  EXPECT_FALSE(f.add->isEnabled());

  // Without entries only Add is offered.
  CQNScheduleDialog empty({}, QNTexts(), "/p");
  Fields e(empty);
  EXPECT_FALSE(e.kind->isEnabled());
  EXPECT_FALSE(e.remove->isEnabled());
  EXPECT_TRUE(e.add->isEnabled());
}

TEST(ScheduleCommand, OpensTheDialogOnTheScheduleWhoseOkReplacesIt) {
  test::WindowRig rig;
  rig.app->SetSchedule({Entry("/p/a.qnp", kScheduleDaily, 3, 30)});
  QObject owner;
  std::size_t shown = 0;
  test::WhenShown<CQNScheduleDialog>(owner, [&](CQNScheduleDialog& dialog) {
    shown = dialog.Entries().size();
    dialog.AddProjects({"/p/b.qnp"});
    dialog.reject();
  });
  rig.frame->Command(kCmdSchedule)->trigger();
  EXPECT_EQ(shown, 1u);
  ASSERT_EQ(rig.app->Schedule().size(), 1u);

  test::WhenShown<CQNScheduleDialog>(owner, [](CQNScheduleDialog& dialog) {
    dialog.AddProjects({"/p/b.qnp"});
    dialog.accept();
  });
  rig.frame->Command(kCmdSchedule)->trigger();
  ASSERT_EQ(rig.app->Schedule().size(), 2u);
  EXPECT_EQ(rig.app->Schedule()[0].hour, 3);
  EXPECT_EQ(rig.app->Schedule()[1].projectFile, "/p/b.qnp");
}

}  // namespace
}  // namespace qn
