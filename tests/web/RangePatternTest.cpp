#include <gtest/gtest.h>

#include "web/Address.h"

namespace qn {
namespace {

using List = std::vector<std::string>;

List Expanded(std::string address, std::string* first = nullptr) {
  List result;
  ExpandRangePattern(address, result, true);
  if (first) *first = address;
  return result;
}

TEST(RangePattern, NumbersLettersAndSteps) {
  std::string first;
  EXPECT_EQ(Expanded("http://h/{:1-3}.htm", &first),
            (List{"http://h/1.htm", "http://h/2.htm", "http://h/3.htm"}));
  EXPECT_EQ(first, "http://h/1.htm");
  EXPECT_EQ(Expanded("{:08-10}"), (List{"08", "09", "10"}));
  EXPECT_EQ(Expanded("{:01-12}").back(), "12");
  EXPECT_EQ(Expanded("{:01-12}").front(), "01");
  EXPECT_EQ(Expanded("{:8-10}"), (List{"8", "9", "10"}));
  EXPECT_EQ(Expanded("{:a-c}"), (List{"a", "b", "c"}));
  EXPECT_EQ(Expanded("{:1-9|4}"), (List{"1", "5", "9"}));
  EXPECT_EQ(Expanded("{:1-3|0}"), (List{"1", "2", "3"}));
  EXPECT_EQ(Expanded("{:1-3|-2}"), (List{"1", "2", "3"}));
  EXPECT_EQ(Expanded("{:x1-3}"), (List{"0", "1", "2", "3"}));  // read as atoi reads it
  EXPECT_EQ(Expanded("{:3-1}"), List{});
}

TEST(RangePattern, NoPatternLeavesTheAddressAlone) {
  for (const std::string address : {"http://h/x.htm", "{:1}", "{:1-", "{:a-}", "x{:5-2}y"}) {
    std::string first;
    EXPECT_EQ(Expanded(address, &first), List{}) << address;
    EXPECT_EQ(first, address);
  }
  EXPECT_FALSE(HasRangePattern("http://h/{:12}.htm"));
  EXPECT_FALSE(HasRangePattern("http://h/{:1-2"));
  EXPECT_TRUE(HasRangePattern("http://h/{:1-2}.htm"));
  EXPECT_TRUE(HasRangePattern("{:a-}"));  // a pattern, though it has no values
}

TEST(RangePattern, NestedPatternsExpandBeforeTheirCopyIsAdded) {
  std::string first;
  EXPECT_EQ(Expanded("p{:1-2}{:a-b}", &first), (List{"p1b", "p1a", "p2b", "p2a"}));
  EXPECT_EQ(first, "p1a");
  EXPECT_EQ(Expanded("{:1-2}{:a-b}{:x-y}"),
            (List{"1ay", "1by", "1bx", "1ax", "2ay", "2by", "2bx", "2ax"}));

  // A nested call puts its first value in place and adds only the others.
  std::string address = "q{:5-7}";
  List result{"kept"};
  ExpandRangePattern(address, result, false);
  EXPECT_EQ(address, "q5");
  EXPECT_EQ(result, (List{"kept", "q6", "q7"}));
}

TEST(RangePattern, HugeRangesStopAtTheTreeLimit) {
  std::string first;
  const List all = Expanded("http://h/{:1-999999999}.htm", &first);
  ASSERT_EQ(all.size(), kMaxRangeExpansions);
  EXPECT_EQ(all.front(), "http://h/1.htm");
  EXPECT_EQ(all.back(), "http://h/" + std::to_string(kMaxRangeExpansions) + ".htm");
  EXPECT_EQ(first, "http://h/1.htm");

  const List nested = Expanded("{:1-999999999}/{:1-999999999}");
  EXPECT_LE(nested.size(), kMaxRangeExpansions);
  for (const auto& a : nested) ASSERT_FALSE(HasRangePattern(a)) << a;

  // Long chains of single values cost copies, not addresses; they end too.
  std::string chain;
  for (int i = 0; i < 50; ++i) chain += "{:1-1}";
  chain = "{:1-9999}" + chain;
  const List chained = Expanded(chain);
  EXPECT_FALSE(chained.empty());
  for (const auto& a : chained) ASSERT_FALSE(HasRangePattern(a));
  EXPECT_EQ(Expanded("{:2147483646-99999999999}"), (List{"2147483646", "2147483647"}));
}

TEST(RangePattern, ExpansionsFitTheAddressBuffer) {
  const std::string address = std::string(1030, 'a') + "{:1-3}bbbbbbbbbbbbbbbbbbbb";
  for (const auto& a : Expanded(address)) EXPECT_LE(a.size(), kMaxAddressLength);
}

}  // namespace
}  // namespace qn
