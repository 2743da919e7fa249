#include <algorithm>

#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

namespace address_text {

std::string_view TrimWhite(std::string_view s) {
  while (!s.empty() && IsWhite(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsWhite(s.back())) s.remove_suffix(1);
  return s;
}

std::size_t QueryStart(std::string_view s) {
  const std::size_t q = s.find_first_of("?^#");
  return q == std::string_view::npos ? s.size() : q;
}

SchemeSpan FindScheme(std::string_view address) {
  static constexpr std::string_view kSchemes[] = {"http://", "https://", "ftp://", "file://"};
  const std::string_view head = address.substr(0, QueryStart(address));
  SchemeSpan best;
  for (const std::string_view scheme : kSchemes) {
    const std::size_t pos = FindNoCase(head, scheme);
    if (pos < best.pos) best = {pos, scheme.size()};
  }
  return best;
}

std::size_t CountOccurrences(std::string_view s, std::string_view form, std::size_t& last) {
  std::size_t count = 0;
  last = 0;
  for (std::size_t pos = s.find(form); pos != std::string_view::npos;
       pos = s.find(form, pos + form.size())) {
    ++count;
    last = pos + form.size();
  }
  return count;
}

}  // namespace address_text

using address_text::Bounded;

std::size_t FindFirstSeparator(std::string_view s, std::size_t from) {
  return s.find_first_of("/\\", from);
}

std::size_t FindLastSeparator(std::string_view s) {
  return s.find_last_of("/\\");
}

std::string CutToBuffer(std::string_view s) {
  return std::string(Bounded(s));
}

void SlashesToBackslashes(std::string& s) {
  s.resize(std::min(s.size(), kMaxAddressLength));
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '/') s[i] = '\\';
    if (s[i] == '\\' && i > 0 && s[i - 1] == ' ') s[i - 1] = '_';
  }
}

void BackslashesToSlashes(std::string& s) {
  s.resize(std::min(s.size(), kMaxAddressLength));
  std::replace(s.begin(), s.end(), '\\', '/');
}

void ReplaceSeparators(std::string& s, char with) {
  s.resize(std::min(s.size(), kMaxAddressLength));
  std::replace_if(s.begin(), s.end(), IsSeparator, with);
}

void ToNativeSeparators(std::string& s) {
  s.resize(std::min(s.size(), kMaxAddressLength));
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!IsSeparator(s[i])) continue;
    s[i] = kNativeSeparator;
    if (i > 0 && s[i - 1] == ' ') s[i - 1] = '_';
  }
}

}  // namespace qn
