#pragma once

#include <optional>
#include <string>

namespace qn {

// The language file an installer preset in "Language.ini": the quoted name on the
// first line whose first word is "LngFile" (without regard to case). Nothing when
// the file is missing or names none. Read only on the first run.
std::optional<std::string> ReadLanguageIni(const std::string& path);

}  // namespace qn
