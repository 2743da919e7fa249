#include "web/Splice.h"

#include <algorithm>
#include <unordered_map>

#include "text/NoCase.h"

namespace qn {
namespace {

constexpr std::string_view kClosing = "\n\r \"'>)";

bool OpensValue(char c) {
  return c == '\t' || c == ' ' || c == '=' || c == '>';
}
bool ClosesValue(char c) {
  return c == '\n' || c == '\r' || c == ' ' || c == '"' || c == '\'' || c == '>';
}

// Whether the occurrence [at, end) of a value in `text` is delimited.
bool IsDelimited(std::string_view text, std::size_t at, std::size_t end) {
  const bool atEnd = end >= text.size();
  const char after = atEnd ? '\0' : text[end];
  if (at == 0) return atEnd || ClosesValue(after);
  const char before = text[at - 1];
  if (OpensValue(before) && (atEnd || ClosesValue(after))) return true;
  if ((before == '"' || before == '\'') && !atEnd && after == before) return true;
  return before == '(' && !atEnd && after == ')';
}

}  // namespace

bool SpliceReplacement(std::string& tagText, std::string_view oldValue, std::string_view newValue) {
  if (oldValue.empty()) return false;
  if (EqualNoCase(oldValue, newValue)) return true;
  for (std::size_t at = tagText.find(oldValue); at != std::string::npos;) {
    if (IsDelimited(tagText, at, at + oldValue.size())) {
      tagText.replace(at, oldValue.size(), newValue);
      at = tagText.find(oldValue, at + newValue.size());
    } else {
      at = tagText.find(oldValue, at + 1);
    }
  }
  return true;
}

void SpliceAll(std::string& tagText,
               const std::vector<std::pair<std::string, std::string>>& replacements) {
  // A value without closing delimiters can only occur as the whole text between a
  // place after an opening character and the next closing one.
  std::unordered_map<std::string_view, std::string_view> plain;
  std::vector<bool> plainLength;
  std::vector<const std::pair<std::string, std::string>*> others;
  for (const auto& pair : replacements) {
    const auto& [oldValue, newValue] = pair;
    if (oldValue.empty() || EqualNoCase(oldValue, newValue)) continue;
    if (oldValue.find_first_of(kClosing) != std::string::npos) {
      others.push_back(&pair);
      continue;
    }
    plain.emplace(oldValue, newValue);
    if (plainLength.size() <= oldValue.size()) plainLength.resize(oldValue.size() + 1);
    plainLength[oldValue.size()] = true;
  }

  if (!plain.empty()) {
    const std::string_view text = tagText;
    std::string out;
    std::size_t copied = 0;
    // The first closing character at or after `at` (or the end of the text).
    std::size_t closing = std::min(text.find_first_of(kClosing), text.size());
    for (std::size_t at = 0; at < text.size();) {
      const bool opens = at == 0 || OpensValue(text[at - 1]) || text[at - 1] == '"' ||
                         text[at - 1] == '\'' || text[at - 1] == '(';
      if (!opens) {
        ++at;
        continue;
      }
      if (closing < at) closing = std::min(text.find_first_of(kClosing, at), text.size());
      const std::size_t length = closing - at;
      if (length == 0 || length >= plainLength.size() || !plainLength[length] ||
          !IsDelimited(text, at, closing)) {
        ++at;
        continue;
      }
      const auto hit = plain.find(text.substr(at, length));
      if (hit == plain.end()) {
        ++at;
        continue;
      }
      out.append(text, copied, at - copied);
      out.append(hit->second);
      copied = at = closing;
    }
    if (copied > 0) {
      out.append(text, copied);
      tagText.swap(out);
    }
  }
  for (const auto* pair : others) SpliceReplacement(tagText, pair->first, pair->second);
}

void SplicePlaced(std::string& tagText, std::vector<QNPlacedReplacement> placed,
                  const std::vector<std::pair<std::string, std::string>>& searched) {
  if (placed.empty()) {
    SpliceAll(tagText, searched);
    return;
  }
  std::stable_sort(placed.begin(), placed.end(),
                   [](const auto& a, const auto& b) { return a.begin < b.begin; });
  std::string out;
  std::size_t copied = 0;
  for (const QNPlacedReplacement& r : placed) {
    if (r.begin < copied || r.end > tagText.size()) continue;
    std::string between = tagText.substr(copied, r.begin - copied);
    SpliceAll(between, searched);
    out += between;
    out += r.text;
    copied = r.end;
  }
  std::string rest = tagText.substr(copied);
  SpliceAll(rest, searched);
  out += rest;
  tagText.swap(out);
}

}  // namespace qn
