#include "text/NoCase.h"

#include <algorithm>

namespace qn {

std::string ToLower(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), ToLowerChar);
  return r;
}

std::string ToUpper(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), ToUpperChar);
  return r;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return ToLowerChar(x) == ToLowerChar(y);
         });
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from) {
  if (from > hay.size()) return std::string_view::npos;
  const auto it =
      std::search(hay.begin() + static_cast<std::ptrdiff_t>(from), hay.end(), needle.begin(),
                  needle.end(), [](char x, char y) { return ToLowerChar(x) == ToLowerChar(y); });
  return it == hay.end() && !needle.empty() ? std::string_view::npos
                                            : static_cast<std::size_t>(it - hay.begin());
}

}  // namespace qn
