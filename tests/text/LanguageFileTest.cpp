// Language files as quillorne-lang compiles them, read back through the one text
// lookup; damaged files; code pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "support/TempDir.h"
#include "text/CodePage.h"
#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "text/MessageIds.h"
#include "text/Texts.h"

namespace qn {
namespace {

constexpr char kGermanSource[] = R"src(# A small translation
language "German"
encoding "UTF-8"
font dialogs height=-11 weight=700 face="DejaVu Sans"

menu 128 ~0 "&Datei"
menu 128 57600 "&Neu\tStrg+N"
menu 128 ~1 "&Zuletzt geöffnet"
menu 129 57600 "Neu (Leiste)"
dialog 101 caption "Optionen"
dialog 101 1001 "&Sprache:"
dialog 102 caption "Über Quillorne"
dialog 103 1001 "Nur Steuerelement"
string 0 55495 "Die Datei „%s“ kann nicht geöffnet werden."
string 0 57600 "Neues Projekt anlegen\nNeu"
string 7 55472 "Nie gelesen"
)src";

std::string Compile(std::string_view source) {
  std::string why;
  const auto data = ParseLanguageSource(source, &why);
  EXPECT_TRUE(data) << why;
  const auto file = data ? FormatLanguageFile(*data, &why) : std::nullopt;
  EXPECT_TRUE(file) << why;
  return file.value_or("");
}

std::uint32_t U32(const std::string& file, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(file[at + i]);
  return v;
}
void PutU32(std::string& file, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
}
// The offset of the first group of table `t` (1 to 3).
std::uint32_t FirstGroup(const std::string& file, int t) {
  return U32(file, U32(file, 200 + 4 * (t - 1)) + 12);
}

TEST(LanguageFile, LooksUpAllThreeTablesThroughTheOneLookup) {
  const auto language = ParseLanguageFile(Compile(kGermanSource));
  ASSERT_TRUE(language);
  EXPECT_EQ(language->name, "German");
  EXPECT_EQ(language->Font(QNLanguageFont::Dialogs).face, "DejaVu Sans");
  EXPECT_EQ(language->Font(QNLanguageFont::Dialogs).weight, 700);
  EXPECT_TRUE(language->Font(QNLanguageFont::Menus).IsDefault());

  QNTexts texts;
  const QNTexts copy = texts;
  texts.Install(std::make_shared<const QNTextTable>(*language));
  EXPECT_EQ(copy.Installed()->Name(), "German");
  EXPECT_EQ(copy.MenuItem(128, ~0), "&Datei");
  EXPECT_EQ(copy.MenuItem(128, ~1), "&Zuletzt geöffnet");
  EXPECT_EQ(copy.MenuItem(128, 57600), "&Neu\tStrg+N");
  EXPECT_EQ(copy.MenuItem(129, 57600), "Neu (Leiste)");
  EXPECT_EQ(copy.MenuItem(128, 57601), std::nullopt);
  EXPECT_EQ(copy.DialogCaption(101), "Optionen");
  EXPECT_EQ(copy.DialogItem(101, 1001), "&Sprache:");
  // A group without items still gives its caption; one without a caption keeps the
  // window's own.
  EXPECT_EQ(copy.DialogCaption(102), "Über Quillorne");
  EXPECT_EQ(copy.DialogItem(102, 1001), std::nullopt);
  EXPECT_EQ(copy.DialogCaption(103), std::nullopt);
  EXPECT_EQ(copy.DialogItem(103, 1001), "Nur Steuerelement");

  EXPECT_EQ(copy.Format(kMsgCannotOpen, "/x/y.qnp"),
            "Die Datei „/x/y.qnp“ kann nicht geöffnet werden.");
  // Only group 0 holds strings; whatever the file lacks comes from the built-in table.
  EXPECT_EQ(copy.Text(kMsgNewProject), "New Project");
  // A status prompt keeps the part before its tooltip; a message keeps its lines.
  EXPECT_EQ(copy.Prompt(57600), "Neues Projekt anlegen");
  EXPECT_EQ(copy.Text(57600), "Neues Projekt anlegen\nNeu");
  EXPECT_EQ(copy.Text(kMsgSaveChanges), "The Project has been changed.\nDo you want to save it?");

  texts.Install(nullptr);
  EXPECT_EQ(copy.MenuItem(128, ~0), std::nullopt);
  EXPECT_EQ(copy.Text(kMsgCannotOpen), "Cannot open the file '%s'.");
}

TEST(LanguageFile, TheFirstTextOfAnIdInListOrderCounts) {
  QNLanguageData data;
  auto& strings = data.Table(QNLanguageTable::Strings);
  strings.push_back({0, "", {{5, "first"}, {5, "second"}}});
  strings.push_back({0, "", {{5, "third"}, {6, "later group"}}});
  auto& dialogs = data.Table(QNLanguageTable::Dialogs);
  dialogs.push_back({9, "", {}});
  dialogs.push_back({9, "named later", {{1, "x"}}});
  const auto read = ParseLanguageFile(*FormatLanguageFile(data));
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, data);
  const QNTextTable table(*read);
  EXPECT_EQ(*table.Find(5), "first");
  EXPECT_EQ(*table.Find(6), "later group");
  // The caption comes from the first group of the id, which has none.
  EXPECT_EQ(table.FindDialogCaption(9), nullptr);
  EXPECT_EQ(*table.FindDialogItem(9, 1), "x");
}

TEST(LanguageFile, ListsEndWhereALookupEnds) {
  std::string file = Compile(
      "string 0 1 \"a\"\nstring 0 2 \"b\"\nstring 0 3 \"c\"\nstring 5 4 \"d\"\nstring 6 5 \"e\"\n");
  const std::uint32_t group = FirstGroup(file, 3);
  // The group now counts two items: the link after the second is never read and may
  // point anywhere.
  PutU32(file, group + 8, 2);
  const std::uint32_t second = U32(file, U32(file, group + 16) + 16);
  PutU32(file, second + 16, 0xFFFFFFF0u);
  // The second group claims to belong to the menus: the string list ends there.
  const std::uint32_t next = U32(file, group + 24);
  PutU32(file, next, 1);
  const auto read = ParseLanguageFile(file);
  ASSERT_TRUE(read);
  const auto& groups = read->Table(QNLanguageTable::Strings);
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].items.size(), 2u);
  EXPECT_EQ(groups[0].items[1].text, "b");
}

TEST(LanguageFile, DamagedFilesAreRefusedAndNeverHang) {
  const std::string good = Compile(kGermanSource);
  std::string why;
  // Cut anywhere: either the whole file or nothing is read.
  for (std::size_t size = 0; size < good.size(); ++size)
    EXPECT_FALSE(ParseLanguageFile(std::string_view(good).substr(0, size))) << size;

  std::string cyclic = good;
  const std::uint32_t first = FirstGroup(cyclic, 2);
  PutU32(cyclic, U32(cyclic, first + 24) + 24, first);  // the second group leads back
  EXPECT_FALSE(ParseLanguageFile(cyclic, &why));
  EXPECT_NE(why.find("reached twice"), std::string::npos) << why;

  // An item that leads to itself, in a group that claims four billion items.
  std::string items = good;
  const std::uint32_t strings = FirstGroup(items, 3);
  const std::uint32_t item = U32(items, strings + 16);
  PutU32(items, strings + 8, 0xFFFFFFFFu);
  PutU32(items, item + 16, item);
  EXPECT_FALSE(ParseLanguageFile(items, &why));
  EXPECT_NE(why.find("reached twice"), std::string::npos) << why;

  // Lengths and offsets near 4 GiB.
  std::string longText = good;
  PutU32(longText, item + 8, 0xFFFFFFFFu);
  EXPECT_FALSE(ParseLanguageFile(longText, &why));
  EXPECT_NE(why.find("past the end"), std::string::npos) << why;
  std::string farGroup = good;
  PutU32(farGroup, U32(farGroup, 208) + 12, 0xFFFFFFF0u);
  EXPECT_FALSE(ParseLanguageFile(farGroup, &why));
  EXPECT_NE(why.find("outside the file"), std::string::npos) << why;

  // Two groups that share their items: the file's parts overlap.
  std::string shared = Compile("menu 1 2 \"x\"\nmenu 3 4 \"y\"\n");
  const std::uint32_t menu = FirstGroup(shared, 1);
  PutU32(shared, U32(shared, menu + 24) + 16, U32(shared, menu + 16));
  EXPECT_FALSE(ParseLanguageFile(shared, &why));

  test::TempDir dir;
  test::WriteFile(dir / "big.qlg", good);
  std::filesystem::resize_file(dir / "big.qlg", kMaxLanguageFileSize + 1);
  EXPECT_FALSE(ReadLanguageFile((dir / "big.qlg").string(), &why));
  EXPECT_NE(why.find("16 MB"), std::string::npos) << why;
  EXPECT_FALSE(ReadLanguageFile((dir / "missing.qlg").string()));
  test::WriteFile(dir / "good.qlg", good);
  EXPECT_TRUE(ReadLanguageFile((dir / "good.qlg").string()));
}

TEST(LanguageFile, TextsInTheLanguagesCodePageReadAsUtf8) {
  const std::string source =
      "language \"Русский\"\nencoding \"CP1251\"\nfont dialogs charset=204\n\n"
      "dialog 101 caption \"Параметры\"\n\nstring 0 55472 \"Новый проект\"\n";
  const std::string file = Compile(source);
  // "Новый" in CP1251.
  EXPECT_NE(file.find("\xCD\xEE\xE2\xFB\xE9"), std::string::npos);
  const auto read = ParseLanguageFile(file);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->encoding, "CP1251");
  EXPECT_EQ(read->name, "Русский");
  QNTexts texts;
  texts.Install(std::make_shared<const QNTextTable>(*read));
  EXPECT_EQ(texts.Text(kMsgNewProject), "Новый проект");
  EXPECT_EQ(texts.DialogCaption(101), "Параметры");
  EXPECT_EQ(FormatLanguageSource(*read), source);

  // Central European, named by the menu font when the dialog font keeps its set.
  const auto czech = ParseLanguageFile(Compile(
      "encoding \"CP1250\"\nfont menus charset=238\nstring 0 55481 \"Zastaveno – příliš\"\n"));
  ASSERT_TRUE(czech);
  EXPECT_EQ(czech->Table(QNLanguageTable::Strings)[0].items[0].text, "Zastaveno – příliš");

  // Only well-formed UTF-8 is taken as it is: overlong forms and surrogates are not.
  EXPECT_TRUE(IsUtf8("Größe €"));
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));
  EXPECT_FALSE(
      IsUtf8("Gr\xF6\xDF"
             "e"));
  EXPECT_EQ(ToUtf8("Gr\xF6\xDF"
                   "e \x81",
                   "CP1252"),
            "Größe \xEF\xBF\xBD");

  // A text the code page cannot write is refused at compile time.
  std::string why;
  const auto data = ParseLanguageSource("encoding \"CP1251\"\nstring 0 1 \"Größe\"\n");
  ASSERT_TRUE(data);
  EXPECT_FALSE(FormatLanguageFile(*data, &why));
  EXPECT_NE(why.find("CP1251"), std::string::npos) << why;
}

TEST(LanguageSource, CompilesAndDecompilesWithoutLoss) {
  const auto data = ParseLanguageSource(kGermanSource);
  ASSERT_TRUE(data);
  const auto read = ParseLanguageFile(*FormatLanguageFile(*data));
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, *data);
  const std::string source = FormatLanguageSource(*read);
  EXPECT_EQ(ParseLanguageSource(source), data);
  EXPECT_NE(source.find("menu 128 ~1 \"&Zuletzt geöffnet\"\n"), std::string::npos) << source;
  EXPECT_NE(source.find("dialog 102 caption \"Über Quillorne\"\n"), std::string::npos);
  EXPECT_NE(source.find("string 0 57600 \"Neues Projekt anlegen\\nNeu\"\n"), std::string::npos);

  std::string why;
  for (const char* bad :
       {"string 0 x \"a\"\n", "string 0 1 \"open\n", "string 0 1 \"\\q\"\n", "font menus size=3\n",
        "font dialogs charset=300\n", "string 0 1 \"a\" extra\n", "strings 0 1 \"a\"\n",
        "menu ~x 1 \"a\"\n", "string 0 1 \"a\"\nstring 0 1 \"b\"\n",
        "dialog 1 caption \"a\"\r\ndialog 1 caption \"b\"\r\n"}) {
    const std::string source = std::string("# comment\n\n") + bad;
    EXPECT_FALSE(ParseLanguageSource(source, &why)) << bad;
    const auto lines = std::count(source.begin(), source.end(), '\n');
    EXPECT_EQ(why.rfind("line " + std::to_string(lines) + ": ", 0), 0u) << why;
  }
}

}  // namespace
}  // namespace qn
