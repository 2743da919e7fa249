// "Convert Links" from the main window over a project large enough to take a while:
// the command waits while the conversion runs, its window's Stop ends it between two
// files, and the status line says so.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>

#include "engine/Doc.h"
#include "settings/FileTypes.h"
#include "ui/CommandIds.h"
#include "ui/ShownDialog.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

TEST(ConvertFromWindowTest, StopEndsALongConversionAndTheCommandReturns) {
  WindowRig rig;
  rig.NewProject();
  CQNDoc& doc = rig.Doc();
  const std::string start = "http://127.0.0.1:9/index.html";
  CQNSettings settings = doc.SettingsCopy();
  settings.QN_START_URL[0] = start;
  doc.ApplyChangedSettings(settings);
  // One small page converted over and over: every node names it.
  const std::string page = (rig.dir / "index.html").string();
  WriteFile(page, "<html><a href=\"http://127.0.0.1:9/other.html\">x</a></html>");
  {
    auto lock = doc.Locks().Hold(DocLock::Tree);
    CQNDocTree& tree = doc.Tree();
    CQNDocNode* home = tree.AddFolder(tree.root, true);
    home->url = start;
    for (int i = 0; i < 50000; ++i) {
      CQNDocNode* node = i == 0 ? home : tree.AddLink(home, true, page);
      node->type = kCatHtml;
      node->localFile = page;
      node->state = kStateDone;
    }
  }

  QAction* convert = rig.frame->Command(kCmdConvertLinks);
  rig.frame->UpdateCommands();
  ASSERT_TRUE(convert->isEnabled());
  QObject owner;
  int percentAtStop = -1;
  WhenShown<QProgressDialog>(owner, [&](QProgressDialog& dialog) {
    percentAtStop = dialog.value();
    dialog.findChild<QPushButton*>()->click();
  });
  convert->trigger();
  EXPECT_FALSE(convert->isEnabled());

  QElapsedTimer waited;
  waited.start();
  // The conversion's thread ends before its result reaches this thread: the command
  // returns with the result.
  while (!convert->isEnabled() && waited.elapsed() < 60000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_FALSE(rig.app->Conversion().Running());
  rig.Settle();

  ASSERT_GE(percentAtStop, 0) << "the conversion's window never showed";
  EXPECT_LT(percentAtStop, 100);
  EXPECT_LT(rig.app->Conversion().Percent(), 100) << "Stop did not end the conversion";
  EXPECT_EQ(rig.frame->statusBar()->currentMessage(), "Stopped");
  EXPECT_EQ(ShownDialog<QProgressDialog>(), nullptr);
  EXPECT_TRUE(convert->isEnabled());
  // The page was converted before the stop and is whole.
  EXPECT_NE(ReadFile(page).find("</html>"), std::string::npos);
}

}  // namespace
}  // namespace qn::test
