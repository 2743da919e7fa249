#pragma once

// Reads a document line by line as the scanner sees it: at most 4159 characters
// at a time (the 4160-byte line buffer), each line with its line feed. In text
// mode a carriage return before a line feed is dropped, as a text-mode read on the
// system the program was made for drops it.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace qn {

constexpr std::size_t kLineBufferSize = 4160;

class QNLineReader {
 public:
  QNLineReader(std::istream& in, bool textMode);

  // The next line into `line`; false at the end of the input.
  bool Next(std::string& line);
  // The input offset at which the next line starts.
  std::uint64_t Offset() const { return bufferStart_ + pos_; }
  // Goes back (or forward) to an offset that Offset() gave.
  void Seek(std::uint64_t offset);

 private:
  bool Fill();

  std::istream& in_;
  bool textMode_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t length_ = 0;
  std::uint64_t bufferStart_ = 0;
};

// Line preparation of the scanner: carriage returns are removed, except one that
// follows a start token (it becomes a space); a final line feed becomes a space
// when the line ends with a tag name, and is removed otherwise, so that a line
// joins the next one without a separator.
void PrepareLine(std::string& line);

}  // namespace qn
