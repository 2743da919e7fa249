// Feeds arbitrary bytes to the language file reader and to the source compiler.
// A file that reads is looked up, written again and read back; its source form
// compiles to the same language.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>
#include <utility>

#include "text/LanguageFile.h"
#include "text/LanguageSource.h"
#include "text/Texts.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Whether every group id occurs once per table and every item id once per group:
// only then does the source form, which names texts by these ids, keep them all.
bool IdsAreUnique(const qn::QNLanguageData& language) {
  for (const auto& table : language.tables) {
    std::set<std::int32_t> groups;
    for (const auto& group : table) {
      if (!groups.insert(group.id).second) return false;
      std::set<std::int32_t> items;
      for (const auto& item : group.items)
        if (!items.insert(item.id).second) return false;
    }
  }
  return true;
}

void Exercise(const qn::QNLanguageData& language) {
  const qn::QNTextTable table(language);
  for (const auto& group : language.Table(qn::QNLanguageTable::Menus))
    for (const auto& item : group.items) Check(table.FindMenuItem(group.id, item.id) != nullptr);
  for (const auto& group : language.Table(qn::QNLanguageTable::Dialogs)) {
    table.FindDialogCaption(group.id);
    for (const auto& item : group.items) Check(table.FindDialogItem(group.id, item.id) != nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto language = qn::ParseLanguageFile(bytes)) {
    Exercise(*language);
    // Texts read from a code page may hold characters it cannot write back.
    if (const auto file = qn::FormatLanguageFile(*language);
        file && language->encoding == qn::kUtf8Encoding)
      Check(qn::ParseLanguageFile(*file) == language);
    if (IdsAreUnique(*language))
      Check(qn::ParseLanguageSource(qn::FormatLanguageSource(*language)) == language);
  }
  if (const auto compiled = qn::ParseLanguageSource(bytes)) {
    if (const auto file = qn::FormatLanguageFile(*compiled))
      Check(compiled->encoding != qn::kUtf8Encoding || qn::ParseLanguageFile(*file) == compiled);
  }
  return 0;
}
