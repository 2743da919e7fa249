#pragma once

#include <string>

namespace qn {

// What the desktop offers the program: handing an address (a web page, a local
// file, a "mailto:" message) to the program the user chose for it. The desktop
// program implements it with QDesktopServices; a program without a desktop prints
// the address.
class IQNDesktopServices {
 public:
  virtual ~IQNDesktopServices() = default;
  // False when no program took the address.
  virtual bool OpenUrl(const std::string& url) = 0;
};

}  // namespace qn
