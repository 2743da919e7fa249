// Names arbitrary addresses against arbitrary start folders in every naming mode and
// checks what local naming promises: the path stays inside the download folder, and
// no file name holds a character the file system would take as more than a name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "storage/LocalNaming.h"
#include "web/Address.h"

namespace {

constexpr std::string_view kRoot = "/download/root/";

// Input: one byte of switches, then the start folder and the address, split at the
// first line feed.
void NameOne(std::string_view input) {
  if (input.empty()) return;
  const auto switches = static_cast<unsigned char>(input.front());
  input.remove_prefix(1);
  const std::size_t split = input.find('\n');
  std::string startFolder(input.substr(0, split));
  std::string address(split == std::string_view::npos ? std::string_view()
                                                      : input.substr(split + 1));

  qn::QNNamingContext context;
  context.root = kRoot;
  context.startFolder = qn::GetBaseDirectory(startFolder);
  context.dirStr = switches % 3;
  context.renameHtml = (switches & 4) != 0;
  context.defaultName = (switches & 8) ? "default.htm" : "index.html";
  context.htmlExtensions = {"htm", "html", "asp", "php"};
  const bool complete = (switches & 16) != 0;
  const bool html = (switches & 32) != 0;

  const std::string path = qn::LocalPathForAddress(address, complete, html, context);
  if (path.compare(0, kRoot.size(), kRoot) != 0 || !qn::IsPathInside(path, kRoot)) std::abort();
  for (const char c : path.substr(kRoot.size())) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  NameOne(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
