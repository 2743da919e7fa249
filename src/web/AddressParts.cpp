#include "web/Address.h"
#include "web/AddressText.h"

namespace qn {

using address_text::Bounded;
using address_text::FindScheme;
using address_text::QueryStart;

bool IsAbsoluteAddress(std::string_view address) {
  return FindScheme(Bounded(address)).found();
}

std::string GetSchemePrefix(std::string_view address) {
  static constexpr std::string_view kSchemes[] = {"http://", "https://", "ftp://", "file://"};
  for (const std::string_view scheme : kSchemes)
    if (StartsWithNoCase(address, scheme)) return std::string(address.substr(0, scheme.size()));
  return {};
}

std::string StripScheme(std::string_view address) {
  const std::string_view s = Bounded(address);
  const auto scheme = FindScheme(s);
  return std::string(scheme.found() ? s.substr(scheme.end()) : s);
}

std::string DropBareScheme(std::string_view address) {
  static constexpr std::string_view kBare[] = {"http:", "https:", "ftp:", "file:"};
  std::string s(Bounded(address));
  for (const std::string_view bare : kBare) {
    const std::string_view head = std::string_view(s).substr(0, QueryStart(s));
    const std::size_t pos = FindNoCase(head, bare);
    if (pos == std::string_view::npos) continue;
    if (FindNoCase(head, std::string(bare) + "//") != std::string_view::npos) continue;
    s.erase(0, pos + bare.size());
  }
  return s;
}

std::optional<std::string> GetServerName(std::string_view address) {
  const std::string_view s = Bounded(address);
  const auto scheme = FindScheme(s);
  const std::string_view rest = scheme.found() ? s.substr(scheme.end()) : s;
  const std::size_t sep = FindFirstSeparator(rest);
  if (sep != std::string_view::npos) return std::string(rest.substr(0, sep));
  if (scheme.found()) return std::string(rest);
  return std::nullopt;
}

std::optional<std::string> GetSiteRoot(std::string_view address) {
  const std::string_view s = Bounded(address);
  const auto scheme = FindScheme(s);
  const std::string_view rest = scheme.found() ? s.substr(scheme.end()) : s;
  const std::size_t sep = FindFirstSeparator(rest);
  if (sep == std::string_view::npos) return std::nullopt;
  std::string root(scheme.found() ? s.substr(scheme.pos, scheme.length) : std::string_view());
  root.append(rest.substr(0, sep));
  return root;
}

int GetPathStart(std::string_view address) {
  const std::string_view s = Bounded(address);
  const auto scheme = FindScheme(s);
  const std::size_t offset = scheme.found() ? scheme.end() : 0;
  const std::size_t sep = FindFirstSeparator(s, offset);
  if (sep != std::string_view::npos) return static_cast<int>(sep);
  if (scheme.found()) return static_cast<int>(s.size()) - 1;
  return -1;
}

bool IsNetworkPathReference(std::string_view link) {
  return link.starts_with("//") || link.starts_with("\\\\");
}

std::string AddDefaultScheme(std::string_view address) {
  const std::string_view s = Bounded(address);
  std::string result;
  if (s.size() > 1 && s[1] == ':') {
    result = "file://";
    result += s[0];
    result += '|';
    result.append(s.substr(2));
  } else if (s.starts_with(kNativeSeparator)) {
    // An absolute local path of this platform lies on its one drive.
    result = "file://";
    result.append(s);
  } else {
    result = "http://";
    result.append(s);
  }
  return CutToBuffer(result);
}

std::optional<std::string> FileAddressToPath(std::string_view address) {
  const std::string_view s = Bounded(address);
  const auto scheme = FindScheme(s);
  if (!scheme.found() || !StartsWithNoCase(s.substr(scheme.pos), "file://")) return std::nullopt;
  std::string path(s.substr(scheme.end()));
  if (path.size() > 1 && path[1] == '|') path[1] = ':';
  ToNativeSeparators(path);
  return path;
}

std::string GetFileName(std::string_view address) {
  std::string_view s = Bounded(address);
  if (const std::size_t q = s.rfind('?'); q != std::string_view::npos) s = s.substr(0, q);
  if (const std::size_t c = s.rfind('^'); c != std::string_view::npos) s = s.substr(0, c);
  const std::size_t sep = FindLastSeparator(s);
  std::string_view name = sep == std::string_view::npos ? s : s.substr(sep + 1);
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return {};
  // "page.htm;jsessionid=..." names page.htm.
  if (const std::size_t cut = name.find_first_of("?;", dot + 1); cut != std::string_view::npos)
    name = name.substr(0, cut);
  return std::string(name);
}

}  // namespace qn
