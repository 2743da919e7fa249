#pragma once

// The sections and values of an INI file (profile lists, Internet shortcuts), read
// as the system's profile functions read them: names without regard to case, blanks
// around names and values dropped, the first of two equal names wins.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qn {

struct QNIniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;

  std::optional<std::string> Value(std::string_view key) const;
};

// Lines end in "\n" or "\r\n"; a line starting with ";" or "#" is a comment; lines
// before the first section are ignored.
std::vector<QNIniSection> ParseIni(std::string_view text);

// The section of that name (the first one), or nothing.
const QNIniSection* FindIniSection(const std::vector<QNIniSection>& sections,
                                   std::string_view name);

}  // namespace qn
