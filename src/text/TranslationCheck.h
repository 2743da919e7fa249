#pragma once

// What a translator should look at before shipping a language file.

#include <string>
#include <vector>

#include "text/LanguageData.h"

namespace qn {

// Strings the program does not have, strings whose placeholders ("%s", "%d") differ
// in kind or order from the built-in text's (the program shows such a text as
// written rather than fill it), and the program's strings the language leaves
// untranslated. Each is a warning, not an error: a partial translation works.
std::vector<std::string> CheckTranslation(const QNLanguageData& language);

}  // namespace qn
