#include "web/ElementValues.h"

namespace qn {
namespace {

// White space between the candidates of a list.
bool IsListBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Calls `use` with the value of every attribute `name` in [from, to).
template <typename Use>
void EachValue(QNScanText& text, std::size_t from, std::size_t to, std::string_view name, Use use) {
  for (std::size_t pos = from; pos < to;) {
    const std::size_t eq = FindAttribute(text, name, pos, to, QNEquals::FollowsOrRetry);
    if (eq == QNScanText::npos) return;
    const auto value = GetPlainValue(text, eq, to);
    if (!value) return;
    use(*value);
    pos = value->next;
  }
}

}  // namespace

std::vector<std::pair<std::size_t, std::size_t>> SrcsetAddresses(std::string_view list) {
  std::vector<std::pair<std::size_t, std::size_t>> addresses;
  const std::size_t n = list.size();
  for (std::size_t i = 0; i < n;) {
    while (i < n && (IsListBlank(list[i]) || list[i] == ',')) ++i;
    if (i >= n) break;
    const std::size_t begin = i;
    while (i < n && !IsListBlank(list[i])) ++i;
    std::size_t end = i;
    if (list[end - 1] == ',') {
      // "a.jpg,b.jpg": the commas end the candidate, which has no descriptor.
      while (end > begin && list[end - 1] == ',') --end;
      if (end > begin) addresses.emplace_back(begin, end);
      continue;
    }
    addresses.emplace_back(begin, end);
    // The descriptors run to the next comma outside parentheses.
    bool inParentheses = false;
    for (; i < n; ++i) {
      const char c = list[i];
      if (inParentheses) {
        inParentheses = c != ')';
      } else if (c == '(') {
        inParentheses = true;
      } else if (c == ',') {
        ++i;
        break;
      }
    }
  }
  return addresses;
}

void PlaceAttribute(QNScanText& text, std::size_t from, std::size_t to, std::string_view name,
                    QNTagValues& out, bool page) {
  EachValue(text, from, to, name, [&](const QNValueSpan& value) { out.Place(text, value, page); });
}

void PlaceCandidates(QNScanText& text, std::size_t from, std::size_t to, std::string_view name,
                     QNTagValues& out) {
  EachValue(text, from, to, name, [&](const QNValueSpan& value) {
    const std::string_view list = text.View().substr(value.begin, value.end - value.begin);
    for (const auto& [begin, end] : SrcsetAddresses(list))
      out.Place(text, QNValueSpan{value.begin + begin, value.begin + end, value.next}, false);
    out.Read(value.next);
  });
}

}  // namespace qn
