#include "web/TagWalk.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "web/LineReader.h"
#include "web/TagTable.h"

namespace qn {
namespace {

// How much text a balanced tag may collect from the lines after its start.
constexpr std::size_t kMaxBalancedText = 4 * kLineBufferSize;

class TagWalk {
 public:
  TagWalk(std::istream& in, bool prepareLines, const QNScanControl& control, IQNTagVisitor& visitor)
      : reader_(in, prepareLines), prepare_(prepareLines), control_(control), visitor_(visitor) {}

  bool Run();

 private:
  enum class Outcome { Next, Stopped, GaveUp };

  bool ReadLine(std::string& line);
  Outcome ScanLine(std::string& line);
  // The first input offset from which no line holds `endToken`: a tag with that
  // end token starting before it in an earlier line never ends.
  std::uint64_t& NoEndFrom(std::string_view endToken);
  void CopyRest(std::string_view lineRest, std::uint64_t offset);

  QNLineReader reader_;
  bool prepare_;
  const QNScanControl& control_;
  IQNTagVisitor& visitor_;
  std::uint64_t lines_ = 0;
  int restarts_ = 0;
  std::vector<std::pair<std::string_view, std::uint64_t>> noEnd_;
  std::string next_;
  std::string collected_;
};

bool TagWalk::ReadLine(std::string& line) {
  if (!reader_.Next(line)) return false;
  if (prepare_) PrepareLine(line);
  if (++lines_ % 100 == 0) control_.Throttle();
  return true;
}

std::uint64_t& TagWalk::NoEndFrom(std::string_view endToken) {
  for (auto& [token, offset] : noEnd_)
    if (token == endToken) return offset;
  noEnd_.emplace_back(endToken, std::numeric_limits<std::uint64_t>::max());
  return noEnd_.back().second;
}

void TagWalk::CopyRest(std::string_view lineRest, std::uint64_t offset) {
  visitor_.OnText(lineRest);
  reader_.Seek(offset);
  std::string raw;
  while (reader_.Next(raw)) visitor_.OnText(raw);
}

TagWalk::Outcome TagWalk::ScanLine(std::string& line) {
  const bool writes = visitor_.WantsText();
  std::size_t pos = 0;
  std::size_t emitted = 0;
  for (bool again = true; again;) {
    again = false;
    QNScanText text(line);
    while (const auto tag = text.NextTag(pos)) {
      const std::size_t start = tag->pos;
      const QNTagRow& row = kTagRows[static_cast<std::size_t>(tag->row)];
      if (writes && start > emitted) {
        visitor_.OnText(std::string_view(line).substr(emitted, start - emitted));
        emitted = start;
      }
      if (const QNTagEnd end = FindTagEnd(text, start, tag->row); end.found()) {
        const IQNTagVisitor::Resume resume = visitor_.OnTag(text, start, tag->row, end);
        if (resume.stop) return Outcome::Stopped;
        pos = std::max(resume.search, start + 1);
        emitted = std::max(emitted, resume.emit);
        continue;
      }

      // The end lies in a later line, or nowhere. A line without the end token
      // proves that no tag before it ends there, but a ")" may close an inner pair:
      // a balanced tag is looked for in what was collected, within a bound.
      const std::uint64_t after = reader_.Offset();
      std::uint64_t unbounded = std::numeric_limits<std::uint64_t>::max();
      std::uint64_t& noEnd = row.balanced ? unbounded : NoEndFrom(row.end);
      QNTagEnd end;
      std::size_t lastLine = 0;
      QNParenthesisScan parenthesis{row.start.size()};
      if (after < noEnd) {
        collected_.assign(line, start);
        while (!end.found()) {
          if (control_.StopRequested()) return Outcome::Stopped;
          if (row.balanced && collected_.size() > kMaxBalancedText) break;
          if (!ReadLine(next_)) break;
          lastLine = collected_.size();
          collected_ += next_;
          if (row.balanced) {
            if (const std::size_t close = parenthesis.Advance(collected_);
                close != std::string::npos)
              end = QNTagEnd{close, 1};
          } else {
            end = FindEndToken(next_, tag->row);
            if (end.found()) end.pos += lastLine;
          }
        }
      }
      if (!end.found()) {
        if (!row.balanced) noEnd = std::min(noEnd, after);
        if (++restarts_ > kMaxRestarts) {
          if (writes) CopyRest(std::string_view(line).substr(emitted), after);
          return Outcome::GaveUp;
        }
        reader_.Seek(after);
        pos = start + row.start.size();
        continue;
      }

      QNScanText whole(collected_);
      const IQNTagVisitor::Resume resume = visitor_.OnTag(whole, 0, tag->row, end);
      if (resume.stop) return Outcome::Stopped;
      // Scanning goes on in the line that held the end, never before its start.
      pos = std::max({resume.search, std::size_t{1}, lastLine}) - lastLine;
      emitted = std::max(resume.emit, lastLine) - lastLine;
      line.swap(next_);
      again = true;
      break;
    }
  }
  if (writes && emitted < line.size()) visitor_.OnText(std::string_view(line).substr(emitted));
  return Outcome::Next;
}

bool TagWalk::Run() {
  std::string line;
  for (;;) {
    if (control_.StopRequested()) return false;
    if (!ReadLine(line)) return true;
    switch (ScanLine(line)) {
      case Outcome::Next:
        break;
      case Outcome::Stopped:
        return false;
      case Outcome::GaveUp:
        return true;
    }
  }
}

}  // namespace

bool WalkTags(std::istream& in, bool prepareLines, const QNScanControl& control,
              IQNTagVisitor& visitor) {
  return TagWalk(in, prepareLines, control, visitor).Run();
}

}  // namespace qn
