#include "web/StartTag.h"

#include "text/NoCase.h"

namespace qn {
namespace {

bool IsTagBlankChar(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace

std::vector<QNAttributePlace> StartTagAttributes(std::string_view tag) {
  std::vector<QNAttributePlace> attributes;
  const std::size_t n = tag.size();
  std::size_t i = 1;
  while (i < n && !IsTagBlankChar(tag[i]) && tag[i] != '>' && tag[i] != '/') ++i;
  for (;;) {
    while (i < n && (IsTagBlankChar(tag[i]) || tag[i] == '/')) ++i;
    if (i >= n || tag[i] == '>') break;
    const std::size_t begin = i;
    while (i < n && !IsTagBlankChar(tag[i]) && tag[i] != '=' && tag[i] != '>') ++i;
    QNAttributePlace place{begin, i, tag.substr(begin, i - begin)};
    std::size_t j = i;
    while (j < n && IsTagBlankChar(tag[j])) ++j;
    if (j < n && tag[j] == '=') {
      ++j;
      while (j < n && IsTagBlankChar(tag[j])) ++j;
      if (j < n && (tag[j] == '"' || tag[j] == '\'')) {
        const std::size_t close = tag.find(tag[j], j + 1);
        j = close == std::string_view::npos ? n : close + 1;
      } else {
        while (j < n && !IsTagBlankChar(tag[j]) && tag[j] != '>') ++j;
      }
      place.end = i = j;
    }
    attributes.push_back(place);
  }
  return attributes;
}

void DropAttributes(std::string& tag, std::initializer_list<std::string_view> names) {
  const std::vector<QNAttributePlace> attributes = StartTagAttributes(tag);
  // From the last one back, so that the places before stay valid.
  for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
    bool named = false;
    for (std::string_view name : names) named = named || EqualNoCase(it->name, name);
    if (!named) continue;
    std::size_t begin = it->begin;
    while (begin > 0 && IsTagBlankChar(tag[begin - 1])) --begin;
    tag.erase(begin, it->end - begin);
  }
}

}  // namespace qn
