#pragma once

// The walk over a document that discovery and conversion share: lines are read,
// the next tag of the table is found, its end is looked for in the same line and
// then in the following ones, and a tag that never ends is skipped by going back
// to its line and going on after its start token.

#include <cstddef>
#include <istream>
#include <string_view>

#include "web/LinkSink.h"
#include "web/ScanText.h"

namespace qn {

// Restarts after an unterminated tag, per document.
constexpr int kMaxRestarts = 1000;

class IQNTagVisitor {
 public:
  struct Resume {
    std::size_t search = 0;  // where the search for the next tag goes on
    std::size_t emit = 0;    // where the text still to be written starts
    bool stop = false;       // ends the walk with the result false
  };

  virtual ~IQNTagVisitor() = default;
  // A complete tag: its start token at `start` of `text`, its end token at `end`.
  // Positions of the result are counted in `text`.
  virtual Resume OnTag(QNScanText& text, std::size_t start, int row, const QNTagEnd& end) = 0;
  // Text outside the tags, in document order, when the visitor writes a copy.
  virtual bool WantsText() const { return false; }
  virtual void OnText(std::string_view /*text*/) {}
};

// Walks `in` from its current place. `prepareLines`: discovery reads text lines
// with line preparation; conversion reads lines unchanged. Returns false when the
// stop flag ended the walk or the visitor stopped it. After kMaxRestarts the walk
// ends; a visitor that wants the text gets the rest of the document unchanged.
bool WalkTags(std::istream& in, bool prepareLines, const QNScanControl& control,
              IQNTagVisitor& visitor);

}  // namespace qn
