#pragma once

// The reporting step of the scanner: link values are cleaned, BASE values change
// the base directory, and every fetchable link goes to the sink resolved against
// the base directory in force at its place in the page.

#include <optional>
#include <string>
#include <string_view>

#include "web/LinkSink.h"

namespace qn {

// Entities decoded, tabs removed, cut to 1039 characters; nothing for a value
// holding a zero byte, which no address can hold.
std::optional<std::string> CleanLinkValue(std::string_view value);

// The absolute base that a BASE value (cleaned) sets for the links after it on a
// page at `documentAddress`, where `baseDirectory` was in force; nothing for an empty
// value, which changes nothing. A relative value is taken relative to the page.
std::optional<std::string> BaseFromValue(const std::string& value, std::string_view baseDirectory,
                                         std::string_view documentAddress);

class QNLinkReporter {
 public:
  QNLinkReporter(std::string_view documentAddress, std::string_view baseDirectory,
                 IQNLinkSink& sink);

  // Reports one value as found in tag `tag` (TagIndex, or -1 for script and
  // binary files).
  void Report(std::string_view value, int tag);
  const std::string& BaseDirectory() const { return base_; }

 private:
  std::string document_;
  std::string base_;
  IQNLinkSink& sink_;
};

}  // namespace qn
