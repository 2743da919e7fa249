#pragma once

// The language in use: the list the options dialog offers and loading the chosen
// language file into the one text lookup.

#include <optional>
#include <string>
#include <vector>

#include "text/Texts.h"

namespace qn {

// The built-in language's name in the list.
inline constexpr char kBuiltinLanguage[] = "English";

struct QNLanguageChoice {
  std::string name;  // as offered: "German" for "german.qlg"
  std::string file;  // the LngFile value that chooses it; "" for the built-in texts
  bool operator==(const QNLanguageChoice&) const = default;
};

// Every "*.qlg" file of `folders` under its file name without extension, first
// letter upper-case and the rest lower-case, in the order of these names; a name
// that an earlier folder already offers is left out. "English" comes last.
std::vector<QNLanguageChoice> LanguageChoices(const std::vector<std::string>& folders);

// Where the language file `lngFile` is: a path as it stands, a plain name in the
// first of `folders` that holds it, else in the first folder (for the message).
std::string LanguageFilePath(const std::string& lngFile, const std::vector<std::string>& folders);

// Installs the language the options choose into `texts`, which all its copies share:
// the built-in texts when `useLngFile` is off (the file is not read), else the
// file's table. A file that cannot be read leaves the built-in texts and gives the
// message to show: 55495 with the file's path.
std::optional<std::string> LoadLanguageTable(QNTexts& texts, bool useLngFile,
                                             const std::string& lngFile,
                                             const std::vector<std::string>& folders);

}  // namespace qn
