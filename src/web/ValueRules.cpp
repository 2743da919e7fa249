#include "web/ValueRules.h"

#include <algorithm>
#include <array>

#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

constexpr std::string_view kQuotEntity = "&quot;";
constexpr std::string_view kBlanks = " \n\r";

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

bool StartsWithQuotEntity(QNScanText& text, std::size_t pos, std::size_t to) {
  return to > pos && StartsWithNoCase(text.View().substr(pos, to - pos), kQuotEntity);
}

// The delimiter that opens a quoted value at `pos`, or an empty view.
std::string_view OpeningDelimiter(QNScanText& text, std::size_t pos, std::size_t to) {
  if (pos >= to) return {};
  if (text.At(pos) == '"') return "\"";
  if (text.At(pos) == '\'') return "'";
  if (StartsWithQuotEntity(text, pos, to)) return kQuotEntity;
  return {};
}

std::optional<QNValueSpan> ReadValue(QNScanText& text, std::size_t pos, std::size_t to, bool strict,
                                     std::string_view unquotedEnds) {
  to = std::min(to, text.Size());
  pos = text.FindNot(kBlanks, pos, to);
  if (pos == QNScanText::npos) return std::nullopt;
  if (const std::string_view delimiter = OpeningDelimiter(text, pos, to); !delimiter.empty()) {
    const std::size_t open = pos + delimiter.size();
    const std::size_t close = text.Find(delimiter, open, to);
    if (close == QNScanText::npos) return std::nullopt;
    return QNValueSpan{open, close, close + delimiter.size()};
  }
  if (strict) return std::nullopt;
  std::size_t end = text.FindAny(unquotedEnds, pos, to);
  if (end == QNScanText::npos) end = to;
  return QNValueSpan{pos, end, end};
}

struct Delimiter {
  std::size_t pos = QNScanText::npos;
  std::string_view text;
};

// The earliest of the given delimiters at or after `from`.
template <std::size_t N>
Delimiter Earliest(QNScanText& text, std::size_t from, std::size_t to,
                   const std::array<std::string_view, N>& kinds) {
  Delimiter best;
  for (std::string_view kind : kinds) {
    const std::size_t hit = text.Find(kind, from, to);
    if (hit < best.pos) best = {hit, kind};
  }
  return best;
}

constexpr std::array<std::string_view, 3> kAnyQuote = {"\"", "'", kQuotEntity};
constexpr std::array<std::string_view, 2> kDoubleQuote = {"\"", kQuotEntity};

// Adds the piece [begin, end) when it looks like an address; it counts as read
// either way.
bool AddCandidate(QNScanText& text, std::size_t begin, std::size_t end, std::size_t next,
                  const ExtLists& lists, QNTagValues& out) {
  const std::string_view piece = text.View().substr(begin, end - begin);
  out.Read(next);
  if (!LooksLikeAddress(piece, lists)) return false;
  out.values.emplace_back(piece);
  return true;
}

}  // namespace

void QNTagValues::Read(std::size_t next) {
  anyRead = true;
  reached = std::max(reached, next);
}

void QNTagValues::Add(QNScanText& text, const QNValueSpan& span) {
  values.emplace_back(text.View().substr(span.begin, span.end - span.begin));
  Read(span.next);
}

void QNTagValues::Place(QNScanText& text, const QNValueSpan& span, bool page) {
  Read(span.next);
  // "#name" names a part of the page itself: nothing to fetch, nothing to convert.
  if (span.end > span.begin && text.At(span.begin) != '#')
    placed.push_back(
        QNPlacedValue{std::string(text.View().substr(span.begin, span.end - span.begin)),
                      span.begin, span.end, page});
}

std::optional<QNValueSpan> GetAttributeValue(QNScanText& text, std::size_t pos, std::size_t to,
                                             bool strict) {
  std::optional<QNValueSpan> value = ReadValue(text, pos, to, strict, "\n\r \"'>");
  if (!value) return value;
  const std::size_t open = text.Find("(", value->begin, value->end);
  if (open == QNScanText::npos) return value;
  const std::size_t close = text.Find(")", open + 1, value->end);
  if (close == QNScanText::npos) return value;
  if (const auto inner = ReadValue(text, open + 1, close, true, {})) {
    value->begin = inner->begin;
    value->end = inner->end;
  }
  return value;
}

std::optional<QNValueSpan> GetPlainValue(QNScanText& text, std::size_t pos, std::size_t to) {
  return ReadValue(text, pos, to, false, " \n\r>");
}

std::size_t FindAttribute(QNScanText& text, std::string_view name, std::size_t from, std::size_t to,
                          QNEquals equals) {
  to = std::min(to, text.Size());
  for (std::size_t at = text.Find(name, from, to); at != QNScanText::npos;
       at = text.Find(name, at + 1, to)) {
    const std::size_t after = at + name.size();
    if ((at > 0 && IsNameChar(text.At(at - 1))) ||
        (after < text.Size() && IsNameChar(text.At(after))))
      continue;
    if (equals == QNEquals::Next) {
      const std::size_t eq = text.Find("=", after, to);
      return eq == QNScanText::npos ? eq : eq + 1;
    }
    const std::size_t eq = text.FindNot(kBlanks, after, to);
    if (eq != QNScanText::npos && text.At(eq) == '=') return eq + 1;
    if (equals == QNEquals::Follows) return QNScanText::npos;
  }
  return QNScanText::npos;
}

bool LooksLikeAddress(std::string_view candidate, const ExtLists& lists) {
  const std::string_view head = candidate.substr(0, kCandidateLength);
  if (head.find_first_of("\"'@;()") != std::string_view::npos ||
      SearchNoCase(head, kQuotEntity, 0) != std::string_view::npos)
    return false;
  for (std::string_view scheme : {"http://", "https://", "ftp://", "file://"})
    if (SearchNoCase(head, scheme, 0) != std::string_view::npos) return true;
  const Classification found = ClassifyScriptString(head, lists, true);
  return found.category != kCatNone && found.enabled;
}

void ReadWideValue(QNScanText& text, std::size_t eq, std::size_t to, const ExtLists& lists,
                   QNTagValues& out) {
  to = std::min(to, text.Size());
  // The value itself: an unquoted word is taken as written, so that a later quoted
  // attribute (TARGET="_top") never stands in for it.
  const std::size_t first = text.FindNot(kBlanks, eq, to);
  if (first == QNScanText::npos) return;
  std::size_t pos = 0;
  if (const std::string_view delimiter = OpeningDelimiter(text, first, to); !delimiter.empty()) {
    const std::size_t open = first + delimiter.size();
    const std::size_t close = text.Find(delimiter, open, to);
    if (close == QNScanText::npos) return;
    out.Add(text, QNValueSpan{open, close, close + delimiter.size()});
    pos = close + delimiter.size();
  } else {
    const auto value = GetAttributeValue(text, first, to, false);
    if (!value) return;
    out.Add(text, *value);
    pos = value->next;
  }

  // The rest, piece by piece: quoted strings while there are quotes, then words.
  int pieces = 0;
  for (; pieces < kMaxPieces && pos < to; ++pieces) {
    const Delimiter open = Earliest(text, pos, to, kAnyQuote);
    if (open.pos == QNScanText::npos) break;
    const std::size_t begin = open.pos + open.text.size();
    const std::size_t close = text.Find(open.text, begin, to);
    if (close == QNScanText::npos) return;
    pos = close + open.text.size();
    AddCandidate(text, begin, close, pos, lists, out);
  }
  for (; pieces < kMaxPieces && pos < to; ++pieces) {
    const std::size_t begin = text.FindNot(" \n\r>", pos, to);
    if (begin == QNScanText::npos) break;
    std::size_t end = text.FindAny(" \n\r>", begin, to);
    if (end == QNScanText::npos) end = to;
    pos = end;
    AddCandidate(text, begin, end, pos, lists, out);
  }
}

void ReadEventValues(QNScanText& text, std::size_t from, std::size_t to,
                     std::initializer_list<std::string_view> names, const ExtLists& lists,
                     QNTagValues& out) {
  for (std::string_view name : names) {
    const std::size_t eq = FindAttribute(text, name, from, to);
    if (eq == QNScanText::npos) continue;
    const Delimiter open = Earliest(text, eq, to, kDoubleQuote);
    if (open.pos == QNScanText::npos) continue;
    const Delimiter close = Earliest(text, open.pos + open.text.size(), to, kDoubleQuote);
    if (close.pos == QNScanText::npos) continue;
    std::size_t pos = open.pos + open.text.size();
    for (std::size_t quote = text.Find("'", pos, close.pos); quote != QNScanText::npos;
         quote = text.Find("'", pos, close.pos)) {
      const auto value = GetAttributeValue(text, quote, to, true);
      if (!value) break;
      AddCandidate(text, value->begin, value->end, value->next, lists, out);
      pos = value->next;
    }
  }
}

int ReadScriptStrings(QNScanText& text, std::size_t from, std::size_t to, const ExtLists& lists,
                      QNTagValues& out) {
  to = std::min(to, text.Size());
  int found = 0;
  // A closing quote after a backslash ends the string one character earlier.
  const auto take = [&](std::size_t begin, std::size_t close, std::size_t next) {
    std::size_t end = close;
    if (end > begin && text.At(end - 1) == '\\') --end;
    if (AddCandidate(text, begin, end, next, lists, out)) ++found;
  };
  for (std::size_t pos = from; pos < to;) {
    const Delimiter open = Earliest(text, pos, to, kDoubleQuote);
    if (open.pos == QNScanText::npos) break;
    const std::size_t begin = open.pos + open.text.size();
    const Delimiter close = Earliest(text, begin, to, kDoubleQuote);
    if (close.pos == QNScanText::npos) break;
    pos = close.pos + close.text.size();
    take(begin, close.pos, pos);
  }
  // Single quotes: the next search starts at the closing quote itself, so the text
  // between two strings is tried as well.
  for (std::size_t pos = from; pos < to;) {
    const std::size_t open = text.Find("'", pos, to);
    if (open == QNScanText::npos) break;
    const std::size_t close = text.Find("'", open + 1, to);
    if (close == QNScanText::npos) break;
    take(open + 1, close, close + 1);
    pos = close;
  }
  return found;
}

std::optional<std::string> RemoveComments(std::string_view text) {
  std::string out;
  bool removed = false;
  std::size_t copied = 0;
  // The current "<SCRIPT" … "/SCRIPT>" pair; comments inside it stay.
  std::size_t scriptStart = QNScanText::npos;
  std::size_t scriptEnd = 0;
  bool morePairs = true;
  for (std::size_t open = SearchNoCase(text, "<!--", 0); open != QNScanText::npos;) {
    while (morePairs && (scriptStart == QNScanText::npos || scriptEnd <= open)) {
      scriptStart = SearchNoCase(text, "<SCRIPT", scriptStart == QNScanText::npos ? 0 : scriptEnd);
      scriptEnd = scriptStart == QNScanText::npos ? QNScanText::npos
                                                  : SearchNoCase(text, "/SCRIPT>", scriptStart);
      if (scriptEnd == QNScanText::npos) {
        morePairs = false;
        scriptStart = QNScanText::npos;
      }
    }
    if (scriptStart != QNScanText::npos && scriptStart < open && open < scriptEnd) {
      open = SearchNoCase(text, "<!--", open + 4);
      continue;
    }
    const std::size_t close = SearchNoCase(text, "-->", open + 4);
    if (close == QNScanText::npos) break;
    out.append(text, copied, open - copied);
    copied = close + 3;
    removed = true;
    open = SearchNoCase(text, "<!--", copied);
  }
  if (!removed) return std::nullopt;
  out.append(text, copied);
  return out;
}

}  // namespace qn
