#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

using address_text::AppendBounded;
using address_text::Bounded;
using address_text::IsDigit;
using address_text::IsWhite;

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Work allowed to one top-level expansion: appended addresses, and copies made
// (nested patterns of one value each make copies without appending any).
constexpr std::size_t kMaxRangeCopies = 1000000;

struct Budget {
  std::size_t results = kMaxRangeExpansions;
  std::size_t copies = kMaxRangeCopies;
  bool Spent() const { return results == 0 || copies == 0; }
};

struct RangePattern {
  std::size_t open = 0;   // index of "{:"
  std::size_t close = 0;  // index of "}"
  std::int64_t first = 0;
  std::int64_t last = 0;
  std::int64_t step = 1;
  bool characters = false;
  int width = 0;  // zero-padded width, 0 for none
};

bool HasDigit(std::string_view s) {
  for (const char c : s)
    if (IsDigit(c)) return true;
  return false;
}

// A decimal number read as the C library's atoi reads it, held to the int range.
std::int64_t ReadInt(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsWhite(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::int64_t value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i)
    value = std::min<std::int64_t>(value * 10 + (s[i] - '0'), std::int64_t{INT_MAX} + 1);
  value = negative ? -value : value;
  return std::clamp<std::int64_t>(value, INT_MIN, INT_MAX);
}

std::optional<RangePattern> FindPattern(std::string_view address) {
  RangePattern p;
  p.open = address.find("{:");
  if (p.open == npos) return std::nullopt;
  p.close = address.find('}', p.open + 2);
  if (p.close == npos) return std::nullopt;
  const std::string_view inside = address.substr(p.open + 2, p.close - p.open - 2);
  const std::size_t dash = inside.find('-');
  if (dash == npos) return std::nullopt;
  const std::string_view start = inside.substr(0, dash);
  std::string_view end = inside.substr(dash + 1);
  std::string_view step;
  if (const std::size_t bar = end.find('|'); bar != npos) {
    step = end.substr(bar + 1);
    end = end.substr(0, bar);
  }
  if (HasDigit(start) && HasDigit(end)) {
    p.first = ReadInt(start);
    p.last = ReadInt(end);
    if (start.size() == end.size() && start.starts_with('0'))
      p.width = static_cast<int>(start.size());
  } else {
    // "{:a-z}" runs over character codes; a missing character counts as code 0.
    p.characters = true;
    p.first = start.empty() ? 0 : static_cast<unsigned char>(start[0]);
    p.last = end.empty() ? 0 : static_cast<unsigned char>(end[0]);
  }
  p.step = step.empty() ? 1 : ReadInt(step);
  if (p.step <= 0) p.step = 1;
  return p;
}

std::string FormatValue(const RangePattern& p, std::int64_t value) {
  if (p.characters) return value == 0 ? std::string() : std::string(1, static_cast<char>(value));
  char text[kMaxAddressLength + 16];
  std::snprintf(text, sizeof text, "%0*lld", p.width, static_cast<long long>(value));
  return text;
}

void Expand(std::string& address, std::vector<std::string>& result, bool firstCall,
            Budget& budget) {
  const auto pattern = FindPattern(address);
  if (!pattern) return;
  const std::string head = address.substr(0, pattern->open);
  const std::string tail = address.substr(pattern->close + 1);
  bool haveFirst = false;
  for (std::int64_t value = pattern->first; value <= pattern->last; value += pattern->step) {
    if (budget.Spent()) return;
    --budget.copies;
    std::string copy = head;
    AppendBounded(copy, FormatValue(*pattern, value));
    AppendBounded(copy, tail);
    Expand(copy, result, false, budget);
    // A copy whose own patterns were cut short by the budget is not an address.
    if (budget.Spent() && HasRangePattern(copy)) return;
    if (!firstCall && !haveFirst) {
      // Nested: the first value takes the pattern's place in the caller's copy.
      haveFirst = true;
      address = std::move(copy);
      continue;
    }
    if (budget.results == 0) return;
    --budget.results;
    if (!haveFirst) {
      haveFirst = true;
      address = copy;
    }
    result.push_back(std::move(copy));
  }
}

}  // namespace

void ExpandRangePattern(std::string& address, std::vector<std::string>& result, bool firstCall) {
  address.resize(std::min(address.size(), kMaxAddressLength));
  Budget budget;
  Expand(address, result, firstCall, budget);
}

bool HasRangePattern(std::string_view address) {
  return FindPattern(Bounded(address)).has_value();
}

}  // namespace qn
