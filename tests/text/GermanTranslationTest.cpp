// The German translation that the build compiles into German.qlg.
#include <gtest/gtest.h>

#include "TestPaths.h"
#include "support/TempDir.h"
#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "text/MessageIds.h"
#include "text/Texts.h"
#include "text/TranslationCheck.h"

namespace qn {
namespace {

TEST(GermanTranslation, CompilesAndFillsEveryMessageAsTheProgramDoes) {
  std::string why;
  const auto german =
      ParseLanguageSource(test::ReadFile(QN_TEST_SOURCE_DIR "/data/lang/de.txt"), &why);
  ASSERT_TRUE(german) << why;
  EXPECT_EQ(german->name, "German");
  const auto file = FormatLanguageFile(*german, &why);
  ASSERT_TRUE(file) << why;
  EXPECT_EQ(ParseLanguageFile(*file), german);

  // No text the program lacks and no placeholder out of kind or order: a mistake
  // there would show a message unfilled. Strings added to the program since the
  // translation was written are only reported, as the build does.
  for (const std::string& warning : CheckTranslation(*german))
    EXPECT_EQ(warning.rfind("strings without a translation", 0), 0u) << warning;

  QNTexts texts;
  texts.Install(std::make_shared<const QNTextTable>(*german));
  EXPECT_EQ(texts.Format(kMsgHttpError, 404, "http://127.0.0.1/a"),
            " Fehler (HTTP-Code 404) – „http://127.0.0.1/a“");
}

}  // namespace
}  // namespace qn
