#pragma once

// The readable form of a language file, which translators write, review and diff;
// quillorne-lang compiles it into a .qlg file and decompiles one back. UTF-8 text,
// one entry per line, "#" starts a comment line:
//
//   language "German"
//   encoding "UTF-8"              (or the code page the file's texts are written in)
//   font dialogs height=-11 weight=400 charset=0 pitch=0 face="Tahoma"
//   menu 128 ~0 "&Datei"          (menu id, ~ordinal of a submenu, text)
//   menu 128 57600 "&Neu\tStrg+N" (menu id, command id, text)
//   dialog 101 caption "Optionen" (dialog id, its caption)
//   dialog 101 1001 "Sprache:"    (dialog id, control id, text)
//   string 0 55495 "Die Datei '%s' kann nicht geöffnet werden."
//
// The source is UTF-8. Texts are in double quotes with the escapes \" \\ \n \r \t. Fonts are
// "menus", "dialogs" or "reserved"; a field left out keeps its keep value. Groups and items keep
// the order of their first lines.

#include <optional>
#include <string>
#include <string_view>

#include "text/LanguageData.h"

namespace qn {

// The language that `source` describes; nothing when a line cannot be read, in
// which case `why` names the line ("line 12: ...").
std::optional<QNLanguageData> ParseLanguageSource(std::string_view source,
                                                  std::string* why = nullptr);

// The readable form of `data`; ParseLanguageSource gives `data` back.
std::string FormatLanguageSource(const QNLanguageData& data);

}  // namespace qn
