// Feeds arbitrary bytes to the project file reader. Whatever it accepts must be a
// project the writer can save and the reader can read back.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "project/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = "/fuzz/site.qnp";
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  qn::CQNSettings settings;
  qn::CQNDocTree tree;
  if (!qn::ReadProject(in, path, settings, tree, {})) return 0;

  std::istringstream again(qn::FormatProject(settings, tree, path));
  qn::CQNSettings settings2;
  qn::CQNDocTree tree2;
  if (!qn::ReadProject(again, path, settings2, tree2, {}) || tree2.count != tree.count)
    std::abort();
  return 0;
}
