#pragma once

#include <cstdio>
#include <string>
#include <string_view>

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

// Fills the first "%d" of a text that may come from a language file with `count`
// ("%%" gives "%"); any other placeholder stays as written, so a translation with
// the wrong placeholders shows them instead of reading values that were never given.
std::string FillCount(std::string_view format, long count);

}  // namespace qn
