#pragma once

// Language files written for Windows hold their texts in the 8-bit code page of the
// language; files written by quillorne-lang hold UTF-8. These conversions go
// through iconv.

#include <optional>
#include <string>
#include <string_view>

namespace qn {

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF). Plain ASCII is.
bool IsUtf8(std::string_view text);

// The iconv name of the Windows code page that a font's character set stands for:
// 204 Cyrillic "CP1251", 238 Central European "CP1250", 161 Greek "CP1253", and so
// on. The Western "CP1252" for ANSI, the default character set and any set without
// a code page of its own.
std::string CodePageOfCharset(int charset);

// `text` in `codePage` as UTF-8. A byte the code page leaves undefined becomes
// U+FFFD; nothing when iconv does not know the code page.
std::optional<std::string> ToUtf8(std::string_view text, const std::string& codePage);

// UTF-8 `text` in `codePage`; nothing when the code page is unknown, the text is not
// UTF-8 or holds a character the code page cannot write.
std::optional<std::string> FromUtf8(std::string_view text, const std::string& codePage);

}  // namespace qn
