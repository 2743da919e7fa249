#include "web/StyleReferences.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "text/NoCase.h"

namespace qn {
namespace {

constexpr std::string_view kUrl = "url(";
constexpr std::string_view kImageSet = "image-set(";
constexpr std::string_view kImport = "@import";
constexpr std::string_view kType = "type(";
constexpr std::string_view kCssBlanks = " \t\n\r\f";

bool OpensQuote(QNScanText& text, std::size_t pos, std::size_t to) {
  if (pos >= to) return false;
  const char c = text.At(pos);
  return c == '"' || c == '\'' || StartsWithNoCase(text.View().substr(pos, to - pos), "&quot;");
}

// The value of url(...) from just after its "(": a quoted string, or the text up to
// the first blank or ")".
std::optional<QNValueSpan> ReadUrlValue(QNScanText& text, std::size_t pos, std::size_t to) {
  pos = text.FindNot(kCssBlanks, pos, to);
  if (pos == QNScanText::npos) return std::nullopt;
  if (OpensQuote(text, pos, to)) return GetPlainValue(text, pos, to);
  std::size_t end = text.FindAny(" \t\n\r\f)", pos, to);
  if (end == QNScanText::npos) end = to;
  return QNValueSpan{pos, end, end};
}

// The end of a parenthesised group whose "(" stands just before `from`, or `to`.
std::size_t GroupEnd(QNScanText& text, std::size_t from, std::size_t to) {
  const std::size_t close = QNParenthesisScan{from}.Advance(text.View(), to);
  return close == QNScanText::npos ? to : close + 1;
}

// The place after the url(...) whose "(" stands just before `from`, having placed
// its value.
std::size_t PlaceUrl(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out,
                     bool page) {
  const auto value = ReadUrlValue(text, from, to);
  if (!value) return to;
  out.Place(text, *value, page);
  return GroupEnd(text, value->next, to);
}

// Which reference of style text begins at `pos`.
enum class Reference { None, Url, ImageSet, Import };

Reference ReferenceAt(QNScanText& text, std::size_t pos, std::size_t to) {
  const std::string_view rest = text.View().substr(pos, to - pos);
  if (StartsWithNoCase(rest, kUrl)) return Reference::Url;
  if (StartsWithNoCase(rest, kImageSet)) return Reference::ImageSet;
  if (StartsWithNoCase(rest, kImport)) return Reference::Import;
  return Reference::None;
}

}  // namespace

void ReadCssImport(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out) {
  const std::size_t pos = text.FindNot(kCssBlanks, from, to);
  if (pos == QNScanText::npos) return;
  if (OpensQuote(text, pos, to)) {
    if (const auto value = GetPlainValue(text, pos, to)) out.Place(text, *value, true);
  } else if (StartsWithNoCase(text.View().substr(pos, to - pos), kUrl)) {
    PlaceUrl(text, pos + kUrl.size(), to, out, true);
  }
}

void ReadImageSet(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out) {
  to = std::min(to, text.Size());
  for (std::size_t pos = from; pos < to;) {
    const std::string_view rest = text.View().substr(pos, to - pos);
    if (StartsWithNoCase(rest, kUrl)) {
      pos = PlaceUrl(text, pos + kUrl.size(), to, out, false);
    } else if (StartsWithNoCase(rest, kType)) {
      pos = GroupEnd(text, pos + kType.size(), to);
    } else if (OpensQuote(text, pos, to)) {
      const auto value = GetPlainValue(text, pos, to);
      if (!value) return;
      out.Place(text, *value, false);
      pos = value->next;
    } else {
      ++pos;
    }
  }
}

void ReadStyleReferences(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out) {
  to = std::min(to, text.Size());
  for (std::size_t pos = from; pos < to;) {
    // The earliest of the three starts, each found with one remembered search.
    std::size_t next = to;
    for (std::string_view start : std::array{kUrl, kImageSet, kImport})
      next = std::min(next, std::min(text.Find(start, pos, to), to));
    if (next >= to) return;
    switch (ReferenceAt(text, next, to)) {
      case Reference::Url:
        pos = PlaceUrl(text, next + kUrl.size(), to, out, false);
        break;
      case Reference::ImageSet: {
        const std::size_t end = GroupEnd(text, next + kImageSet.size(), to);
        ReadImageSet(text, next + kImageSet.size(), end, out);
        pos = end;
        break;
      }
      case Reference::Import: {
        std::size_t end = text.Find(";", next, to);
        if (end == QNScanText::npos) end = to;
        ReadCssImport(text, next + kImport.size(), end, out);
        pos = end;
        break;
      }
      case Reference::None:
        pos = next + 1;
        break;
    }
  }
}

void ReadStyleAttributes(QNScanText& text, std::size_t from, std::size_t to, QNTagValues& out) {
  to = std::min({to, text.Size(), text.Find("<", from, to)});
  for (std::size_t pos = from; pos < to;) {
    const std::size_t eq = FindAttribute(text, "STYLE", pos, to);
    if (eq == QNScanText::npos) return;
    const auto value = GetPlainValue(text, eq, to);
    if (!value) return;
    ReadStyleReferences(text, value->begin, value->end, out);
    pos = value->next;
  }
}

}  // namespace qn
