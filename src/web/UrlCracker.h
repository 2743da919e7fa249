#pragma once

#include <string>
#include <string_view>

namespace qn {

enum class QNService { None, Http, Https, Ftp, File };

// An address split the way the internet layer needs it.
struct QNCrackedUrl {
  QNService service = QNService::None;
  std::string userInfo;  // "user:password" written in the address, without the "@"
  std::string server;
  int port = 0;
  std::string object;  // path and query, starting with "/", without the fragment
};

// Splits an address that starts with one of the four schemes (any case). Anything
// else, or a server part that cannot be read, gives the service None.
QNCrackedUrl CrackUrl(std::string_view address);

// The address of `object` on the server of `url`, with the bytes that may not stand
// in an address percent-encoded, as the transfer library expects it.
std::string RequestUrl(const QNCrackedUrl& url, std::string_view object);

}  // namespace qn
