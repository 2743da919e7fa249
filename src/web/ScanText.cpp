#include "web/ScanText.h"

#include <algorithm>
#include <cstring>

#include "text/NoCase.h"
#include "web/TagTable.h"

namespace qn {

std::size_t SearchNoCase(std::string_view text, std::string_view pattern, std::size_t from) {
  if (pattern.empty()) return from <= text.size() ? from : QNScanText::npos;
  if (from >= text.size() || text.size() - from < pattern.size()) return QNScanText::npos;
  const char lower = ToLowerChar(pattern[0]);
  const char upper = ToUpperChar(pattern[0]);
  const std::string_view tail = pattern.substr(1);
  const std::size_t last = text.size() - pattern.size();
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

std::size_t QNScanText::Remembered(std::string_view pattern, Kind kind, std::size_t from) {
  Memo* memo = nullptr;
  for (Memo& m : memo_)
    if (m.kind == kind && m.pattern == pattern) {
      memo = &m;
      break;
    }
  if (memo && memo->from <= from && (memo->hit == npos || from <= memo->hit)) return memo->hit;
  std::size_t hit = npos;
  switch (kind) {
    case Kind::Pattern:
      hit = SearchNoCase(text_, pattern, from);
      break;
    case Kind::AnyOf:
      hit = text_.find_first_of(pattern, from);
      break;
    case Kind::NoneOf:
      hit = text_.find_first_not_of(pattern, from);
      break;
  }
  if (memo)
    *memo = Memo{pattern, kind, from, hit};
  else
    memo_.push_back(Memo{pattern, kind, from, hit});
  return hit;
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
  auto it = std::lower_bound(tagPos_.begin(), tagPos_.end(), from);
  auto k = static_cast<std::size_t>(it - tagPos_.begin());
  if (k < tagPos_.size() && tagRow_[k] == skip) k = nextOtherRow_[k];
  if (k >= tagPos_.size() || tagPos_[k] >= to) return std::nullopt;
  return Tag{tagPos_[k], tagRow_[k]};
}

std::optional<std::size_t> QNScanText::HandledNested(std::size_t pos, std::size_t end) const {
  const auto it = nested_.find((static_cast<std::uint64_t>(pos) << 32) ^ end);
  if (it == nested_.end()) return std::nullopt;
  return it->second;
}

void QNScanText::RememberNested(std::size_t pos, std::size_t end, std::size_t resume) {
  nested_[(static_cast<std::uint64_t>(pos) << 32) ^ end] = resume;
}

QNTagEnd FindTagEnd(QNScanText& text, std::size_t tagStart, int row, std::size_t limit) {
  const QNTagRow& tag = kTagRows[static_cast<std::size_t>(row)];
  limit = std::min(limit, text.Size());
  const std::size_t comment = text.Find("<!--", tagStart, limit);
  if (comment != QNScanText::npos && text.Find("-->", tagStart, limit) == QNScanText::npos)
    limit = comment;
  const std::size_t from = tagStart + tag.start.size();
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
