#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "support/TempDir.h"

namespace qn {
namespace {

TEST(CommandLine, TokensAndQuotes) {
  EXPECT_EQ(TokenizeCommandLine(R"(  -d  "my sites/a b.qnp" -CONV)"),
            (std::vector<std::string>{"-d", "my sites/a b.qnp", "-CONV"}));
  EXPECT_EQ(TokenizeCommandLine(R"("unterminated x)"),
            (std::vector<std::string>{"unterminated x"}));
  // Only a token that starts with a quote is quoted; the text after its closing
  // quote starts the next token.
  EXPECT_EQ(TokenizeCommandLine(R"(a""b)"), (std::vector<std::string>{R"(a""b)"}));
  EXPECT_EQ(TokenizeCommandLine(R"("x"y "")"), (std::vector<std::string>{"x", "y", ""}));
  EXPECT_TRUE(TokenizeCommandLine("   ").empty());
}

TEST(CommandLine, SwitchesWithoutCaseAndFirstPathWins) {
  const auto cmd = ParseCommandLine({"-d", "/s/a.qnp", "-conv", "-e", "-Shut", "-disc", "/s/b.qnp"},
                                    "/opt/qn", "");
  EXPECT_TRUE(cmd.download && cmd.convert && cmd.exitAfter && cmd.shutdown && cmd.disconnect);
  EXPECT_EQ(cmd.projectFile, "/s/a.qnp");

  const auto onlySwitches = ParseCommandLine({"-CONV", "-X"}, "/opt/qn", "");
  EXPECT_TRUE(onlySwitches.convert);
  // An unknown switch is taken as the project path, as any other non-switch token.
  EXPECT_EQ(onlySwitches.projectFile, "/opt/qn/-X");
  EXPECT_TRUE(ParseCommandLine({"-D", "-E"}, "/opt/qn", "").projectFile.empty());
}

TEST(CommandLine, RelativeProjectPaths) {
  // Climbing from the program folder, one folder per "..".
  EXPECT_EQ(ResolveProjectPath("..\\..\\sites\\a.qnp", "/P/Q/R", ""), "/P/sites/a.qnp");
  EXPECT_EQ(ResolveProjectPath("../../sites/a.qnp", "/P/Q/R/", ""), "/P/sites/a.qnp");
  EXPECT_EQ(ResolveProjectPath("x.qnp", "/P/Q/R", ""), "/P/Q/R/x.qnp");
  EXPECT_EQ(ResolveProjectPath("/abs/x.qnp", "/P", ""), "/abs/x.qnp");
  EXPECT_EQ(ResolveProjectPath("\\abs\\x.qnp", "/P", ""), "/abs/x.qnp");

  // A relative path that exists from the current folder is taken from there.
  test::TempDir cwd;
  test::WriteFile(cwd / "here.qnp", "x");
  EXPECT_EQ(ResolveProjectPath("here.qnp", "/P/Q", cwd.str()), (cwd / "here.qnp").string());
  EXPECT_EQ(ResolveProjectPath("missing.qnp", "/P/Q", cwd.str()), "/P/Q/missing.qnp");
}

}  // namespace
}  // namespace qn
