#include "web/EntityTable.h"

namespace qn {
namespace {

// Replaces every occurrence of `name` by `code`, left to right, going on after
// each replacement.
void ReplaceAll(std::string& text, std::string_view name, char code) {
  std::size_t hit = text.find(name);
  if (hit == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (; hit != std::string::npos; hit = text.find(name, from)) {
    out.append(text, from, hit - from);
    out.push_back(code);
    from = hit + name.size();
  }
  out.append(text, from);
  text.swap(out);
}

// "&#" followed later by ";": a decimal number read up to the first non-digit;
// a non-zero number replaces everything from "&" through that ";" by its low byte.
void DecodeNumbers(std::string& text) {
  std::size_t hit = text.find("&#");
  if (hit == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  while (hit != std::string::npos) {
    const std::size_t semicolon = text.find(';', hit + 2);
    if (semicolon == std::string::npos) break;
    unsigned low = 0;
    bool nonZero = false;
    for (std::size_t i = hit + 2; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      const unsigned digit = static_cast<unsigned>(text[i] - '0');
      low = (low * 10 + digit) % 256;
      nonZero = nonZero || digit != 0;
    }
    if (nonZero) {
      out.append(text, from, hit - from);
      out.push_back(static_cast<char>(low));
      from = semicolon + 1;
      hit = text.find("&#", from);
    } else {
      hit = text.find("&#", hit + 2);
    }
  }
  out.append(text, from);
  text.swap(out);
}

}  // namespace

void DecodeEntities(std::string& text) {
  if (text.find('&') == std::string::npos) return;
  for (const QNEntity& entity : kEntityTable)
    ReplaceAll(text, entity.name, static_cast<char>(entity.code));
  DecodeNumbers(text);
}

}  // namespace qn
