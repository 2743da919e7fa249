#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "web/CookieJar.h"

namespace qn {

// How an Internet handle reaches the servers.
struct QNSessionConfig {
  std::string agent;  // the user agent sent with every HTTP request
  std::string proxy;  // "host:port" of the HTTP proxy; empty: direct connections
  // "host:port" of the proxy for ftp:// addresses; empty: the HTTP proxy serves FTP too.
  std::string ftpProxy;
  std::string proxyUser;
  std::string proxyPassword;
  int timeoutSeconds = 60;  // connect, send and receive; 0 or less: no time-out of our own
  std::string caFile;       // certificate authorities for HTTPS; empty: the system's store
  // The cookie jar of the run; none: the session keeps cookies of its own.
  std::shared_ptr<CQNCookieJar> cookies;
};

// One Internet handle: a transfer handle with its connection cache. A worker keeps
// its session for the whole run, so connections to a server are reused between files.
// Cookies go into the run's jar, which every session of the run shares.
class CQNInternetSession {
 public:
  CQNInternetSession();
  ~CQNInternetSession();
  CQNInternetSession(const CQNInternetSession&) = delete;
  CQNInternetSession& operator=(const CQNInternetSession&) = delete;

  // False when the transfer library cannot provide a handle.
  bool Open(QNSessionConfig config);
  void Close();
  bool IsOpen() const { return easy_ != nullptr; }

  const QNSessionConfig& Config() const { return config_; }
  CURL* Easy() const { return easy_.get(); }
  CURLM* Multi() const { return multi_.get(); }

 private:
  void SetFixedOptions();

  struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
  };
  struct MultiDeleter {
    void operator()(CURLM* h) const { curl_multi_cleanup(h); }
  };

  QNSessionConfig config_;
  std::unique_ptr<CURLM, MultiDeleter> multi_;
  std::unique_ptr<CURL, EasyDeleter> easy_;
};

// The number of connections per server that the system allows. Windows keeps them in
// the user's Internet settings and the program raises them for a run; this platform
// has no such limit, so there is nothing to raise or restore.
struct QNConnectionLimits {
  std::uint32_t perServer10 = 4;
  std::uint32_t perServer = 4;
};
void RaiseConnectionLimits(QNConnectionLimits& saved);
void RestoreConnectionLimits(const QNConnectionLimits& saved);

}  // namespace qn
