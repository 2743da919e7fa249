// Choosing a language: the list the options offer and loading the chosen file into
// the one text lookup that every copy shares.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/LanguageTable.h"
#include "support/TempDir.h"
#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "text/MessageIds.h"

namespace qn {
namespace {

std::string Compiled(std::string_view source) {
  const auto data = ParseLanguageSource(source);
  const auto file = data ? FormatLanguageFile(*data) : std::nullopt;
  EXPECT_TRUE(file);
  return file.value_or("");
}

TEST(LanguageTable, OffersTheFilesOfEveryDataFolderThenEnglish) {
  test::TempDir program, data;
  test::WriteFile(program / "german.QLG", "");
  test::WriteFile(program / "notes.txt", "");
  std::filesystem::create_directory(program / "folder.qlg");
  test::WriteFile(data / "GERMAN.qlg", "");
  test::WriteFile(data / "русский.qlg", "");
  test::WriteFile(data / "cZECH.qlg", "");
  const std::vector<std::string> folders{program.str() + "/", data.str() + "/"};
  const std::vector<QNLanguageChoice> expected{{"Czech", "cZECH.qlg"},
                                               {"German", "german.QLG"},
                                               {"Русский", "русский.qlg"},
                                               {"English", ""}};
  EXPECT_EQ(LanguageChoices(folders), expected);

  // A plain name is found in the first folder that holds it; a path stands as it is.
  EXPECT_EQ(LanguageFilePath("cZECH.qlg", folders), folders[1] + "cZECH.qlg");
  EXPECT_EQ(LanguageFilePath("german.QLG", folders), folders[0] + "german.QLG");
  EXPECT_EQ(LanguageFilePath("missing.qlg", folders), folders[0] + "missing.qlg");
  EXPECT_EQ(LanguageFilePath("/x/y.qlg", folders), "/x/y.qlg");
}

TEST(LanguageTable, LoadsTheChosenFileForEveryCopyAndFallsBackWhenItCannot) {
  test::TempDir dir;
  const std::vector<std::string> folders{dir.str() + "/"};
  // The translator swapped the placeholders of 55504.
  test::WriteFile(dir / "German.qlg", Compiled("string 0 55472 \"Neues Projekt\"\n"
                                               "string 0 55504 \" Fehler „%s“ (HTTP-Code %d)\"\n"));
  const std::string german = test::ReadFile(dir / "German.qlg");
  test::WriteFile(dir / "Damaged.qlg", german.substr(0, german.size() - 3));

  QNTexts texts;
  const QNTexts worker = texts;  // what a worker thread holds
  EXPECT_EQ(LoadLanguageTable(texts, true, "German.qlg", folders), std::nullopt);
  EXPECT_EQ(worker.Text(kMsgNewProject), "Neues Projekt");
  // A text whose placeholders do not fit is shown as written, never filled wrongly.
  EXPECT_EQ(worker.Format(kMsgHttpError, 404, "http://127.0.0.1/"), " Fehler „%s“ (HTTP-Code %d)");

  // Switched off, the file is not used even though it is there.
  EXPECT_EQ(LoadLanguageTable(texts, false, "German.qlg", folders), std::nullopt);
  EXPECT_EQ(worker.Text(kMsgNewProject), "New Project");

  EXPECT_EQ(LoadLanguageTable(texts, true, "German.qlg", folders), std::nullopt);
  EXPECT_EQ(LoadLanguageTable(texts, true, "Damaged.qlg", folders),
            "Cannot open the file '" + folders[0] + "Damaged.qlg'.");
  EXPECT_EQ(worker.Text(kMsgNewProject), "New Project");
  EXPECT_EQ(LoadLanguageTable(texts, true, "Missing.qlg", folders),
            "Cannot open the file '" + folders[0] + "Missing.qlg'.");
}

}  // namespace
}  // namespace qn
