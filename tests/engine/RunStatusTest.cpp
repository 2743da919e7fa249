// The status records of a real run carry their numbers beside the texts.
#include <algorithm>

#include "engine/RunRig.h"

namespace qn::test {
namespace {

TEST(RunStatus, RecordsCarryAddressCategorySizesSpeedAndCounters) {
  RunRig rig;
  HttpTestServer server;
  RequestCounter counter;
  const std::string picture = "GIF89a" + std::string(50000 - 6, 'x');
  const std::map<std::string, Resource> site{
      {"/index.html", {"<img src=\"pic.gif\">", "text/html"}},
      {"/pic.gif", {picture, "image/gif"}},
  };
  ServeFiles(server, site, counter);
  server.Start();
  rig.settings.QN_START_URL[0] = server.Url("/index.html");
  ASSERT_TRUE(rig.Download());
  ASSERT_EQ(rig.NodesIn(kStateDone).size(), 2u);

  const std::vector<QNStatus> records = rig.observer.Statuses();
  auto rowsOf = [&](const std::string& address) {
    std::vector<QNStatus> rows;
    for (const QNStatus& s : records)
      if ((s.mask & QNStatus::kText1) && s.address == address) rows.push_back(s);
    return rows;
  };
  const std::vector<QNStatus> pageRows = rowsOf(server.Url("/index.html"));
  ASSERT_FALSE(pageRows.empty());
  for (const QNStatus& s : pageRows) EXPECT_EQ(s.category, kCatHtml);
  const std::vector<QNStatus> pictureRows = rowsOf(server.Url("/pic.gif"));
  ASSERT_FALSE(pictureRows.empty());
  for (const QNStatus& s : pictureRows) EXPECT_EQ(s.category, kCatImage);
  const auto announced = std::find_if(pictureRows.begin(), pictureRows.end(),
                                      [](const QNStatus& s) { return s.size == 50000; });
  ASSERT_NE(announced, pictureRows.end());
  EXPECT_EQ(announced->text2, "48.8 KB");

  // The picture's transfer, on its worker's row after the size was announced.
  const int row = announced->worker;
  std::int64_t chunks = 0;
  std::int64_t received = 0;
  double speed = 0;
  bool onPicture = false;
  for (const QNStatus& s : records) {
    if (s.worker != row) continue;
    if (s.mask & QNStatus::kText1) onPicture = s.address == server.Url("/pic.gif");
    if (!onPicture || !(s.mask & QNStatus::kProgress)) continue;
    chunks += s.progress;
    EXPECT_GT(s.received, received);
    received = s.received;
    speed = s.bytesPerSecond;
  }
  EXPECT_EQ(chunks, 50000);
  EXPECT_EQ(received, 50000);
  EXPECT_GT(speed, 0);

  // The last counters are the run's, as numbers and as texts.
  const CQNRunCounters counters = rig.doc.Counters();
  const auto lastWith = [&](int bit) {
    QNStatus last;
    for (const QNStatus& s : records)
      if (s.mask & bit) last = s;
    return last;
  };
  const QNStatus files = lastWith(QNStatus::kFileCount);
  EXPECT_EQ(files.files, 2);
  EXPECT_EQ(files.fileCountText, "2");
  const QNStatus total = lastWith(QNStatus::kTotalSize);
  EXPECT_EQ(total.bytes, counters.bytes);
  EXPECT_GE(total.bytes, 50000);
  EXPECT_GT(total.bytesPerSecond, 0);
  const QNStatus links = lastWith(QNStatus::kLinkCount);
  EXPECT_EQ(links.links, 2);
  EXPECT_EQ(links.linkCountText, "2");
}

}  // namespace
}  // namespace qn::test
