#pragma once

// One piece of text the scanner works on (a line, the collected lines of a tag, or
// a tag text with its comments removed), with searches that remember their last
// answer. Tags that overlap in one line ask the same questions from ever later
// places, so each question costs about one pass over the text, not one per tag.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
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
    std::size_t index;  // among the tags of this text
  };
  // The next start token of the tag table at or after `from` that begins before
  // `to`, passing over tokens of row `skip`.
  std::optional<Tag> NextTag(std::size_t from, std::size_t to = npos, int skip = -1);

  // The tag after tag number `index`, under the same conditions as NextTag.
  std::optional<Tag> TagAfter(std::size_t index, std::size_t to = npos, int skip = -1);

  // Counting helpers for nested scans over many tags. Tag numbers run over all
  // tags of the text; `IndexAt` is the number of the first tag at or after `pos`.
  std::size_t IndexAt(std::size_t pos);
  // The tag with number `index` when it begins before `to`.
  std::optional<Tag> TagAtIndex(std::size_t index, std::size_t to);
  // The number of the first tag at or after `index` whose end token is not ">".
  std::size_t NextNonBracketTag(std::size_t index);
  // How many tags with numbers in [first, last) are not of row `skip`.
  std::size_t CountExcept(std::size_t first, std::size_t last, int skip);

  // What nested scans learnt about each tag of this text: where its end token
  // first occurs (for tags whose end is one character), and, once the tag has been
  // handled as a nested tag, where it ended and where the scan went on from.
  struct Nested {
    std::size_t firstEnd = npos;
    bool firstEndKnown = false;
    std::size_t end = npos;  // npos: not handled yet
    std::size_t resume = 0;
  };
  Nested& NestedRecord(const Tag& tag);

 private:
  enum class Kind { Pattern, AnyOf, NoneOf };
  struct Memo {
    std::string_view pattern;
    Kind kind;
    std::size_t from;
    std::size_t hit;  // first occurrence at or after `from` up to the end, or npos
  };
  std::size_t Remembered(std::string_view pattern, Kind kind, std::size_t from);
  std::size_t Search(std::string_view pattern, Kind kind, std::size_t from,
                     std::size_t startsBefore) const;
  void BuildTags();

  std::string_view text_;
  std::vector<Memo> memo_;
  bool tagsBuilt_ = false;
  std::vector<std::uint32_t> tagPos_;
  std::vector<std::uint8_t> tagRow_;
  std::vector<std::uint32_t> nextOtherRow_;  // next tag index with another row
  std::size_t lastTagFrom_ = 0;              // the last question to NextTag
  std::size_t lastTag_ = 0;                  // and the first tag at or after it
  std::vector<Nested> nested_;
  std::vector<std::uint32_t> nonBracket_;  // numbers of the tags not ending in ">"
  std::vector<std::pair<int, std::vector<std::uint32_t>>>
      rowCounts_;  // prefix counts by row               // by tag index
};

// Searches without regard to case for an occurrence that starts at or after `from`
// and before `startsBefore`.
std::size_t SearchNoCase(std::string_view text, std::string_view pattern, std::size_t from,
                         std::size_t startsBefore = std::string_view::npos);

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
// The end token (or the token without its final ">") anywhere in `line`; not for
// rows whose end closes a parenthesis.
QNTagEnd FindEndToken(std::string_view line, int row);
// Looks for the ")" that closes a parenthesis opened before `pos`, with the pairs
// inside and quoted text passed over. Advance can be called again on the same text
// grown longer: it goes on where it stopped.
struct QNParenthesisScan {
  std::size_t pos = 0;
  int depth = 1;
  // The place of the closing ")" before `limit`, or npos.
  std::size_t Advance(std::string_view text, std::size_t limit = QNScanText::npos);
};

}  // namespace qn
