#pragma once

#include <string>
#include <vector>

namespace qn {

// A list of strings the user typed (start addresses, search strings), most recent
// first, at most kLimit entries.
class QNHistory {
 public:
  static constexpr std::size_t kLimit = 10;

  // Puts `text` at the front; an entry equal to it without regard to case (letters
  // of any script) goes, so it is kept once, in its newest spelling.
  void Add(const std::string& text);
  // Entries as loaded, in their order; those past the limit are dropped.
  void Assign(std::vector<std::string> entries);
  void Clear() { entries_.clear(); }

  const std::vector<std::string>& Entries() const { return entries_; }

  bool operator==(const QNHistory&) const = default;

 private:
  std::vector<std::string> entries_;
};

}  // namespace qn
