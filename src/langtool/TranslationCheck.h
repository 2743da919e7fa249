#pragma once

#include <string>
#include <vector>

#include "text/LanguageData.h"

namespace qn {

// What a translator should look at before shipping `language`: strings the program
// does not have, and strings whose placeholders ("%s", "%d") differ in kind or
// order from the built-in text's. The program shows such a text as written rather
// than fill it, so each is a warning, not an error.
std::vector<std::string> CheckTranslation(const QNLanguageData& language);

}  // namespace qn
