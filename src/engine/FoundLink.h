#pragma once

// A link value the scanner found in a page, with the index of the tag it came from
// (TagIndex; -1 for values of script and binary files). A frame source keeps its
// page's level; a BASE value becomes the base directory of the following links.

#include <string>

#include "web/TagTable.h"

namespace qn {

struct QNFoundLink {
  std::string text;
  int tag = -1;
};

}  // namespace qn
