// Runs started from the main window's commands: the download-type question answered
// in its dialog, and a whole copy of the example site ending with every saved file
// in the contents tree and the progress window offering Close.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSignalSpy>
#include <filesystem>

#include "TestPaths.h"
#include "engine/Doc.h"
#include "seams/RunControl.h"
#include "support/TestServers.h"
#include "ui/CommandIds.h"
#include "ui/DownloadKindDialog.h"
#include "ui/ProgressWindow.h"
#include "ui/ShownDialog.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

// Answers the next download-type dialog once it is shown: picks the choice whose
// caption holds `choice`, or cancels for an empty one. What the dialog offered is
// kept.
struct KindAnswer {
  explicit KindAnswer(QString wanted) : choice(std::move(wanted)) {}

  QString choice;
  std::vector<QString> offered;
  QString checked;

  void Arm(QObject& owner) {
    WhenShown<QNDownloadKindDialog>(owner, [this](QNDownloadKindDialog& dialog) {
      for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
        if (button->isEnabled()) offered.push_back(button->text());
        if (button->isChecked()) checked = button->text();
        if (!choice.isEmpty() && button->text().contains(choice)) button->setChecked(true);
      }
      if (choice.isEmpty())
        dialog.reject();
      else
        dialog.accept();
    });
  }
};

TEST(RunFromWindowTest, TheDownloadTypeDialogOffersWhatTheEngineOffers) {
  WindowRig rig;
  QNDownloadKindOffer offer;
  offer.ask = true;
  offer.offerContinue = true;
  offer.offerFailed = true;
  offer.preselected = kKindContinue;

  KindAnswer failed("failed");
  failed.Arm(*rig.frame);
  EXPECT_EQ(rig.observer.AskDownloadKind(offer), kKindFailed);
  ASSERT_EQ(failed.offered.size(), 3u);
  EXPECT_TRUE(failed.checked.contains("Continue"));

  // Cancel starts nothing; a preselection not offered falls back to a new download.
  offer.preselected = kKindSelected;
  KindAnswer cancel("");
  cancel.Arm(*rig.frame);
  EXPECT_EQ(rig.observer.AskDownloadKind(offer), 0);
  EXPECT_TRUE(cancel.checked.contains("new"));
}

TEST(RunFromWindowTest, CopiesTheExampleSiteAndShowsEverySavedFile) {
  WindowRig rig;
  HttpTestServer server;
  server.server().set_mount_point("/", (fs::path(QN_TEST_SOURCE_DIR) / "examples/site").string());
  server.Start();
  rig.NewProjectOf(server.Url("/index.html"));
  CQNDoc& doc = rig.Doc();

  rig.frame->UpdateCommands();
  QAction* start = rig.frame->Command(kCmdStartDownload);
  ASSERT_TRUE(start->isEnabled());
  QSignalSpy ended(rig.frame.get(), &CQNMainFrame::RunEnded);
  start->trigger();
  QNProgressWindow* progress = rig.frame->Progress();
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isVisible());

  QElapsedTimer waited;
  waited.start();
  while (ended.count() == 0 && waited.elapsed() < 120000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_EQ(ended.count(), 1) << "the run did not end";
  EXPECT_TRUE(doc.WaitForRunEnd(std::chrono::seconds(10)));
  rig.Settle();

  std::vector<QNNodeId> saved;
  {
    auto lock = doc.Locks().Hold(DocLock::Tree);
    std::vector<const CQNDocNode*> open{doc.Tree().root};
    while (!open.empty()) {
      const CQNDocNode* node = open.back();
      open.pop_back();
      for (const CQNDocNode* child = node->firstChild; child; child = child->nextSibling)
        open.push_back(child);
      if (node->state == kStateDone && !node->localFile.empty()) {
        EXPECT_TRUE(fs::exists(node->localFile)) << node->localFile;
        saved.push_back(NodeIdOf(*node));
      }
    }
  }
  // The site's pages, pictures and style sheets.
  EXPECT_GT(saved.size(), 15u);
  for (const QNNodeId& id : saved) EXPECT_TRUE(rig.Pane().Model().Shows(id));
  EXPECT_EQ(progress->RowCount(), 0);
  EXPECT_FALSE(progress->CounterText(QNStatus::kFileCount).isEmpty());
  EXPECT_TRUE(rig.frame->Command(kCmdStartDownload)->isEnabled());
}

}  // namespace
}  // namespace qn::test
