#pragma once

// Putting a converted link value in place of the old one inside a tag's text.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qn {

// Replaces every delimited occurrence of `oldValue` in `tagText` (exact case, left
// to right, going on after the inserted text) by `newValue`. Delimited: after the
// start, a tab, space, "=" or ">" and before the end, a line feed, carriage
// return, space, quote or ">"; or between two equal quotes; or between "(" and
// ")". False when `oldValue` is empty; equal values (without regard to case)
// change nothing.
bool SpliceReplacement(std::string& tagText, std::string_view oldValue, std::string_view newValue);

// SpliceReplacement for many values of one tag at once, in one pass over the text
// for the values that hold none of the closing delimiters (the first pair of an
// old value wins), then one call per remaining value. A replacement is not searched
// again for the other values.
void SpliceAll(std::string& tagText,
               const std::vector<std::pair<std::string, std::string>>& replacements);

// A replacement for the text at [begin, end) of a tag's text.
struct QNPlacedReplacement {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string text;
};

// Puts every placed replacement at its place (of two that overlap, the first one
// from the left), and applies SpliceAll to the text between them, so that no
// searched value is found inside a placed one or its replacement.
void SplicePlaced(std::string& tagText, std::vector<QNPlacedReplacement> placed,
                  const std::vector<std::pair<std::string, std::string>>& searched);

}  // namespace qn
