#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qn {

// Comparisons of 8-bit text without regard to case (ASCII letters only, as the
// stored files and peers expect).
// Inline: walks over large trees compare addresses a character at a time.
constexpr char ToLowerChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char ToUpperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
// Position of `needle` in `hay` at or after `from`, or npos.
std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0);

}  // namespace qn
