#include "bookmarks/Environment.h"

#include <cstdlib>

namespace qn {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

QNEnvironment ProcessEnvironment() {
  return [](const std::string& name) -> std::optional<std::string> {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
}

std::string ExpandVariables(std::string_view text, const QNEnvironment& environment) {
  std::string expanded;
  const auto value = [&](std::string_view name) {
    return environment(std::string(name)).value_or(std::string());
  };
  if (!text.empty() && text.front() == '~' && (text.size() == 1 || text[1] == '/')) {
    expanded = value("HOME");
    text.remove_prefix(1);
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '$' || i + 1 == text.size()) {
      expanded += text[i];
      continue;
    }
    if (text[i + 1] == '{') {
      const std::size_t close = text.find('}', i + 2);
      if (close == std::string_view::npos) {
        expanded += text[i];
        continue;
      }
      expanded += value(text.substr(i + 2, close - i - 2));
      i = close;
      continue;
    }
    std::size_t end = i + 1;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    if (end == i + 1) {
      expanded += text[i];
      continue;
    }
    expanded += value(text.substr(i + 1, end - i - 1));
    i = end - 1;
  }
  return expanded;
}

}  // namespace qn
