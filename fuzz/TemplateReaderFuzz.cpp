// Feeds arbitrary text to the template reader, then writes what it read and reads
// that again.
#include <cstdint>
#include <sstream>
#include <string>

#include "settings/TemplateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  qn::CQNSettings settings;
  qn::ReadTemplate(in, settings);
  std::istringstream again(qn::FormatTemplate(settings));
  qn::CQNSettings settings2;
  qn::ReadTemplate(again, settings2);
  return 0;
}
