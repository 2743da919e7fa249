#pragma once

// The system's proxy as a first run offers it: a "ProxyServer" value of the form
// "host:port" (one proxy for everything) or "http=host:port;ftp=host:port", made on
// Linux from the environment variables http_proxy and ftp_proxy.

#include <string>
#include <string_view>

#include "app/EnvironmentLookup.h"
#include "app/ProgramOptions.h"

namespace qn {

struct QNProxyServer {
  std::string httpAddress;
  int httpPort = 80;
  std::string ftpAddress;
  int ftpPort = 21;

  bool operator==(const QNProxyServer&) const = default;
};

QNProxyServer ParseProxyServer(std::string_view value);

// The "ProxyServer" value the environment gives (either case of each name), "" when
// it names no proxy.
std::string ProxyServerFromEnvironment(const QNEnvironmentLookup& getenv);

// Fills the proxy options from a "ProxyServer" value; a proxy found switches the
// proxy on and the connection to a permanent one. Nothing changes when the value
// names no proxy for every request.
void ApplyProxyServer(QNProgramOptions& options, std::string_view value);

}  // namespace qn
