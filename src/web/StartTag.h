#pragma once

// The attributes of an element's start tag, read as a browser reads them, for the
// converter's changes to a tag that go beyond its link values.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

struct QNAttributePlace {
  std::size_t begin = 0;  // the first character of the name
  std::size_t end = 0;    // after the value (after the name when it has none)
  std::string_view name;
};

// The attributes of the start tag at the beginning of `tag` ("<name ..."), up to the
// first ">" outside a quoted value.
std::vector<QNAttributePlace> StartTagAttributes(std::string_view tag);

// Removes the attributes named `names` (without regard to case) from the start tag
// at the beginning of `tag`, with the blanks before them.
void DropAttributes(std::string& tag, std::initializer_list<std::string_view> names);

}  // namespace qn
