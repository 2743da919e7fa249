#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

using address_text::Bounded;

bool ExtensionMatches(std::string_view extension, std::string_view name) {
  if (name.empty()) return false;
  for (std::size_t pos = FindNoCase(extension, name); pos != std::string_view::npos;
       pos = FindNoCase(extension, name, pos + 1)) {
    const std::size_t after = pos + name.size();
    if (after == extension.size()) return true;
    const char c = extension[after];
    if (c == '\n' || c == '\r' || c == ' ' || c == ';' || c == '?') return true;
  }
  return false;
}

Classification ClassifyAddress(std::string_view address, const ExtLists& lists, bool strict) {
  const std::string_view s = Bounded(address);
  const std::string name = GetFileName(s);
  if (name.empty()) {
    // A query without a file name is a page made by the server.
    const bool query = s.find_first_of("?^") != std::string_view::npos;
    return {query ? kCatHtml : kCatNone, true};
  }
  const std::string_view extension = std::string_view(name).substr(name.rfind('.') + 1);
  for (int i = 0; i < kCategoryCount; ++i)
    for (const CQNExtEntry& entry : lists[i])
      if (ExtensionMatches(extension, entry.extension))
        return {kCategoryOrder[i], entry.enabled != 0};
  if (strict) return {kCatNone, true};
  return {kCatOther, true};
}

Classification ClassifyScriptString(std::string_view text, const ExtLists& lists, bool strict) {
  const std::string_view s = Bounded(text);
  if (!GetFileName(s).empty()) return ClassifyAddress(s, lists, strict);
  std::size_t cut = s.find('?');
  if (cut == std::string_view::npos) cut = s.find('^');
  if (cut == std::string_view::npos) return {kCatNone, true};
  const std::string_view head = s.substr(0, cut);
  if (GetFileName(head).empty()) return {kCatNone, true};
  return ClassifyAddress(head, lists, strict);
}

}  // namespace qn
