// Resolves arbitrary links against arbitrary pages and checks what resolution
// promises: a bounded absolute address without backslashes, and a base directory of
// it that is absolute too.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/Address.h"

namespace {

// Input: the link, the page's address and its BASE (empty: none), split at line feeds.
void ResolveOne(std::string_view input) {
  std::string parts[3];
  for (std::string& part : parts) {
    const std::size_t end = input.find('\n');
    part = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  const std::string& link = parts[0];
  const std::string& page = parts[1];
  const std::string base = qn::GetBaseDirectory(parts[2].empty() ? page : parts[2]);
  if (!qn::IsAbsoluteAddress(base) || base.size() > qn::kMaxAddressLength) std::abort();

  const std::string resolved = qn::ResolveLink(link, base, page);
  if (resolved.size() > qn::kMaxAddressLength) std::abort();
  if (resolved.find('\\') != std::string::npos) std::abort();
  const std::string directory = qn::GetBaseDirectory(resolved);
  if (!qn::IsAbsoluteAddress(directory) || directory.size() > qn::kMaxAddressLength) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResolveOne(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
