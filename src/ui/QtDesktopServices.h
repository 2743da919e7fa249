#pragma once

#include "app/DesktopServices.h"

namespace qn {

// Hands addresses to the desktop (xdg-open on Linux).
class QNQtDesktopServices : public IQNDesktopServices {
 public:
  bool OpenUrl(const std::string& url) override;
};

}  // namespace qn
