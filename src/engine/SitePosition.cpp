#include "engine/SitePosition.h"

#include <algorithm>
#include <string>

#include "text/NoCase.h"
#include "web/Address.h"

namespace qn {
namespace {

int CountSeparators(std::string_view s) {
  return static_cast<int>(std::count_if(s.begin(), s.end(), IsSeparator));
}

// The directories agree up to the last separator they share.
std::size_t SharedDirectoryLength(std::string_view a, std::string_view b) {
  std::size_t shared = 0;
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const bool sameSeparator = IsSeparator(a[i]) && IsSeparator(b[i]);
    if (!sameSeparator && ToLowerChar(a[i]) != ToLowerChar(b[i])) break;
    if (IsSeparator(a[i])) shared = i + 1;
  }
  return shared;
}

}  // namespace

int SitePosition(std::string_view address, std::string_view startDir) {
  if (!startDir.empty()) {
    const std::string dir = GetBaseDirectory(address);
    if (StartsWithNoCase(dir, startDir))
      return CountSeparators(std::string_view(dir).substr(startDir.size()));
    if (StartsWithNoCase(startDir, dir)) return -CountSeparators(startDir.substr(dir.size()));

    const auto server = GetServerName(address);
    const auto startServer = GetServerName(startDir);
    if (server && startServer) {
      if (!EqualNoCase(*server, *startServer)) {
        const std::string bare = StripScheme(address);
        const std::size_t path = FindFirstSeparator(bare);
        const int depth =
            path == std::string::npos ? 0 : CountSeparators(std::string_view(bare).substr(path));
        return kOffsiteBase - depth;
      }
      const std::size_t shared = SharedDirectoryLength(dir, startDir);
      const int steps = CountSeparators(startDir.substr(shared)) +
                        CountSeparators(std::string_view(dir).substr(shared));
      return -std::max(steps, 1);
    }
  }
  return kOffsiteBase;
}

int FoundLinkLevel(const CQNDocNode& page, int newSitePos, bool fromFrame) {
  const bool pageOnsite = page.sitePos > kOffsiteBase;
  if (pageOnsite && newSitePos <= kOffsiteBase) return 0;
  // A page without a level (the root, a node of an old project) starts the count.
  if (page.level == kUnset) return 0;
  if (fromFrame || page.level >= kUnset - 1) return page.level;
  return page.level + 1;
}

}  // namespace qn
