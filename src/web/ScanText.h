#pragma once

// One piece of text the scanner works on (a line, the collected lines of a tag, or
// a tag text with its comments removed), with searches that remember their last
// answer. Tags that overlap in one line ask the same questions from ever later
// places, so each question costs about one pass over the text, not one per tag.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qn {

class QNScanText {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  // The text must outlive this object.
  explicit QNScanText(std::string_view text) : text_(text) {}
  QNScanText(const QNScanText&) = delete;
  QNScanText& operator=(const QNScanText&) = delete;

  std::string_view View() const { return text_; }
  std::size_t Size() const { return text_.size(); }
  char At(std::size_t i) const { return text_[i]; }

  // First occurrence of `pattern` (without regard to case) at or after `from` and
  // before `to`; npos when there is none.
  std::size_t Find(std::string_view pattern, std::size_t from, std::size_t to = npos);
  // First character of `chars` at or after `from` and before `to`.
  std::size_t FindAny(std::string_view chars, std::size_t from, std::size_t to = npos);
  // First character that is not one of `chars`, at or after `from` and before `to`.
  std::size_t FindNot(std::string_view chars, std::size_t from, std::size_t to = npos);

  struct Tag {
    std::size_t pos;
    int row;
  };
  // The next start token of the tag table at or after `from` that begins before
  // `to`, passing over tokens of row `skip`.
  std::optional<Tag> NextTag(std::size_t from, std::size_t to = npos, int skip = -1);

  // Nested tags already handled in this text, by start and end, with the place
  // the nested scan went on from.
  std::optional<std::size_t> HandledNested(std::size_t pos, std::size_t end) const;
  void RememberNested(std::size_t pos, std::size_t end, std::size_t resume);

 private:
  enum class Kind { Pattern, AnyOf, NoneOf };
  struct Memo {
    std::string_view pattern;
    Kind kind;
    std::size_t from;
    std::size_t hit;  // first occurrence at or after `from` up to the end, or npos
  };
  std::size_t Remembered(std::string_view pattern, Kind kind, std::size_t from);
  void BuildTags();

  std::string_view text_;
  std::vector<Memo> memo_;
  bool tagsBuilt_ = false;
  std::vector<std::uint32_t> tagPos_;
  std::vector<std::uint8_t> tagRow_;
  std::vector<std::uint32_t> nextOtherRow_;  // next tag index with another row
  std::unordered_map<std::uint64_t, std::size_t> nested_;
};

// Searches without regard to case, from `from` to the end of `text`.
std::size_t SearchNoCase(std::string_view text, std::string_view pattern, std::size_t from);

// Where a tag ends inside `text`: the end token searched from after the start
// token and before `limit`, or without its final ">" when the whole token is
// missing. When the text from the tag's start holds "<!--" but no "-->", only the
// part before that "<!--" is searched.
struct QNTagEnd {
  std::size_t pos = QNScanText::npos;
  std::size_t length = 0;
  bool found() const { return pos != QNScanText::npos; }
};
QNTagEnd FindTagEnd(QNScanText& text, std::size_t tagStart, int row,
                    std::size_t limit = QNScanText::npos);
// The end token (or the token without its final ">") anywhere in `line`.
QNTagEnd FindEndToken(std::string_view line, int row);

}  // namespace qn
