#include <algorithm>

#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

using address_text::Bounded;

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool PercentDecode(std::string& s) {
  s.resize(std::min(s.size(), kMaxAddressLength));
  bool met = false;
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
      continue;
    }
    met = true;
    const int high = i + 2 < s.size() ? HexValue(s[i + 1]) : -1;
    if (high < 0) {
      // Too short, or no digit: the "%" is replaced and what follows stays.
      out += '_';
      continue;
    }
    // One digit suffices; both characters are consumed either way.
    const int low = HexValue(s[i + 2]);
    const int value = low < 0 ? high : high * 16 + low;
    // A zero byte would end the path wherever it is handed to the system.
    out += value == 0 ? '_' : static_cast<char>(value);
    i += 2;
  }
  s = std::move(out);
  return met;
}

std::string NormalizeForCompare(std::string_view address) {
  std::string_view s = Bounded(address);
  s = s.substr(0, s.find('#'));
  if (!s.empty() && IsSeparator(s.back())) s.remove_suffix(1);
  return ToLower(s);
}

bool SamePathOrDirectory(std::string_view a, std::string_view b) {
  a = Bounded(a);
  b = Bounded(b);
  if (EqualNoCase(a, b)) return true;
  const std::string_view& shorter = a.size() < b.size() ? a : b;
  const std::string_view& longer = a.size() < b.size() ? b : a;
  // The longer one is the shorter one as a directory: one separator more, at the end.
  return longer.size() == shorter.size() + 1 && longer.starts_with(shorter) &&
         IsSeparator(longer.back());
}

}  // namespace qn
