#include "web/InternetSession.h"

namespace qn {
namespace {

constexpr long kReceiveBuffer = 256 * 1024;
constexpr long kMaxRedirects = 30;

}  // namespace

CQNInternetSession::CQNInternetSession() = default;
CQNInternetSession::~CQNInternetSession() = default;

bool CQNInternetSession::Open(QNSessionConfig config) {
  Close();
  if (!InternetLibraryReady()) return false;
  multi_.reset(curl_multi_init());
  easy_.reset(curl_easy_init());
  if (!multi_ || !easy_) {
    Close();
    return false;
  }
  config_ = std::move(config);
  SetFixedOptions();
  return true;
}

// The options that stay the same for every request of the session.
void CQNInternetSession::SetFixedOptions() {
  CURL* h = easy_.get();
  if (config_.cookies && config_.cookies->Share())
    curl_easy_setopt(h, CURLOPT_SHARE, config_.cookies->Share());
  curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBuffer);
  curl_easy_setopt(h, CURLOPT_FILETIME, 1L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, config_.agent.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
  curl_easy_setopt(h, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
  curl_easy_setopt(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (config_.timeoutSeconds > 0)
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(config_.timeoutSeconds) * 1000L);
  // The chain is checked; a certificate issued for another name is accepted, as the
  // program always accepted it.
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
  if (!config_.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, config_.caFile.c_str());
}

void CQNInternetSession::Close() {
  easy_.reset();
  multi_.reset();
}

void RaiseConnectionLimits(QNConnectionLimits& saved) {
  saved = QNConnectionLimits{};
}

void RestoreConnectionLimits(const QNConnectionLimits&) {}

}  // namespace qn
