#include "web/LineReader.h"

#include <string_view>

#include "web/TagTable.h"

namespace qn {
namespace {

constexpr std::size_t kReadBlock = 65536;

}  // namespace

QNLineReader::QNLineReader(std::istream& in, bool textMode)
    : in_(in), textMode_(textMode), buffer_(kReadBlock) {
  const std::streampos start = in_.tellg();
  bufferStart_ = start < 0 ? 0 : static_cast<std::uint64_t>(start);
}

bool QNLineReader::Fill() {
  bufferStart_ += length_;
  pos_ = 0;
  length_ = 0;
  if (!in_) return false;
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  length_ = static_cast<std::size_t>(in_.gcount());
  return length_ > 0;
}

void QNLineReader::Seek(std::uint64_t offset) {
  if (offset >= bufferStart_ && offset <= bufferStart_ + length_) {
    pos_ = static_cast<std::size_t>(offset - bufferStart_);
    return;
  }
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(offset));
  bufferStart_ = offset;
  pos_ = 0;
  length_ = 0;
}

bool QNLineReader::Next(std::string& line) {
  line.clear();
  while (line.size() < kLineBufferSize - 1) {
    if (pos_ == length_ && !Fill()) break;
    const char c = buffer_[pos_];
    if (c == '\r' && textMode_) {
      // Look at the next character, which may lie in the next block.
      ++pos_;
      if (pos_ == length_ && !Fill()) {
        line.push_back('\r');
        break;
      }
      if (buffer_[pos_] == '\n') {
        ++pos_;
        line.push_back('\n');
        break;
      }
      line.push_back('\r');
      continue;
    }
    ++pos_;
    line.push_back(c);
    if (c == '\n') break;
  }
  // A piece cut by the buffer in the middle of a start token (or right after one,
  // where the next character decides the word rule) would lose that tag: such a
  // tail goes to the next piece instead.
  if (line.size() == kLineBufferSize - 1 && line.back() != '\n') {
    const std::size_t tail = StartTokenTail(line);
    if (tail > 0 && tail < line.size()) {
      line.resize(line.size() - tail);
      Seek(Offset() - tail);
    }
  }
  return !line.empty();
}

void PrepareLine(std::string& line) {
  std::string out;
  out.reserve(line.size());
  // The nearest "<" with no space after it, and whether a start token inside that
  // text is already followed by a line feed, ";" or "?".
  std::size_t open = std::string::npos;
  bool tokenFollowed = false;
  for (const char c : line) {
    if (c == '\r') {
      if (open != std::string::npos &&
          (tokenFollowed || EndsInStartToken(std::string_view(out).substr(open)))) {
        out.push_back(' ');
        open = std::string::npos;
        tokenFollowed = false;
      }
      continue;
    }
    if (c == ' ') {
      open = std::string::npos;
      tokenFollowed = false;
    } else if (c == '<') {
      open = out.size();
      tokenFollowed = false;
    } else if (open != std::string::npos && (c == '\n' || c == ';' || c == '?') &&
               EndsInStartToken(std::string_view(out).substr(open))) {
      tokenFollowed = true;
    }
    out.push_back(c);
  }
  if (!out.empty() && out.back() == '\n') {
    const std::size_t last = out.size() - 1;
    const std::size_t blank = last > 0 ? out.rfind(' ', last - 1) : std::string::npos;
    const std::size_t tag = out.find('<', blank == std::string::npos ? 0 : blank + 1);
    if (tag < last && ContainsTag(std::string_view(out).substr(tag)))
      out[last] = ' ';
    else
      out.pop_back();
  }
  line.swap(out);
}

}  // namespace qn
