// The main window's "Project Settings..." and "Add URL Filter..." on the open project.
#include <gtest/gtest.h>

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>

#include "engine/Doc.h"
#include "ui/CommandIds.h"
#include "ui/SettingsDialog.h"
#include "ui/SettingsIds.h"
#include "ui/ShownDialog.h"
#include "ui/UrlFilterDialog.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

TEST(SettingsCommands, TheMainWindowEditsTheOpenProjectsSettingsAndFilters) {
  QObject owner;
  WindowRig rig;
  rig.NewProject();
  CQNDoc& doc = rig.Doc();
  CQNDocNode* link = doc.AddLink(doc.Tree().root, true);
  ASSERT_TRUE(link);
  {
    auto lock = doc.Locks().Hold(DocLock::Tree);
    link->url = "http://127.0.0.1:8080/news/autumn.html";
  }
  const QNNodeId id = NodeIdOf(*link);
  rig.Settle();
  rig.Pane().selectionModel()->setCurrentIndex(rig.Pane().Model().IndexOf(id),
                                               QItemSelectionModel::ClearAndSelect);
  rig.frame->UpdateCommands();

  // The filter dialog comes prefilled from the selected node; OK adds the filter.
  WhenShown<QNUrlFilterDialog>(owner, [](QNUrlFilterDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QString("idc%1").arg(kIdcFilterServer))->text(),
              "127.0.0.1:8080");
    dialog.findChild<QRadioButton*>(QString("idc%1").arg(kIdcSkipMatching))->setChecked(true);
    dialog.accept();
  });
  rig.frame->Command(kCmdAddUrlFilter)->trigger();
  EXPECT_EQ(doc.SettingsCopy().QN_URL_FILTER,
            (std::vector<CQNUrlFilter>{{0, 1, "127.0.0.1:8080", "news", "autumn.html"}}));

  // A new title reaches the project and the tree's root.
  WhenShown<QNSettingsDialog>(owner, [](QNSettingsDialog& dialog) {
    dialog.findChild<QLineEdit*>(QString("idc%1").arg(kIdcTitle))->setText("Garden Club");
    dialog.accept();
  });
  rig.frame->Command(kCmdProjectSettings)->trigger();
  rig.Settle();
  EXPECT_EQ(doc.SettingsCopy().QN_TITLE, "Garden Club");
  EXPECT_EQ(doc.Tree().root->title, "Garden Club");
  EXPECT_TRUE(doc.modified);
}

}  // namespace
}  // namespace qn::test
