#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "settings/ProjectSettings.h"

namespace qn {
namespace {

TEST(ProjectSettings, NewProjectDefaults) {
  CQNSettings s;
  s.ResetToDefaults("", "/opt/quillorne");
  EXPECT_EQ(s.StartUrlCount, 1);
  EXPECT_EQ(s.QN_SINGLE_URL, 1);
  EXPECT_TRUE(s.QN_START_URL[0].empty());
  EXPECT_EQ(s.QN_PROJECT_DIR, "/opt/quillorne/Download/");
  EXPECT_EQ(s.QN_MAX_DS, 30.0 * 1048576);
  EXPECT_EQ(s.QN_TR_UPDATE, 3);
  EXPECT_EQ(s.QN_DEFFNAME, "default.htm");
  EXPECT_EQ(s.QN_FASTPARSE, 1);
  EXPECT_TRUE(s.QN_URL_FILTER.empty());

  s.ResetToDefaults("/home/u/sites", "/opt/quillorne");
  EXPECT_EQ(s.QN_PROJECT_DIR, "/home/u/sites/");
  s.ResetToDefaults("/home/u/sites/", "/opt/quillorne");
  EXPECT_EQ(s.QN_PROJECT_DIR, "/home/u/sites/");
}

TEST(ProjectSettings, ResetRefillsExtensionListsAndEmptiesFilters) {
  CQNSettings s;
  s.QN_FILE_EXT[0].clear();
  s.QN_FILE_EXT[7].push_back({"foo"});
  s.QN_URL_FILTER.push_back({});
  s.EncryptionPassword = "secret";
  s.ResetToDefaults("", "/p");
  ASSERT_EQ(s.QN_FILE_EXT[0].size(), 23u);
  EXPECT_EQ(s.QN_FILE_EXT[0].front().extension, "htm");
  EXPECT_EQ(s.QN_FILE_EXT[0].back().extension, "jsp");
  // Other: swf exe, then the web fonts.
  ASSERT_EQ(s.QN_FILE_EXT[kCategoryCount - 1].size(), 7u);
  EXPECT_EQ(s.QN_FILE_EXT[kCategoryCount - 1][1].extension, "exe");
  EXPECT_EQ(s.QN_FILE_EXT[kCategoryCount - 1][3].extension, "woff2");
  EXPECT_EQ(s.QN_FILE_EXT[4][1].extension, "class");
  for (const auto& list : s.QN_FILE_EXT)
    for (const auto& e : list) {
      EXPECT_EQ(e.enabled, 1);
      EXPECT_EQ(e.maxOn, 0);
      EXPECT_EQ(e.minOn, 0);
    }
  EXPECT_TRUE(s.QN_URL_FILTER.empty());
  EXPECT_TRUE(s.EncryptionPassword.empty());
}

TEST(ProjectSettings, IdentificationStrings) {
  CQNSettings s;
  EXPECT_EQ(s.GetAgentId(), "Quillorne v2.8a");
  s.AgentKind = 1;
  EXPECT_EQ(s.GetAgentId(), "Anonymous");
  s.AgentKind = 2;
  s.AgentVersion = 5500;
  EXPECT_EQ(s.GetAgentId(), "Mozilla/4.0 (compatible; MSIE 5.50;)");
  s.AgentKind = 3;
  s.AgentVersion = 4700;
  EXPECT_EQ(s.GetAgentId(), "Mozilla/4.7 [en] (Windows; I)");
  s.AgentKind = 4;
  s.AgentVersion = 3620;
  EXPECT_EQ(s.GetAgentId(), "Mozilla/4.0 (Windows;) Opera 3.62 [en]");
  s.AgentKind = 5;
  s.AgentString = "MyBot/1.0";
  EXPECT_EQ(s.GetAgentId(), "MyBot/1.0");
  s.AgentKind = 6;
  EXPECT_EQ(s.GetAgentId(), "");
  s.AgentKind = -1;
  EXPECT_EQ(s.GetAgentId(), "");
}

TEST(ProjectSettings, IdentificationParseOrder) {
  CQNSettings s;
  s.ParseAgentId("Mozilla/4.0 (compatible; MSIE 5.5; Windows)");
  EXPECT_EQ(s.AgentKind, 2);
  EXPECT_EQ(s.AgentVersion, 5500);
  s.ParseAgentId("Opera Mozilla/3.0 quillorne");
  EXPECT_EQ(s.AgentKind, 0);
  s.ParseAgentId("anonymous");
  EXPECT_EQ(s.AgentKind, 1);
  s.ParseAgentId("Anonymous Coward");
  EXPECT_EQ(s.AgentKind, 5);
  EXPECT_EQ(s.AgentString, "Anonymous Coward");
  s.ParseAgentId("Mozilla/4.0 (Windows;) Opera   3.62 [en]");
  EXPECT_EQ(s.AgentKind, 4);
  EXPECT_EQ(s.AgentVersion, 3620);
  s.ParseAgentId("mozilla/4.76 [en]");
  EXPECT_EQ(s.AgentKind, 3);
  EXPECT_EQ(s.AgentVersion, 4760);
  s.ParseAgentId("MSIE");
  EXPECT_EQ(s.AgentKind, 2);
  EXPECT_EQ(s.AgentVersion, 0);
  // Each produced string parses back to the kind and version that produced it.
  for (int kind : {0, 1, 2, 3, 4}) {
    CQNSettings a;
    a.AgentKind = kind;
    a.AgentVersion = 6000;
    CQNSettings b;
    b.ParseAgentId(a.GetAgentId());
    EXPECT_EQ(b.AgentKind, kind);
    if (kind >= 2) {
      EXPECT_EQ(b.AgentVersion, 6000);
    }
  }
}

TEST(ProjectSettings, IdentificationVersionIsReadAsDecimalDigitsOnly) {
  CQNSettings s;
  const auto version = [&s](const std::string& id) {
    s.AgentVersion = -7;
    s.ParseAgentId(id);
    return s.AgentVersion;
  };
  EXPECT_EQ(version("MSIE 2.01"), 2010);  // thousandths are exact, not a binary fraction
  EXPECT_EQ(version("MSIE 1e10"), 1000);  // no exponent
  EXPECT_EQ(version("MSIE 0x10"), 0);     // no hexadecimal
  EXPECT_EQ(version("Opera nan"), 0);
  EXPECT_EQ(s.AgentKind, 4);
  EXPECT_EQ(version("Opera inf"), 0);
  EXPECT_EQ(version("Mozilla/99999999999999999999.5"), std::numeric_limits<int>::max());
  EXPECT_EQ(version("MSIE -99999999999"), std::numeric_limits<int>::min());
  EXPECT_EQ(version("MSIE  -3.2567"), -3256);
  EXPECT_EQ(version("MSIE .5;"), 500);
}

TEST(ProjectSettings, EqualityIgnoresExactlyWhatItShould) {
  CQNSettings a;
  a.ResetToDefaults("", "/p");
  a.QN_START_URL[0] = "http://Host/";
  a.QN_TITLE = "Site";
  CQNSettings b = a;
  EXPECT_TRUE(a == b);

  // Compared without regard to case.
  b.QN_START_URL[0] = "HTTP://HOST/";
  b.QN_PROJECT_DIR = "/P/DOWNLOAD/";
  b.AgentString = "X";
  a.AgentString = "x";
  b.QN_DEFFNAME = "DEFAULT.HTM";
  b.QN_FILE_EXT[0][0].extension = "HTM";
  EXPECT_TRUE(a == b);

  // Not part of the comparison.
  b.SpareFlag = 0;
  b.TransferWords[3] = 77;
  b.DownloadDir = "/elsewhere";
  EXPECT_TRUE(a == b);

  // Compared exactly.
  for (auto change :
       {+[](CQNSettings& s) { s.QN_TITLE = "site"; }, +[](CQNSettings& s) { s.QN_USER_ID = "U"; },
        +[](CQNSettings& s) { s.QN_PASSWORD = "P"; },
        +[](CQNSettings& s) { s.EncryptionPassword = "e"; },
        +[](CQNSettings& s) { s.QN_FILE_EXT[2][0].enabled = 0; },
        +[](CQNSettings& s) { s.QN_FILE_EXT[2][0].max = 5; },
        +[](CQNSettings& s) { s.QN_FILE_EXT[2].pop_back(); },
        +[](CQNSettings& s) { s.QN_URL_FILTER.push_back({}); },
        +[](CQNSettings& s) { s.QN_MAX_DS += 1; }, +[](CQNSettings& s) { s.QN_FASTPARSE = 0; },
        +[](CQNSettings& s) { s.DownloadState = 2; },
        +[](CQNSettings& s) { s.StartUrlCount = 2; }}) {
    CQNSettings c = a;
    change(c);
    EXPECT_FALSE(a == c);
  }
}

}  // namespace
}  // namespace qn
