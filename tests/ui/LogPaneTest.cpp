// The log pane fed by the project's download log, from threads other than the
// window's, as a run writes it.
#include <gtest/gtest.h>

#include <QThread>
#include <filesystem>
#include <thread>

#include "records/DownloadLog.h"
#include "ui/LogPane.h"
#include "ui/WindowRig.h"

namespace qn::test {
namespace {

TEST(LogPaneTest, StopsGrowingAtItsLimitWhileTheFileKeepsEveryLine) {
  WindowRig rig;
  rig.NewProject();
  CQNDownloadLog& log = rig.app->Session().log;
  log.SetPath((rig.dir / "run.log").string());
  ASSERT_TRUE(log.Reset());
  const std::string line(99, 'x');  // 101 characters with its line end
  const int lines = 400;
  std::thread writer([&] {
    for (int i = 0; i < lines; ++i) log.WriteLine(LogKind::Text, line);
  });
  writer.join();
  rig.Settle();

  const QNLogPane& pane = rig.frame->Log();
  EXPECT_LE(pane.Shown(), kLogPaneLimit);
  EXPECT_EQ(pane.Shown(), (kLogPaneLimit / 101) * 101);
  EXPECT_EQ(pane.document()->blockCount(), static_cast<int>(kLogPaneLimit / 101) + 1);
  EXPECT_EQ(std::filesystem::file_size(rig.dir / "run.log"), lines * 101u);

  // A new download empties the log and the pane with it; the pane takes lines again.
  ASSERT_TRUE(log.Reset());
  log.WriteLine(LogKind::Text, "after");
  rig.Settle();
  EXPECT_EQ(pane.toPlainText(), "after\n");
  EXPECT_EQ(pane.Shown(), 7u);
}

}  // namespace
}  // namespace qn::test
