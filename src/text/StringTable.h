#pragma once

#include <cstdio>
#include <string>

namespace qn {

// The built-in English text of a string id, or "" for an unknown id.
const char* BuiltinString(int id);

// Fills a message's "%s" and "%d" placeholders; the result is cut at 4095 characters.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  char buf[4096];
  if constexpr (sizeof...(Args) == 0) {
    return format;
  } else {
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
  }
}

}  // namespace qn
