#include <gtest/gtest.h>

#include <random>

#include "web/Address.h"

namespace qn {
namespace {

constexpr std::size_t kMax = kMaxAddressLength;

std::vector<std::string> HostileStrings() {
  std::vector<std::string> v = {"",
                                "%",
                                "%%",
                                "%%%",
                                "%0",
                                "%00",
                                "{:",
                                "{:1-",
                                "{:a-}",
                                "{:1-999999999}",
                                "{:-}",
                                "{:}",
                                "}{:",
                                "{:1-2|",
                                "{:1-2|999999999999}",
                                "{:0000000001-9999999999}",
                                "{:\xff-\x01}",
                                "{:\x01-\xff}",
                                "/",
                                "\\",
                                "//",
                                "\\\\",
                                "/\\/\\/\\",
                                "..",
                                "../",
                                "..\\",
                                "./",
                                ".",
                                "#",
                                "?",
                                "^",
                                "#?^",
                                ":",
                                "C:",
                                "C|",
                                "file://",
                                "http://",
                                "https://",
                                "ftp://",
                                "FILE://C|",
                                "http:",
                                "http:http:",
                                "http://?",
                                "http://#",
                                "http://h?x/y",
                                "file:///",
                                " \t\r\n",
                                "a.b.c.",
                                ";",
                                "x.htm;",
                                "?.",
                                "..\\..\\..",
                                "{:1-3}{:a-c}{:x-z}",
                                "{:{-{}:1-2}",
                                "{:0-1}{:0-1}{:0-1}{:0-1}{:0-1}"};
  v.push_back(std::string(5000, 'a'));
  v.push_back(std::string(5000, '/'));
  v.push_back(std::string(5000, '\\'));
  v.push_back(std::string(5000, '%'));
  v.push_back(std::string(5000, '.'));
  v.push_back(std::string(1039, '/') + "x.htm");
  v.push_back("http://" + std::string(1200, 'h') + "/x.htm");
  v.push_back(std::string(1037, 'a') + "{:1-999999999}");
  v.push_back(std::string(1036, '/') + "%4");
  std::string longPattern;
  while (longPattern.size() < 5000) longPattern += "{:1-2}";
  v.push_back(longPattern);
  std::string dots;
  while (dots.size() < 5000) dots += "../";
  v.push_back(dots + "x.htm");
  return v;
}

// Random strings over an alphabet rich in the characters the rules look at, now and
// then with any byte at all.
std::vector<std::string> RandomStrings(std::size_t count) {
  static const std::string pieces[] = {"/",
                                       "\\",
                                       ".",
                                       "..",
                                       ":",
                                       "?",
                                       "^",
                                       "#",
                                       "%",
                                       "{:",
                                       "}",
                                       "-",
                                       "|",
                                       ";",
                                       " ",
                                       "\t",
                                       "http://",
                                       "https://",
                                       "ftp://",
                                       "file://",
                                       "HTTP:",
                                       "C:",
                                       "c|",
                                       "//",
                                       "../",
                                       "./",
                                       "%4",
                                       "%zz",
                                       "%2F",
                                       "9",
                                       "0",
                                       "1",
                                       "a",
                                       "z",
                                       "htm",
                                       "gif",
                                       "host.example",
                                       "www"};
  std::mt19937 rng(20240611);  // fixed: a failure must be reproducible
  std::vector<std::string> v;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t length = rng() % 8 == 0 ? rng() % 1400 : rng() % 60;
    std::string s;
    while (s.size() < length) {
      if (rng() % 10 == 0)
        s += static_cast<char>(rng() % 256);
      else
        s += pieces[rng() % std::size(pieces)];
    }
    v.push_back(std::move(s));
  }
  return v;
}

bool HasBackslash(std::string_view s) {
  return s.find('\\') != std::string_view::npos;
}

void CheckOne(const std::string& s, const std::string& other, const ExtLists& lists) {
  const std::string_view bounded = std::string_view(s).substr(0, kMax);

  EXPECT_LE(CutToBuffer(s).size(), kMax);
  const std::size_t first = FindFirstSeparator(s);
  const std::size_t last = FindLastSeparator(s);
  EXPECT_TRUE(first == std::string::npos || (first <= last && last < s.size()));

  IsAbsoluteAddress(s);
  EXPECT_LE(GetSchemePrefix(s).size(), 8u);
  EXPECT_LE(StripScheme(s).size(), kMax);
  EXPECT_LE(DropBareScheme(s).size(), kMax);
  if (const auto server = GetServerName(s)) {
    EXPECT_LE(server->size(), kMax);
  }
  if (const auto root = GetSiteRoot(s)) {
    EXPECT_LE(root->size(), kMax);
  }
  const int pathStart = GetPathStart(s);
  EXPECT_GE(pathStart, -1);
  EXPECT_LT(pathStart, static_cast<int>(bounded.size()));
  IsNetworkPathReference(s);
  EXPECT_LE(AddDefaultScheme(s).size(), kMax);
  if (const auto path = FileAddressToPath(s)) {
    EXPECT_LE(path->size(), kMax);
    EXPECT_FALSE(HasBackslash(*path));
  }
  EXPECT_LE(GetFileName(s).size(), kMax);

  for (const bool strict : {false, true}) {
    for (const Classification c :
         {ClassifyAddress(s, lists, strict), ClassifyScriptString(s, lists, strict)}) {
      EXPECT_TRUE(c.category == kCatNone || CategoryIndex(c.category) >= 0) << c.category;
    }
  }
  ExtensionMatches(s, other);

  const std::string base = GetBaseDirectory(s);
  EXPECT_LE(base.size(), kMax);
  EXPECT_TRUE(IsAbsoluteAddress(base)) << base;
  for (const auto& [link, dir] :
       {std::pair{s, base}, std::pair{other, base}, std::pair{s, other}, std::pair{other, s}}) {
    const std::string resolved = ResolveLink(link, dir, other);
    EXPECT_LE(resolved.size(), kMax);
    EXPECT_FALSE(HasBackslash(resolved));
    EXPECT_LE(ResolveLocalLink(link, dir).size(), kMax);
    EXPECT_LE(MakeRelativeAddress(link, dir).size(), kMax);
    const std::string relative = MakeRelativePath(link, dir);
    EXPECT_LE(relative.size(), kMax);
    EXPECT_TRUE(relative == std::string_view(link).substr(0, kMax) || !HasBackslash(relative));
    const std::string joined = JoinLocalPath(link, dir);
    EXPECT_LE(joined.size(), kMax);
    EXPECT_FALSE(HasBackslash(joined));
  }
  IsFetchableLink(s);

  std::string decoded = s;
  EXPECT_EQ(PercentDecode(decoded), bounded.find('%') != std::string_view::npos);
  EXPECT_LE(decoded.size(), bounded.size());
  if (bounded.find('\0') == std::string_view::npos) {
    EXPECT_EQ(decoded.find('\0'), std::string::npos);
  }

  const std::string normal = NormalizeForCompare(s);
  EXPECT_LE(normal.size(), kMax);
  EXPECT_EQ(normal, ToLower(normal));
  EXPECT_TRUE(SamePathOrDirectory(s, s));
  EXPECT_EQ(SamePathOrDirectory(s, other), SamePathOrDirectory(other, s));

  for (const bool firstCall : {true, false}) {
    std::string address = s;
    std::vector<std::string> result;
    ExpandRangePattern(address, result, firstCall);
    EXPECT_LE(address.size(), kMax);
    EXPECT_LE(result.size(), kMaxRangeExpansions);
    for (const auto& r : result) ASSERT_LE(r.size(), kMax);
    if (!HasRangePattern(s)) {
      EXPECT_TRUE(result.empty());
      EXPECT_EQ(address, bounded);
    }
  }

  for (void (*convert)(std::string&) :
       {&SlashesToBackslashes, &BackslashesToSlashes, &ToNativeSeparators}) {
    std::string t = s;
    convert(t);
    EXPECT_LE(t.size(), kMax);
  }
  std::string replaced = s;
  ReplaceSeparators(replaced, '_');
  EXPECT_EQ(FindFirstSeparator(replaced), std::string::npos);
  std::string native = s;
  ToNativeSeparators(native);
  EXPECT_FALSE(HasBackslash(native));
}

TEST(AddressRobustness, EveryOperationOnHostileAndRandomText) {
  const ExtLists lists = DefaultExtLists();
  std::vector<std::string> inputs = HostileStrings();
  const std::vector<std::string> random = RandomStrings(3000);
  inputs.insert(inputs.end(), random.begin(), random.end());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    CheckOne(inputs[i], inputs[(i * 7 + 3) % inputs.size()], lists);
    if (HasFailure()) {
      ADD_FAILURE() << "input #" << i << " of length " << inputs[i].size();
      return;
    }
  }
}

}  // namespace
}  // namespace qn
