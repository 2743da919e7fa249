#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

#include "records/DownloadLog.h"
#include "seams/Observer.h"
#include "support/TempDir.h"
#include "text/MessageIds.h"
#include "text/Texts.h"

namespace qn {
namespace {

struct PaneRecorder : IQNObserver {
  std::string pane;
  void OnLogText(const std::string& text) override {
    if (text.empty())
      pane.clear();
    else
      pane += text;
  }
};

TEST(DownloadLog, PathRules) {
  EXPECT_EQ(LogPathFor("/sites/news.qnp", "/dl/", "News"), "/sites/news.log");
  EXPECT_EQ(LogPathFor("/sites.v2/news", "/dl/", "News"), "/sites.v2/news.log");
  EXPECT_EQ(LogPathFor("", "/dl/", "News"), "/dl/News.log");
  EXPECT_EQ(LogPathFor("", "/dl", "News"), "/dl/News.log");
  EXPECT_EQ(LogPathFor("", "", "News"), "");
}

TEST(DownloadLog, NormalRunWritesLinesInOrderWithCrLf) {
  test::TempDir dir;
  PaneRecorder pane;
  CQNDownloadLog log(&pane);
  log.SetPath((dir / "p.log").string());
  ASSERT_TRUE(log.Reset());
  const std::string when = "3:05 PM, January 7, 2001";
  const QNTexts texts;
  log.WriteLine(LogKind::Started, MakeStartedText(texts, false, when));
  log.WriteLine(LogKind::Text, texts.Format(kMsgHttpError, 404, "http://h/x.htm"));
  log.WriteLine(LogKind::Completed, MakeCompletedText(texts, false, when));
  log.WriteLine(LogKind::Summary, MakeSummaryText(texts, 12, 1536));
  const std::string expected =
      "Download is Started (3:05 PM, January 7, 2001)\r\n\r\n"
      " Error (HTTP code 404) - 'http://h/x.htm'\r\n"
      "\r\nDownload is Completed (3:05 PM, January 7, 2001)\r\n"
      "\r\nSummary:\r\n Number of Files: 12        Total Size: 1.5 KB\r\n";
  EXPECT_EQ(test::ReadFile(dir / "p.log"), expected);
  EXPECT_EQ(pane.pane, expected);

  // A second run starts from an empty log and an empty pane.
  ASSERT_TRUE(log.Reset());
  EXPECT_EQ(test::ReadFile(dir / "p.log"), "");
  EXPECT_EQ(pane.pane, "");
  log.WriteLine(LogKind::Stopped, MakeStoppedText(texts, false, when, 1));
  log.WriteLine(LogKind::Text, texts.Format(kMsgInternalError, 7));
  EXPECT_EQ(test::ReadFile(dir / "p.log"),
            "\r\nDownload is Stopped (3:05 PM, January 7, 2001) - Number of Files exceeded "
            "the limit\r\n Internal Error (Code 7)\r\n");
}

TEST(DownloadLog, PreviewAndStopReasonTexts) {
  const QNTexts texts;
  EXPECT_EQ(MakeStartedText(texts, true, "t"), "Preview is Started (t)");
  EXPECT_EQ(MakeCompletedText(texts, true, "t"), "Preview is Completed (t)");
  EXPECT_EQ(MakeStoppedText(texts, true, "t", 0), "Preview is Stopped (t)");
  EXPECT_EQ(MakeStoppedText(texts, false, "t", 2),
            "Download is Stopped (t) - Total Time exceeded the limit");
  EXPECT_EQ(MakeStoppedText(texts, false, "t", 3),
            "Download is Stopped (t) - Total Disk Space exceeded the limit");
}

TEST(DownloadLog, UnwritableLogIsDroppedSilently) {
  PaneRecorder pane;
  CQNDownloadLog log(&pane);
  EXPECT_FALSE(log.Append(LogKind::Text, "no path"));
  log.SetPath("/nonexistent-folder-qn/sub/x.log");
  EXPECT_FALSE(log.Append(LogKind::Text, "cannot open"));
  EXPECT_EQ(pane.pane, "");
}

TEST(DownloadLog, LongLogIsCutForThePane) {
  test::TempDir dir;
  const std::string body(40 * 1024, 'x');
  test::WriteFile(dir / "big.log", body);
  CQNDownloadLog log;
  log.SetPath((dir / "big.log").string());
  const std::string shown = log.LoadForDisplay(QNTexts());
  EXPECT_EQ(shown.size(), kLogPaneLimit);
  const std::string note = "\r\nNote: The Log File is too big to be loaded completely.";
  EXPECT_EQ(shown.substr(shown.size() - note.size()), note);
  EXPECT_EQ(shown.find_first_not_of('x'), shown.size() - note.size());

  test::WriteFile(dir / "small.log", "abc\r\n");
  log.SetPath((dir / "small.log").string());
  EXPECT_EQ(log.LoadForDisplay(QNTexts()), "abc\r\n");
  log.SetPath((dir / "missing.log").string());
  EXPECT_EQ(log.LoadForDisplay(QNTexts()), "");
}

TEST(DownloadLog, FirstSaveMovesTheLog) {
  test::TempDir dir;
  CQNDownloadLog log;
  log.SetPath((dir / "Title.log").string());
  ASSERT_TRUE(log.Append(LogKind::Text, "kept"));
  test::WriteFile(dir / "proj.log", "old");
  ASSERT_TRUE(log.MoveTo((dir / "proj.log").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "Title.log"));
  EXPECT_EQ(test::ReadFile(dir / "proj.log"), "kept\r\n");
  EXPECT_EQ(log.Path(), (dir / "proj.log").string());
}

TEST(DownloadLog, ConcurrentWritersNeverInterleaveInsideALine) {
  test::TempDir dir;
  CQNDownloadLog log;
  log.SetPath((dir / "c.log").string());
  ASSERT_TRUE(log.Reset());
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&log, t] {
      for (int i = 0; i < 100; ++i) log.WriteLine(LogKind::Text, std::string(50, char('a' + t)));
    });
  for (auto& th : threads) th.join();
  std::istringstream in(test::ReadFile(dir / "c.log"));
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    ASSERT_EQ(line.size(), 51u);
    EXPECT_EQ(line.back(), '\r');
    EXPECT_EQ(line.find_first_not_of(line[0]), 50u);
    ++lines;
  }
  EXPECT_EQ(lines, 800);
}

}  // namespace
}  // namespace qn
