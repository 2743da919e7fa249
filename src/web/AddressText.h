#pragma once

// Text helpers shared by the address operations; not part of the address interface.

#include <cstddef>
#include <string>
#include <string_view>

#include "web/Address.h"

namespace qn::address_text {

// The part of `s` that fits an address buffer.
inline std::string_view Bounded(std::string_view s) {
  return s.substr(0, kMaxAddressLength);
}

// Appends as much of `src` as still fits an address buffer.
inline void AppendBounded(std::string& dst, std::string_view src) {
  if (dst.size() >= kMaxAddressLength) return;
  dst.append(src.substr(0, kMaxAddressLength - dst.size()));
}

inline bool IsWhite(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
inline bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimWhite(std::string_view s);

// Index of the first "?", "^" or "#", or the length of `s`.
std::size_t QueryStart(std::string_view s);

// Where the scheme of an address stands.
struct SchemeSpan {
  std::size_t pos = std::string_view::npos;
  std::size_t length = 0;
  bool found() const { return pos != std::string_view::npos; }
  std::size_t end() const { return pos + length; }
};
// The earliest of the four schemes (any case) before the query or fragment.
SchemeSpan FindScheme(std::string_view address);

// Number of non-overlapping occurrences of `form` in `s`; `last` receives the index
// just after the last one.
std::size_t CountOccurrences(std::string_view s, std::string_view form, std::size_t& last);

}  // namespace qn::address_text
