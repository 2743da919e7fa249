#include "web/LinkSink.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace qn {

void QNScanControl::Throttle() const {
  if (!speedLevel) return;
  const int speed = std::clamp(speedLevel(), 1, 10);
  if (speed < 10) std::this_thread::sleep_for(std::chrono::milliseconds((10 - speed) * 20));
}

std::optional<std::string> ComposePageTitle(std::string_view nodeTitle,
                                            std::string_view pageTitle) {
  if (pageTitle.empty() || nodeTitle.empty() || nodeTitle.find('(') != std::string_view::npos)
    return std::nullopt;
  std::string title(pageTitle);
  title += " (";
  title += nodeTitle;
  title += ')';
  return title;
}

}  // namespace qn
