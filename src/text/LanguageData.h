#pragma once

// What a language file holds, as plain data: its name, three font records and the
// groups and items of the menu, dialog and string tables, texts in UTF-8. The
// reader (LanguageFile.h) fills it from a .qlg file, quillorne-lang from a text
// source; the writer and the text table (Texts.h) take it from there.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qn {

// A font a language asks for; each field has a keep value that leaves the window's
// own font as it is.
struct QNFontRecord {
  std::int32_t height = 0;          // keep: 0; negative: character height
  std::int32_t weight = 0;          // keep: 0; 100 to 900
  std::uint8_t charset = 1;         // keep: 1, the default character set
  std::uint8_t pitchAndFamily = 0;  // keep: 0
  std::string face;                 // keep: empty

  // Every field has its keep value: no font is made for the record.
  bool IsDefault() const {
    return height == 0 && weight == 0 && charset == 1 && pitchAndFamily == 0 && face.empty();
  }
  bool operator==(const QNFontRecord&) const = default;
};

struct QNLanguageItem {
  std::int32_t id = 0;  // command, control or string id; ~ordinal for a submenu
  std::string text;
  bool operator==(const QNLanguageItem&) const = default;
};

struct QNLanguageGroup {
  std::int32_t id = 0;  // menu or dialog id; 0 in the string table
  std::string name;     // a dialog's caption; unused elsewhere
  std::vector<QNLanguageItem> items;
  bool operator==(const QNLanguageGroup&) const = default;
};

// The tables by their number in the file, less one.
enum class QNLanguageTable { Menus = 0, Dialogs = 1, Strings = 2 };
// The font records by their number in the file, less one.
enum class QNLanguageFont { Menus = 0, Dialogs = 1, Reserved = 2 };

inline constexpr char kUtf8Encoding[] = "UTF-8";

struct QNLanguageData {
  std::string name;  // the language's own name ("English" for the built-in texts)
  std::array<QNFontRecord, 3> fonts;
  std::array<std::vector<QNLanguageGroup>, 3> tables;
  // How the texts are stored in the file: "UTF-8", or the iconv name of the code
  // page they were written in (CodePage.h).
  std::string encoding = kUtf8Encoding;

  const QNFontRecord& Font(QNLanguageFont which) const {
    return fonts[static_cast<std::size_t>(which)];
  }
  const std::vector<QNLanguageGroup>& Table(QNLanguageTable which) const {
    return tables[static_cast<std::size_t>(which)];
  }
  std::vector<QNLanguageGroup>& Table(QNLanguageTable which) {
    return tables[static_cast<std::size_t>(which)];
  }
  bool operator==(const QNLanguageData&) const = default;
};

// Calls `visit` with every text of `data` (a QNLanguageData, const or not): the
// name, the font faces, the group names and the item texts.
template <typename Data, typename Visit>
void ForEachLanguageText(Data& data, Visit visit) {
  visit(data.name);
  for (auto& font : data.fonts) visit(font.face);
  for (auto& table : data.tables)
    for (auto& group : table) {
      visit(group.name);
      for (auto& item : group.items) visit(item.text);
    }
}

}  // namespace qn
