#include <gtest/gtest.h>

#include "web/RobotsRules.h"

namespace qn {
namespace {

TEST(RobotsRules, GroupsOfTheAgentOrEveryAgent) {
  const std::string text =
      "# comments and unknown lines are passed over\n"
      "Sitemap: https://example.org/sitemap.xml\n"
      "User-agent: *\n"
      "Disallow: /private/\n"
      "\n"
      "User-agent: OtherBot\n"
      "User-Agent: quillorne/2.8   # the product token decides, without regard to case\n"
      "Disallow: /drafts/\r\n"
      "Crawl-delay: 5\n"
      "Allow: /drafts/public\n"
      "\n"
      "user-agent: Quillorne\n"
      "disallow: /tmp\n";
  const CQNRobotsRules ours = CQNRobotsRules::Parse(text, RobotsProductToken("Quillorne v2.8a"));
  EXPECT_EQ(ours.RuleCount(), 3u);  // both groups naming it, and not the "*" group
  EXPECT_TRUE(ours.Allows("/private/a.html"));
  EXPECT_FALSE(ours.Allows("/drafts/a.html"));
  EXPECT_TRUE(ours.Allows("/drafts/public/a.html"));
  EXPECT_FALSE(ours.Allows("/tmpfile"));
  EXPECT_TRUE(ours.Allows("/robots.txt"));

  const CQNRobotsRules other =
      CQNRobotsRules::Parse(text, RobotsProductToken("Mozilla/4.0 (compatible; MSIE 6.00;)"));
  EXPECT_FALSE(other.Allows("/private/a.html"));
  EXPECT_TRUE(other.Allows("/drafts/a.html"));

  // A group that names the agent with no rules allows everything, whatever "*" says.
  const CQNRobotsRules open = CQNRobotsRules::Parse(
      "User-agent: *\nDisallow: /\n\nUser-agent: Quillorne\nDisallow:\n", "Quillorne");
  EXPECT_TRUE(open.Allows("/anything"));
}

TEST(RobotsRules, LongestPatternDecidesAndAllowWinsATie) {
  const CQNRobotsRules rules = CQNRobotsRules::Parse(
      "User-agent: *\n"
      "Disallow: /shop\n"
      "Allow: /shop/catalogue\n"
      "Disallow: /*.pdf$\n"
      "Disallow: /*?session=\n"
      "Allow: /page\n"
      "Disallow: /page\n"
      "Disallow: /a*b*c$\n",
      "Quillorne");
  EXPECT_FALSE(rules.Allows("/shop/cart"));
  EXPECT_TRUE(rules.Allows("/shop/catalogue/tea.html"));
  EXPECT_FALSE(rules.Allows("/docs/guide.pdf"));
  EXPECT_TRUE(rules.Allows("/docs/guide.pdf.html"));
  EXPECT_FALSE(rules.Allows("/list?session=7"));
  EXPECT_TRUE(rules.Allows("/page"));
  EXPECT_FALSE(rules.Allows("/axxbyyc"));
  EXPECT_TRUE(rules.Allows("/axxbyycz"));
  EXPECT_TRUE(rules.Allows("/"));

  EXPECT_FALSE(CQNRobotsRules::RefuseAll().Allows("/index.html"));
  EXPECT_TRUE(CQNRobotsRules().Allows("/index.html"));
  // Rules before any agent line belong to no group.
  EXPECT_TRUE(CQNRobotsRules::Parse("Disallow: /\n", "Quillorne").Allows("/x"));
}

}  // namespace
}  // namespace qn
