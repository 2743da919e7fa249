#pragma once

// A small project (a page and the image it links to) and its file, written field by
// field from the layout rather than by the program's writer.

#include <string>

#include "records/DocTree.h"
#include "settings/ProjectSettings.h"

namespace qn::test {

constexpr const char* kGoldenPath = "/proj/demo.qnp";

CQNSettings GoldenSettings();
void BuildGoldenTree(CQNDocTree& tree);

struct GoldenFile {
  std::string bytes;
  std::size_t treeEnd = 0;  // offset just after the last node record
};
GoldenFile GoldenBytes();

}  // namespace qn::test
