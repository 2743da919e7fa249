#include "web/TagTable.h"

#include "text/NoCase.h"

namespace qn {

int TagAt(std::string_view text, std::size_t pos, int skip) {
  if (pos >= text.size()) return -1;
  // Every start token begins with one of these; most places of a text begin none.
  const char c = text[pos];
  if (c != '<' && c != 'u' && c != 'U' && c != '@' && c != 'i' && c != 'I') return -1;
  const std::string_view rest = text.substr(pos);
  for (std::size_t row = 0; row < kTagCount; ++row) {
    const QNTagRow& tag = kTagRows[row];
    if (static_cast<int>(row) == skip || !StartsWithNoCase(rest, tag.start)) continue;
    const std::size_t after = tag.start.size();
    if (!tag.word || WordFollows(after == rest.size(), after < rest.size() ? rest[after] : '\0'))
      return static_cast<int>(row);
  }
  return -1;
}

bool ContainsTag(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size(); ++pos)
    if (TagAt(text, pos) >= 0) return true;
  return false;
}

std::size_t StartTokenTail(std::string_view text) {
  std::size_t longest = 0;
  for (const QNTagRow& tag : kTagRows)
    for (std::size_t length = tag.start.size(); length > longest; --length)
      if (text.size() >= length &&
          EqualNoCase(text.substr(text.size() - length), tag.start.substr(0, length))) {
        longest = length;
        break;
      }
  return longest;
}

bool EndsInStartToken(std::string_view text) {
  for (const QNTagRow& tag : kTagRows)
    if (text.size() >= tag.start.size() &&
        EqualNoCase(text.substr(text.size() - tag.start.size()), tag.start))
      return true;
  return false;
}

}  // namespace qn
