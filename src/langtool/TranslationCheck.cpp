#include "langtool/TranslationCheck.h"

#include "text/StringTable.h"
#include "text/TextFill.h"

namespace qn {

std::vector<std::string> CheckTranslation(const QNLanguageData& language) {
  std::vector<std::string> warnings;
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
      const auto expected = PlaceholderKinds(builtin);
      const auto written = PlaceholderKinds(item.text);
      if (expected != written)
        warnings.push_back(id + ": the placeholders of \"" + item.text + "\" differ from \"" +
                           std::string(builtin) + "\"; the program will show it unfilled");
    }
  }
  return warnings;
}

}  // namespace qn
