#include "text/TranslationCheck.h"

#include <set>

#include "text/StringTable.h"
#include "text/TextFill.h"

namespace qn {

std::vector<std::string> CheckTranslation(const QNLanguageData& language) {
  std::vector<std::string> warnings;
  std::set<int> translated;
  for (const QNLanguageGroup& group : language.Table(QNLanguageTable::Strings)) {
    if (group.id != 0) {
      warnings.push_back("string group " + std::to_string(group.id) +
                         " is never read: strings belong to group 0");
      continue;
    }
    for (const QNLanguageItem& item : group.items) {
      const std::string id = "string " + std::to_string(item.id);
      const std::string_view builtin = BuiltinString(item.id);
      if (builtin.empty()) {
        warnings.push_back(id + " is not a text of the program");
        continue;
      }
      translated.insert(item.id);
      if (PlaceholderKinds(builtin) != PlaceholderKinds(item.text))
        warnings.push_back(id + ": the placeholders of \"" + item.text + "\" differ from \"" +
                           std::string(builtin) + "\"; the program will show it unfilled");
    }
  }
  std::string missing;
  for (const int id : BuiltinStringIds())
    if (!translated.contains(id)) missing += (missing.empty() ? "" : " ") + std::to_string(id);
  if (!missing.empty()) warnings.push_back("strings without a translation: " + missing);
  return warnings;
}

}  // namespace qn
