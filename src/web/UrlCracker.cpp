#include "web/UrlCracker.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "text/NoCase.h"

namespace qn {
namespace {

struct Scheme {
  std::string_view prefix;
  QNService service;
  int port;
};
constexpr std::array<Scheme, 4> kSchemes = {{{"http://", QNService::Http, 80},
                                             {"https://", QNService::Https, 443},
                                             {"ftp://", QNService::Ftp, 21},
                                             {"file://", QNService::File, 0}}};

std::string_view SchemeText(QNService service) {
  for (const Scheme& s : kSchemes)
    if (s.service == service) return s.prefix;
  return {};
}

bool IsHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool MustEscape(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return true;
  switch (c) {
    case '"':
    case '<':
    case '>':
    case '\\':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
      return true;
    default:
      return false;
  }
}

}  // namespace

QNCrackedUrl CrackUrl(std::string_view address) {
  QNCrackedUrl url;
  const Scheme* scheme = nullptr;
  for (const Scheme& s : kSchemes)
    if (StartsWithNoCase(address, s.prefix)) scheme = &s;
  if (scheme == nullptr) return url;
  std::string_view rest = address.substr(scheme->prefix.size());
  if (scheme->service == QNService::File) {
    url.service = QNService::File;
    url.object = std::string(rest);
    return url;
  }

  const std::size_t end = std::min(rest.find_first_of("/\\?#"), rest.size());
  std::string_view authority = rest.substr(0, end);
  std::string_view object = rest.substr(end);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    url.userInfo = std::string(authority.substr(0, at));
    authority.remove_prefix(at + 1);
  }
  std::string_view host = authority;
  std::string_view port;
  const std::size_t close = authority.rfind(']');
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && (close == std::string_view::npos || colon > close)) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (host.empty()) return url;
  url.port = scheme->port;
  if (!port.empty()) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (ec != std::errc() || ptr != port.data() + port.size() || value <= 0 || value > 65535)
      return url;
    url.port = value;
  }
  url.server = std::string(host);

  object = object.substr(0, object.find('#'));
  std::string path(object);
  // Backslashes in the path are separators, as browsers read them; the query is kept.
  for (std::size_t i = 0; i < path.size() && path[i] != '?'; ++i)
    if (path[i] == '\\') path[i] = '/';
  if (path.empty() || path.front() != '/') path.insert(0, 1, '/');
  url.object = std::move(path);
  url.service = scheme->service;
  return url;
}

std::string RequestUrl(const QNCrackedUrl& url, std::string_view object) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(SchemeText(url.service));
  if (!url.userInfo.empty()) out += url.userInfo + "@";
  out += url.server;
  out += ':';
  out += std::to_string(url.port);
  if (object.empty() || object.front() != '/') out += '/';
  for (std::size_t i = 0; i < object.size(); ++i) {
    const auto c = static_cast<unsigned char>(object[i]);
    const bool escapedAlready =
        c == '%' && i + 2 < object.size() && IsHex(object[i + 1]) && IsHex(object[i + 2]);
    if (MustEscape(c) || (c == '%' && !escapedAlready)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace qn
