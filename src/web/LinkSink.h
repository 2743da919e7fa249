#pragma once

// What the scanner hands to the download engine. The engine implements the sink
// for the page being scanned; the scanner never touches the contents tree itself.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qn {

// One link value found in a page, after cleaning (entities decoded, tabs removed,
// cut to 1039 characters).
struct QNScannedLink {
  std::string text;     // the value as the page wrote it, cleaned
  std::string address;  // resolved against the page's base directory at that place
  std::string title;    // file name of `text`, or the address when that is empty
  // The tag it came from (TagIndex), or -1 for the values of a script or binary
  // file. A FRAME source keeps its page's level. A BASE value is handed on as the
  // absolute base address, so that a link table resolving the following links
  // with GetBaseDirectory of it agrees with `address` of those links.
  int tag = -1;
};

class IQNLinkSink {
 public:
  virtual ~IQNLinkSink() = default;
  // A fetchable link, or the value of a BASE tag. Links come in page order.
  virtual void AddFoundLink(const QNScannedLink& link) = 0;
  // The text of the page's TITLE tag, entities decoded (see ComposePageTitle).
  virtual void OnPageTitle(const std::string& /*title*/) {}
  // The scan of an HTML page starts ("Analyzing...") / has ended.
  virtual void OnAnalyzing() {}
  virtual void OnAnalysed() {}
};

// The run state a scan polls. Either function may be empty: no stop, full speed.
struct QNScanControl {
  std::function<bool()> stopRequested;
  std::function<int()> speedLevel;  // 1 (slow) to 10 (fast)

  bool StopRequested() const { return stopRequested && stopRequested(); }
  // The pause after every 100 lines and every tag: (10 - speed) x 20 ms.
  void Throttle() const;
};

// The title a page's node gets from its TITLE tag: the page title, " (", the old
// title and ")", when both are non-empty and the old title holds no "("; nothing
// otherwise.
std::optional<std::string> ComposePageTitle(std::string_view nodeTitle, std::string_view pageTitle);

}  // namespace qn
