#pragma once

#include <string>

namespace qn {

// The program options that shape every Internet handle.
struct QNInternetOptions {
  bool UseProxy = false;
  std::string ProxyAddress;
  int ProxyPort = 80;
  std::string FtpProxyAddress;  // empty: FTP goes through the HTTP proxy
  int FtpProxyPort = 21;
  std::string ProxyUserID;
  std::string ProxyPassword;
  bool UseCache = false;  // there is no cache on this platform: kept for the options dialog
  bool Redirect = true;   // follow HTTP redirections
  // Certificate authorities for HTTPS; empty: the system's store.
  std::string caFile;
};

}  // namespace qn
