#include "web/ScanText.h"

#include <algorithm>
#include <cstring>

#include "text/NoCase.h"
#include "web/TagTable.h"

namespace qn {

std::size_t SearchNoCase(std::string_view text, std::string_view pattern, std::size_t from,
                         std::size_t startsBefore) {
  if (pattern.empty()) return from <= text.size() ? from : QNScanText::npos;
  if (from >= text.size() || from >= startsBefore || text.size() - from < pattern.size())
    return QNScanText::npos;
  const char lower = ToLowerChar(pattern[0]);
  const char upper = ToUpperChar(pattern[0]);
  const std::string_view tail = pattern.substr(1);
  const std::size_t last = std::min(text.size() - pattern.size(), startsBefore - 1);
  for (std::size_t i = from; i <= last; ++i) {
    if (lower == upper) {
      const void* hit = std::memchr(text.data() + i, lower, last - i + 1);
      if (!hit) return QNScanText::npos;
      i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    } else if (text[i] != lower && text[i] != upper) {
      continue;
    }
    if (EqualNoCase(text.substr(i + 1, tail.size()), tail)) return i;
  }
  return QNScanText::npos;
}

std::size_t QNScanText::Search(std::string_view pattern, Kind kind, std::size_t from,
                               std::size_t startsBefore) const {
  switch (kind) {
    case Kind::Pattern:
      return SearchNoCase(text_, pattern, from, startsBefore);
    case Kind::AnyOf:
      return text_.substr(0, startsBefore).find_first_of(pattern, from);
    case Kind::NoneOf:
      return text_.substr(0, startsBefore).find_first_not_of(pattern, from);
  }
  return npos;
}

// The memo says: the first occurrence at or after `from` is `hit`. A question from
// inside that range is answered at once; one from before it searches only the gap
// up to the range, so questions from two places that take turns stay cheap.
std::size_t QNScanText::Remembered(std::string_view pattern, Kind kind, std::size_t from) {
  // Patterns are literals: most questions come from the same place in the code.
  Memo* memo = nullptr;
  for (Memo& m : memo_)
    if (m.pattern.data() == pattern.data() && m.pattern.size() == pattern.size() &&
        m.kind == kind) {
      memo = &m;
      break;
    }
  if (!memo)
    for (Memo& m : memo_)
      if (m.kind == kind && m.pattern == pattern) {
        memo = &m;
        break;
      }
  if (!memo) {
    const std::size_t hit = Search(pattern, kind, from, npos);
    memo_.push_back(Memo{pattern, kind, from, hit});
    return hit;
  }
  if (memo->from <= from && (memo->hit == npos || from <= memo->hit)) return memo->hit;
  if (from < memo->from) {
    const std::size_t hit = Search(pattern, kind, from, memo->from);
    memo->from = from;
    if (hit != npos) memo->hit = hit;
    return memo->hit;
  }
  memo->from = from;
  memo->hit = Search(pattern, kind, from, npos);
  return memo->hit;
}

std::size_t QNScanText::Find(std::string_view pattern, std::size_t from, std::size_t to) {
  if (from >= text_.size()) return npos;
  const std::size_t hit = Remembered(pattern, Kind::Pattern, from);
  return hit != npos && hit + pattern.size() <= std::min(to, text_.size()) ? hit : npos;
}

std::size_t QNScanText::FindAny(std::string_view chars, std::size_t from, std::size_t to) {
  if (from >= text_.size()) return npos;
  const std::size_t hit = Remembered(chars, Kind::AnyOf, from);
  return hit < to ? hit : npos;
}

std::size_t QNScanText::FindNot(std::string_view chars, std::size_t from, std::size_t to) {
  if (from >= text_.size()) return npos;
  const std::size_t hit = Remembered(chars, Kind::NoneOf, from);
  return hit < to ? hit : npos;
}

void QNScanText::BuildTags() {
  tagsBuilt_ = true;
  for (std::size_t i = 0; i < text_.size(); ++i) {
    const int row = TagAt(text_, i);
    if (row < 0) continue;
    tagPos_.push_back(static_cast<std::uint32_t>(i));
    tagRow_.push_back(static_cast<std::uint8_t>(row));
  }
  const std::size_t count = tagPos_.size();
  nextOtherRow_.resize(count);
  for (std::size_t k = count; k-- > 0;)
    nextOtherRow_[k] = k + 1 == count || tagRow_[k + 1] != tagRow_[k]
                           ? static_cast<std::uint32_t>(k + 1)
                           : nextOtherRow_[k + 1];
}

std::optional<QNScanText::Tag> QNScanText::NextTag(std::size_t from, std::size_t to, int skip) {
  if (!tagsBuilt_) BuildTags();
  // Scans mostly go forward: look a few tags on from the last answer first.
  std::size_t k = lastTagFrom_ <= from ? lastTag_ : 0;
  for (int step = 0; k < tagPos_.size() && tagPos_[k] < from; ++k)
    if (++step == 8) {
      k = static_cast<std::size_t>(
          std::lower_bound(tagPos_.begin() + static_cast<std::ptrdiff_t>(k), tagPos_.end(), from) -
          tagPos_.begin());
      break;
    }
  lastTagFrom_ = from;
  lastTag_ = k;
  if (k < tagPos_.size() && tagRow_[k] == skip) k = nextOtherRow_[k];
  if (k >= tagPos_.size() || tagPos_[k] >= to) return std::nullopt;
  return Tag{tagPos_[k], tagRow_[k], k};
}

std::optional<QNScanText::Tag> QNScanText::TagAfter(std::size_t index, std::size_t to, int skip) {
  std::size_t k = index + 1;
  if (k < tagPos_.size() && tagRow_[k] == skip) k = nextOtherRow_[k];
  if (k >= tagPos_.size() || tagPos_[k] >= to) return std::nullopt;
  return Tag{tagPos_[k], tagRow_[k], k};
}

std::size_t QNScanText::IndexAt(std::size_t pos) {
  if (!tagsBuilt_) BuildTags();
  return static_cast<std::size_t>(std::lower_bound(tagPos_.begin(), tagPos_.end(), pos) -
                                  tagPos_.begin());
}

std::optional<QNScanText::Tag> QNScanText::TagAtIndex(std::size_t index, std::size_t to) {
  if (index >= tagPos_.size() || tagPos_[index] >= to) return std::nullopt;
  return Tag{tagPos_[index], tagRow_[index], index};
}

std::size_t QNScanText::NextNonBracketTag(std::size_t index) {
  if (nonBracket_.empty()) {
    for (std::size_t k = 0; k < tagRow_.size(); ++k)
      if (kTagRows[tagRow_[k]].end != ">") nonBracket_.push_back(static_cast<std::uint32_t>(k));
    nonBracket_.push_back(static_cast<std::uint32_t>(tagRow_.size()));
  }
  return *std::lower_bound(nonBracket_.begin(), nonBracket_.end(), index);
}

std::size_t QNScanText::CountExcept(std::size_t first, std::size_t last, int skip) {
  std::vector<std::uint32_t>* counts = nullptr;
  for (auto& [row, prefix] : rowCounts_)
    if (row == skip) counts = &prefix;
  if (!counts) {
    std::vector<std::uint32_t> prefix(tagRow_.size() + 1, 0);
    for (std::size_t k = 0; k < tagRow_.size(); ++k)
      prefix[k + 1] = prefix[k] + (tagRow_[k] == skip ? 1 : 0);
    rowCounts_.emplace_back(skip, std::move(prefix));
    counts = &rowCounts_.back().second;
  }
  return (last - first) - ((*counts)[last] - (*counts)[first]);
}

QNScanText::Nested& QNScanText::NestedRecord(const Tag& tag) {
  if (nested_.size() <= tag.index) nested_.resize(tagPos_.size());
  return nested_[tag.index];
}

std::size_t QNParenthesisScan::Advance(std::string_view text, std::size_t limit) {
  text = text.substr(0, std::min(limit, text.size()));
  // A quote without a partner is an ordinary character, and so is every later
  // quote of its kind: the rest of the text is searched once per kind.
  bool partnered[2] = {true, true};
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if ((c == '"' && partnered[0]) || (c == '\'' && partnered[1])) {
      const std::size_t close = text.find(c, pos + 1);
      if (close != std::string_view::npos)
        pos = close;
      else
        partnered[c == '"' ? 0 : 1] = false;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return pos;
    }
  }
  return QNScanText::npos;
}

QNTagEnd FindTagEnd(QNScanText& text, std::size_t tagStart, int row, std::size_t limit) {
  const QNTagRow& tag = kTagRows[static_cast<std::size_t>(row)];
  limit = std::min(limit, text.Size());
  const std::size_t comment = text.Find("<!--", tagStart, limit);
  if (comment != QNScanText::npos && text.Find("-->", tagStart, limit) == QNScanText::npos)
    limit = comment;
  const std::size_t from = tagStart + tag.start.size();
  if (tag.balanced) {
    const std::size_t hit = QNParenthesisScan{from}.Advance(text.View(), limit);
    return hit == QNScanText::npos ? QNTagEnd{} : QNTagEnd{hit, 1};
  }
  if (std::size_t hit = text.Find(tag.end, from, limit); hit != QNScanText::npos)
    return {hit, tag.end.size()};
  if (tag.end.size() > 1 && tag.end.back() == '>') {
    const std::string_view shorter = tag.end.substr(0, tag.end.size() - 1);
    if (std::size_t hit = text.Find(shorter, from, limit); hit != QNScanText::npos)
      return {hit, shorter.size()};
  }
  return {};
}

QNTagEnd FindEndToken(std::string_view line, int row) {
  const QNTagRow& tag = kTagRows[static_cast<std::size_t>(row)];
  if (std::size_t hit = SearchNoCase(line, tag.end, 0); hit != QNScanText::npos)
    return {hit, tag.end.size()};
  if (tag.end.size() > 1 && tag.end.back() == '>') {
    const std::string_view shorter = tag.end.substr(0, tag.end.size() - 1);
    if (std::size_t hit = SearchNoCase(line, shorter, 0); hit != QNScanText::npos)
      return {hit, shorter.size()};
  }
  return {};
}

}  // namespace qn
