// The markup of today's pages, one family per test: what discovery reports (each
// value once, in page order) and what conversion writes back.
#include <gtest/gtest.h>

#include "web/ElementValues.h"
#include "web/ScanTestSupport.h"

namespace qn::test {
namespace {

using Texts = std::vector<std::string>;

TEST(TodaysMarkup, ResponsiveAndLazyImages) {
  const std::string page =
      "<img src=\"a.jpg\" srcset=\"a-480.jpg 480w, a-800.jpg 800w\" "
      "sizes=\"(max-width: 600px) 480px, 800px\" alt=\"A\">\n"
      "<picture><source srcset=\"b.webp 1x,b@2x.webp 2x\" type=\"image/webp\">"
      "<img src=\"b.jpg\"></picture>\n"
      "<img class=lazy data-src=\"l.jpg\" data-srcset=\"l1.jpg 1x, l2.jpg 2x\" "
      "data-original='o.jpg' src=\"data:image/gif;base64,R0lGOD\">\n"
      "<img srcset=\"https://cdn.example/w_480,c_fill/p.jpg 480w,https://cdn.example/w_800,"
      "c_fill/p.jpg 800w\">\n"
      "<link rel=preload as=image imagesrcset=\"h-1x.avif 1x, h-2x.avif 2x\" href=\"h.jpg\">\n";
  const RecordingSink found = ScanPage(page);
  EXPECT_EQ(found.Texts(),
            (Texts{"a.jpg", "a-480.jpg", "a-800.jpg", "b.webp", "b@2x.webp", "b.jpg", "l.jpg",
                   "o.jpg", "l1.jpg", "l2.jpg", "https://cdn.example/w_480,c_fill/p.jpg",
                   "https://cdn.example/w_800,c_fill/p.jpg", "h.jpg", "h-1x.avif", "h-2x.avif"}));
  EXPECT_EQ(found.links[3].address, "http://host/dir/b.webp");

  PrefixConverter convert;
  EXPECT_EQ(ConvertPage(page, convert.Function()),
            "<img src=\"L/a.jpg\" srcset=\"L/a-480.jpg 480w, L/a-800.jpg 800w\" "
            "sizes=\"(max-width: 600px) 480px, 800px\" alt=\"A\">\n"
            "<picture><source srcset=\"L/b.webp 1x,L/b@2x.webp 2x\" type=\"image/webp\">"
            "<img src=\"L/b.jpg\"></picture>\n"
            "<img class=lazy data-src=\"L/l.jpg\" data-srcset=\"L/l1.jpg 1x, L/l2.jpg 2x\" "
            "data-original='L/o.jpg' src=\"data:image/gif;base64,R0lGOD\">\n"
            "<img srcset=\"L/https://cdn.example/w_480,c_fill/p.jpg 480w,L/https://cdn.example/"
            "w_800,c_fill/p.jpg 800w\">\n"
            "<link rel=preload as=image imagesrcset=\"L/h-1x.avif 1x, L/h-2x.avif 2x\" "
            "href=\"L/h.jpg\">\n");
  // Pictures are named as pictures, not as pages.
  for (std::size_t i = 0; i < convert.calls.size(); ++i)
    EXPECT_EQ(convert.calls[i].notImage, convert.values[i] == "h.jpg") << convert.values[i];
}

TEST(TodaysMarkup, CandidateListsAsBrowsersSplitThem) {
  const std::string list = " a.jpg 1x,b.jpg,, c,d.jpg 2x , e.jpg (x, y) 3x,f.jpg,";
  std::vector<std::string> addresses;
  for (const auto& [begin, end] : SrcsetAddresses(list))
    addresses.push_back(list.substr(begin, end - begin));
  EXPECT_EQ(addresses, (Texts{"a.jpg", "b.jpg", "c,d.jpg", "e.jpg", "f.jpg"}));
  EXPECT_TRUE(SrcsetAddresses(" , ,").empty());
}

TEST(TodaysMarkup, VideoAudioTracksAndInlineFrames) {
  const std::string page =
      "<video src=\"clip.mp4\" poster=\"still.jpg\" controls>\n"
      "  <source src=\"clip.webm\" type=\"video/webm\">\n"
      "  <track src=\"subs/en.vtt\" kind=captions srclang=en>\n"
      "</video>\n"
      "<audio src=\"song.ogg\"></audio>\n"
      "<iframe src=\"map.html\" loading=lazy></iframe>\n";
  const RecordingSink found = ScanPage(page);
  EXPECT_EQ(found.Texts(),
            (Texts{"clip.mp4", "still.jpg", "clip.webm", "subs/en.vtt", "song.ogg", "map.html"}));
  EXPECT_EQ(found.links.back().tag, kTagInlineFrame);
  EXPECT_TRUE(IsFrameSource(kTagInlineFrame));

  PrefixConverter convert;
  const std::string converted = ConvertPage(page, convert.Function());
  for (const std::string value : {"\"L/clip.mp4\"", "\"L/still.jpg\"", "\"L/clip.webm\"",
                                  "\"L/subs/en.vtt\"", "\"L/song.ogg\"", "\"L/map.html\""})
    EXPECT_NE(converted.find(value), std::string::npos) << value;
  EXPECT_EQ(convert.calls.size(), 6u);
}

TEST(TodaysMarkup, LinkRelationsModulesAndChecksums) {
  const std::string head =
      "<link rel=\"preload\" href=\"/fonts/body.woff2\" as=\"font\" type=\"font/woff2\" "
      "crossorigin>\n"
      "<link rel=\"modulepreload\" href=\"/js/util.mjs\">\n"
      "<link rel=\"icon\" href=\"/favicon.ico\" sizes=\"any\">\n"
      "<link rel=\"apple-touch-icon\" href=\"/touch.png\">\n"
      "<link rel=\"manifest\" href=\"/site.webmanifest\">\n"
      "<link rel=\"stylesheet\" href=\"/css/print.css?v=3\" media=\"print and (color)\" "
      "integrity=\"sha384-oqVu\" crossorigin=\"anonymous\">\n"
      "<script type=\"module\" src=\"/js/app.mjs?v=3\" integrity=\"sha384-AbC\"></script>\n";
  const RecordingSink found = ScanPage(head);
  EXPECT_EQ(found.Texts(), (Texts{"/fonts/body.woff2", "/js/util.mjs", "/favicon.ico", "/touch.png",
                                  "/site.webmanifest", "/css/print.css?v=3", "/js/app.mjs?v=3"}));

  // The copy on disk passes no checksum of the original and no cross-origin check.
  PrefixConverter convert;
  const std::string converted = ConvertPage(head, convert.Function());
  EXPECT_NE(converted.find("<link rel=\"preload\" href=\"L//fonts/body.woff2\" as=\"font\" "
                           "type=\"font/woff2\">"),
            std::string::npos);
  EXPECT_NE(converted.find("<link rel=\"stylesheet\" href=\"L//css/print.css?v=3\" "
                           "media=\"print and (color)\">"),
            std::string::npos);
  EXPECT_NE(converted.find("<script type=\"module\" src=\"L//js/app.mjs?v=3\"></script>"),
            std::string::npos);

  // A link left pointing at the original keeps what the original needs.
  const QNLinkConverter keep = [](const QNLinkToConvert&) -> std::optional<std::string> {
    return std::nullopt;
  };
  EXPECT_EQ(ConvertPage(head, keep), head);
}

TEST(TodaysMarkup, SvgReferencesKeepTheirFragments) {
  const std::string page =
      "<svg><use href=\"sprite.svg#icon-home\"></use>"
      "<use xlink:href=\"/img/sprite.svg#icon-mail\"/>"
      "<use href=\"#local\"/>"
      "<image href=\"chart.png\" width=\"10\"/></svg>\n";
  const RecordingSink found = ScanPage(page);
  EXPECT_EQ(found.Texts(),
            (Texts{"sprite.svg#icon-home", "/img/sprite.svg#icon-mail", "chart.png"}));
  EXPECT_EQ(found.links[0].address, "http://host/dir/sprite.svg#icon-home");

  PrefixConverter convert;
  EXPECT_EQ(ConvertPage(page, convert.Function()),
            "<svg><use href=\"L/sprite.svg#icon-home\"></use>"
            "<use xlink:href=\"L//img/sprite.svg#icon-mail\"/>"
            "<use href=\"#local\"/>"
            "<image href=\"L/chart.png\" width=\"10\"/></svg>\n");
}

TEST(TodaysMarkup, StyleSheetsImportsAndImageSets) {
  const std::string css =
      "@import \"base.css\";\n"
      "@import url(theme.css) screen and (min-width: 40em);\n"
      "@import url('print.css') print;\n"
      "@font-face{font-family:Body;src:url(f/body.woff2) format(\"woff2\"),"
      "url(\"f/body.woff\") format(\"woff\"),url('f/body.ttf') format('truetype')}\n"
      ".hero{background-image:image-set(\"hero.avif\" type(\"image/avif\") 1x, "
      "\"hero.jpg\" type(\"image/jpeg\") 1x)}\n"
      ".logo{background:-webkit-image-set(url(logo.png) 1x,url(logo@2x.png) 2x)}\n"
      ".wide{background-image:image-set(\n  'w1.png' 1x,\n  'w2.png' 2x\n)}\n";
  const RecordingSink found = ScanPage(css, {}, "http://host/dir/site.css");
  EXPECT_EQ(found.Texts(), (Texts{"base.css", "theme.css", "print.css", "f/body.woff2",
                                  "f/body.woff", "f/body.ttf", "hero.avif", "hero.jpg", "logo.png",
                                  "logo@2x.png", "w1.png", "w2.png"}));

  PrefixConverter convert;
  EXPECT_EQ(ConvertPage(css, convert.Function()),
            "@import \"L/base.css\";\n"
            "@import url(L/theme.css) screen and (min-width: 40em);\n"
            "@import url('L/print.css') print;\n"
            "@font-face{font-family:Body;src:url(L/f/body.woff2) format(\"woff2\"),"
            "url(\"L/f/body.woff\") format(\"woff\"),url('L/f/body.ttf') format('truetype')}\n"
            ".hero{background-image:image-set(\"L/hero.avif\" type(\"image/avif\") 1x, "
            "\"L/hero.jpg\" type(\"image/jpeg\") 1x)}\n"
            ".logo{background:-webkit-image-set(url(L/logo.png) 1x,url(L/logo@2x.png) 2x)}\n"
            ".wide{background-image:image-set(\n  'L/w1.png' 1x,\n  'L/w2.png' 2x\n)}\n");
}

TEST(TodaysMarkup, StyleAttributesOfEveryElement) {
  const std::string page =
      "<img style=\"background:url(under.png)\" src=\"pic.gif\">\n"
      "<body style=\"background-image:image-set('bg.png' 1x, 'bg@2x.png' 2x)\">\n"
      "<div style=\"background:url(&quot;d.png&quot;)\"><a href=\"x.htm\" "
      "style=\"background:url(a.png)\">x</a></div>\n";
  const RecordingSink found = ScanPage(page);
  EXPECT_EQ(found.Texts(),
            (Texts{"pic.gif", "under.png", "bg.png", "bg@2x.png", "d.png", "x.htm", "a.png"}));

  PrefixConverter convert;
  EXPECT_EQ(ConvertPage(page, convert.Function()),
            "<img style=\"background:url(L/under.png)\" src=\"L/pic.gif\">\n"
            "<body style=\"background-image:image-set('L/bg.png' 1x, 'L/bg@2x.png' 2x)\">\n"
            "<div style=\"background:url(&quot;L/d.png&quot;)\"><a href=\"L/x.htm\" "
            "style=\"background:url(L/a.png)\">x</a></div>\n");
}

}  // namespace
}  // namespace qn::test
