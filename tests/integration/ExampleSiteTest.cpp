// The example site of examples/ copied by quillorne-cli as the demo copies it: served
// with its partner site by examples/serve.py, copied with link conversion and the
// report on, then browsed offline with the link checker.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <utility>

#include "TestPaths.h"
#include "integration/CliProcess.h"
#include "integration/CopyChecks.h"
#include "integration/ExampleServers.h"
#include "project/ProjectFile.h"
#include "records/DocTree.h"
#include "settings/ProjectSettings.h"
#include "storage/LinkChecker.h"
#include "support/TempDir.h"

namespace qn::test {
namespace {

namespace fs = std::filesystem;

// The value of the first href in `page` whose anchor text is `text`.
std::string HrefOf(const std::string& page, const std::string& text) {
  std::smatch match;
  const std::regex anchor("href=\"([^\"]*)\">" + text + "</a>");
  return std::regex_search(page, match, anchor) ? match[1].str() : std::string();
}

bool IsImage(const std::string& file) {
  return file.ends_with(".gif") || file.ends_with(".png");
}

TEST(ExampleSite, CopiesBrowseOfflineWithOnlyTheSitesOwnBrokenLink) {
  TempDir dir;
  ExampleServers servers(dir.path());
  ASSERT_TRUE(servers.running()) << ReadFile(dir / "serve.log");
  const std::string site = "http://127.0.0.1:" + std::to_string(servers.sitePort());
  const std::string partnerServer = "127.0.0.1:" + std::to_string(servers.partnerPort());
  const fs::path copy = fs::absolute(dir / "copy").lexically_normal();
  const fs::path project = dir / "garden.qnp";

  std::string out;
  std::string err;
  const int status =
      RunCli({site + "/index.html", "-o", copy.string(), "--set", "QN_TITLE=Example", "--set",
              "QN_REPORT=1", "--set", "QN_URL_FILTER=1 15 " + partnerServer + " \"\" \"\"",
              "--save", project.string()},
             dir.path(), &out, &err);
  ASSERT_EQ(status, 0) << out << err;
  EXPECT_EQ(err, "");

  // The project is saved, and its log names the one address the site lacks.
  {
    CQNSettings settings;
    CQNDocTree tree;
    std::ifstream in(project, std::ios::binary);
    ASSERT_TRUE(in && ReadProject(in, project.string(), settings, tree, {}));
    EXPECT_EQ(settings.DownloadState, 2);
    EXPECT_EQ(settings.QN_REPORT, 1);
  }
  EXPECT_NE(ReadFile(dir / "garden.log")
                .find("Error (HTTP code 404) - '" + site + "/news/archive/2024/plant-swap.html'"),
            std::string::npos)
      << ReadFile(dir / "garden.log");

  // Every file of both sites is in the copy (the partner's below its server's folder),
  // the images byte for byte. The site's search page is linked only by its GET form.
  const fs::path partnerCopy = copy / ("127.0.0.1_" + std::to_string(servers.partnerPort()));
  for (const auto& [from, to] :
       {std::pair{kExamples / "site", copy}, std::pair{kExamples / "partner", partnerCopy}})
    for (const std::string& file : FilesBelow(from)) {
      ASSERT_TRUE(fs::is_regular_file(to / file)) << file;
      if (IsImage(file)) {
        EXPECT_EQ(ReadFile(to / file), ReadFile(from / file)) << file;
      }
    }

  const std::string index = ReadFile(copy / "index.html");
  // The image map: the calendar is linked only by the map's third area.
  EXPECT_NE(index.find("coords=\"200,0,299,39\" href=\"events/calendar.html\""), std::string::npos);
  EXPECT_NE(ReadFile(copy / "events/calendar.html").find("<h1>Events: the whole year</h1>"),
            std::string::npos);
  // Frames: the menu is linked only as a frame, the rules only from the menu.
  EXPECT_NE(ReadFile(copy / "members/index.html").find("<frame src=\"menu.html\""),
            std::string::npos);
  EXPECT_NE(ReadFile(copy / "members/menu.html").find("href=\"rules.html\""), std::string::npos);
  // Style sheets: base.css comes only through @import url(), the two pictures only
  // through url() in the sheets.
  const std::string sheet = ReadFile(copy / "style/site.css");
  EXPECT_NE(sheet.find("@import url(\"base.css\");"), std::string::npos);
  EXPECT_NE(sheet.find("url(../images/paper.png)"), std::string::npos);
  EXPECT_NE(ReadFile(copy / "style/base.css").find("url('../images/leaf.png')"), std::string::npos);

  // Query pages: each month's link leads to a local page holding that month.
  for (const std::string month : {"March", "June", "September"}) {
    const std::string href = HrefOf(index, month);
    ASSERT_TRUE(href.starts_with("events/")) << month << ": " << href;
    EXPECT_EQ(href.find('?'), std::string::npos) << href;
    EXPECT_NE(ReadFile(copy / href).find("<h1>Events: " + month + "</h1>"), std::string::npos)
        << href;
  }

  // The partner server: the link to it and its links back are local.
  const std::string partnerDir = partnerCopy.filename().string();
  EXPECT_EQ(HrefOf(index, "Lumbrook Seed\nExchange"), partnerDir + "/index.html");
  EXPECT_EQ(index.find(partnerServer), std::string::npos);
  const std::string partnerIndex = ReadFile(partnerCopy / "index.html");
  EXPECT_EQ(HrefOf(partnerIndex, "Lumbrook Garden Club"), "../index.html");
  EXPECT_EQ(HrefOf(partnerIndex, "shelves this season"), "seeds.html");
  const std::string seedSwap = HrefOf(ReadFile(partnerCopy / "seeds.html"), "seed swap in March");
  EXPECT_EQ(seedSwap, "../" + HrefOf(index, "March")) << seedSwap;

  // The report: one escaped row per file, the printable list's "&" among them.
  const std::string report = ReadFile(copy / "_QNReport" / "Example_Report.htm");
  ASSERT_FALSE(report.empty());
  EXPECT_NE(report.find("<TD>" + site + "/index.html</TD>"), std::string::npos);
  EXPECT_NE(report.find("<TD>" + site + "/events/calendar.html?month=6&amp;view=print</TD>"),
            std::string::npos);
  EXPECT_EQ(report.find("month=6&view"), std::string::npos);

  // Offline, the copy has the broken links of the original folder (a browser drops
  // the query of a local link, so the month pages are found there): the one link of
  // news/autumn.html to a page the site never had.
  const CQNSettings defaults;
  const fs::path original = fs::absolute(kExamples / "site").lexically_normal();
  const QNLinkCheck before = CheckLocalLinks(original, original / "index.html", defaults);
  const auto expected = BrokenLinks(before, original);
  ASSERT_EQ(expected, (std::set<std::pair<std::string, std::string>>{
                          {"news/autumn.html", "archive/2024/plant-swap.html"}}))
      << "the example site itself changed:" << Describe(expected);

  const QNLinkCheck after = CheckLocalLinks(copy, copy / "index.html", defaults);
  // The month pages and the two partner pages are reached offline as well.
  EXPECT_GE(after.pages, before.pages + 5);
  // Links written with entities ("month=6&amp;view=print") are converted too.
  EXPECT_EQ(BrokenLinks(after, copy), expected)
      << "broken in the copy:" << Describe(BrokenLinks(after, copy));
}

}  // namespace
}  // namespace qn::test
