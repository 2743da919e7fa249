#pragma once

// A link value the scanner found in a page, with the index of the tag it came from.

#include <string>

namespace qn {

// Tag indices with a meaning for the link table.
constexpr int kTagFrame = 1;  // a frame source keeps its page's level
constexpr int kTagBase = 20;  // the value becomes the page's base directory

struct QNFoundLink {
  std::string text;
  int tag = -1;
};

}  // namespace qn
