// The progress window as the run's status records drive it: counters, worker rows
// with their pictures, the speed that halves on a second without bytes, the clock.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>

#include "seams/Observer.h"
#include "settings/FileTypes.h"
#include "text/MessageIds.h"
#include "text/Texts.h"
#include "ui/ProgressWindow.h"

namespace qn::test {
namespace {

QNStatus Row(int worker, const std::string& name, int category) {
  QNStatus status;
  status.mask = QNStatus::kText1;
  status.worker = worker;
  status.text1 = name;
  status.address = "http://127.0.0.1/" + name;
  status.category = category;
  return status;
}

QNStatus Progress(int value) {
  QNStatus status;
  status.mask = QNStatus::kProgress;
  status.progress = value;
  return status;
}

TEST(ProgressWindowTest, ClockAndSpeedTexts) {
  EXPECT_EQ(FormatElapsed(std::chrono::seconds(0)), "0:00:00");
  EXPECT_EQ(FormatElapsed(std::chrono::seconds(3725)), "1:02:05");
  // Hours are counted modulo 24.
  EXPECT_EQ(FormatElapsed(std::chrono::seconds(25 * 3600 + 61)), "1:01:01");
  EXPECT_EQ(FormatSpeed(12.345, "KB/sec"), " 12.3 KB/sec");
}

TEST(ProgressWindowTest, RowsCountersAndSpeedFollowTheRecords) {
  QNTexts texts;
  QNProgressWindow window(texts);
  window.Reset(10);
  window.Apply(Progress(-1));
  EXPECT_EQ(window.ElapsedText(), "0:00:00");

  window.Apply(Row(3, "index.html", kCatHtml));
  window.Apply(Row(0, "logo.png", kCatImage));
  window.Apply(Row(5, "odd.bin", 3));               // not one category bit
  window.Apply(Row(100, "beyond.html", kCatHtml));  // no such row
  QNStatus columns;
  columns.mask = QNStatus::kText2 | QNStatus::kText3;
  columns.worker = 3;
  columns.text2 = "2 KB";
  columns.text3 = "Receiving";
  window.Apply(columns);
  ASSERT_EQ(window.RowCount(), 3);
  // Rows in worker order, each with its category's picture.
  EXPECT_EQ(window.RowAt(0).worker, 0);
  EXPECT_EQ(window.RowAt(0).picture, 1);
  EXPECT_EQ(window.RowAt(1).worker, 3);
  EXPECT_EQ(window.RowAt(1).name, "index.html");
  EXPECT_EQ(window.RowAt(1).size, "2 KB");
  EXPECT_EQ(window.RowAt(1).status, "Receiving");
  EXPECT_EQ(window.RowAt(1).picture, 0);
  EXPECT_EQ(window.RowAt(2).picture, 8);
  EXPECT_EQ(CategoryPicture(kCatArchive), 7);
  EXPECT_EQ(CategoryPicture(kCatDocument), 6);

  QNStatus counts;
  counts.mask = QNStatus::kFileCount | QNStatus::kLinkCount | QNStatus::kStatusText;
  counts.fileCountText = "12";
  counts.linkCountText = "40";
  counts.text3 = "Downloading";
  window.Apply(counts);
  EXPECT_EQ(window.CounterText(QNStatus::kFileCount), "12");
  EXPECT_EQ(window.CounterText(QNStatus::kLinkCount), "40");
  EXPECT_EQ(window.StatusText(), "Downloading");

  // 4000 bytes in a second, then two seconds without any: the speed halves.
  const std::string unit = " " + texts.Text(kMsgSpeedUnit);
  window.Apply(Progress(1500));
  window.Apply(Progress(2500));
  window.Tick();
  EXPECT_EQ(window.SpeedText().toStdString(), " 4.0" + unit);
  window.Tick();
  EXPECT_EQ(window.SpeedText().toStdString(), " 2.0" + unit);
  window.Tick();
  EXPECT_EQ(window.SpeedText().toStdString(), " 1.0" + unit);

  // Stop asks the window's owner and says so; the end of the run clears the rows
  // and offers Close.
  QSignalSpy stops(&window, &QNProgressWindow::StopRequested);
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->text() == "&Stop") button->click();
  EXPECT_EQ(stops.count(), 1);
  EXPECT_TRUE(window.Stopping());
  EXPECT_EQ(window.StatusText().toStdString(), texts.Text(kMsgStopping));
  QNStatus end = Progress(-2);
  end.clearRows = 1;
  window.Apply(end);
  EXPECT_EQ(window.RowCount(), 0);
  EXPECT_TRUE(window.SpeedText().isEmpty());
  EXPECT_FALSE(window.Stopping());
}

}  // namespace
}  // namespace qn::test
