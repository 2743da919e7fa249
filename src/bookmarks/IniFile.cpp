#include "bookmarks/IniFile.h"

#include "text/NoCase.h"

namespace qn {
namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::optional<std::string> QNIniSection::Value(std::string_view key) const {
  for (const auto& [name, value] : values)
    if (EqualNoCase(name, key)) return value;
  return std::nullopt;
}

std::vector<QNIniSection> ParseIni(std::string_view text) {
  std::vector<QNIniSection> sections;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      sections.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (sections.empty() || equals == std::string_view::npos) continue;
    sections.back().values.emplace_back(Trim(line.substr(0, equals)),
                                        Trim(line.substr(equals + 1)));
  }
  return sections;
}

const QNIniSection* FindIniSection(const std::vector<QNIniSection>& sections,
                                   std::string_view name) {
  for (const QNIniSection& section : sections)
    if (EqualNoCase(section.name, name)) return &section;
  return nullptr;
}

}  // namespace qn
