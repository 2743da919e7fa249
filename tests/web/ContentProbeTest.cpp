#include <gtest/gtest.h>

#include "support/TestServers.h"
#include "web/FetchTestRig.h"

namespace qn::test {
namespace {

TEST(ContentProbeTest, CategoryFromTheServersType) {
  HttpTestServer server;
  server.server().Get(R"(/t/(.*))", [](const httplib::Request& req, httplib::Response& res) {
    // The type to answer is the rest of the path, with "_" for "/".
    std::string type = req.matches[1];
    for (char& c : type)
      if (c == '_') c = '/';
    res.set_content(std::string(300000, 'x'), type.c_str());
  });
  server.Start();
  FetchRig rig;
  const QNFetchContext ctx = rig.Context();
  const std::pair<const char*, int> cases[] = {
      {"text_html", 1},          {"text_plain; charset=x", 128},
      {"TEXT_Plain", 128},       {"text_css", 1},
      {"image_gif", 2},          {"audio_mpeg", 8},
      {"video_mp4", 16},         {"application_zip", 256},
      {"application_x-zip", 64}, {"application_pdf", 64},
      {"font_woff", 0},
  };
  for (const auto& [type, category] : cases)
    EXPECT_EQ(ProbeContentType(server.Url(std::string("/t/") + type), ctx), category) << type;

  EXPECT_EQ(ProbeContentType("ftp://127.0.0.1/x", ctx), 0);
  EXPECT_EQ(ProbeContentType("file:///etc/hostname", ctx), 0);
  EXPECT_EQ(ProbeContentType("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/x", ctx), 0);
}

TEST(ContentProbeTest, TypeText) {
  EXPECT_EQ(ContentTypeCategory("text/plain;charset=utf-8"), 128);
  EXPECT_EQ(ContentTypeCategory("text"), 1);
  EXPECT_EQ(ContentTypeCategory(""), 0);
  EXPECT_EQ(ContentTypeCategory("Application/ZIP"), 256);
}

}  // namespace
}  // namespace qn::test
