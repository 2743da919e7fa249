#include "web/InternetSession.h"

#include <array>
#include <mutex>

namespace qn {
namespace {

struct ShareDeleter {
  void operator()(CURLSH* h) const { curl_share_cleanup(h); }
};

std::array<std::mutex, CURL_LOCK_DATA_LAST> g_shareLocks;

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
  g_shareLocks[static_cast<std::size_t>(data)].lock();
}
void UnlockShare(CURL*, curl_lock_data data, void*) {
  g_shareLocks[static_cast<std::size_t>(data)].unlock();
}

std::unique_ptr<CURLSH, ShareDeleter> MakeShare() {
  std::unique_ptr<CURLSH, ShareDeleter> share(curl_share_init());
  if (share) {
    curl_share_setopt(share.get(), CURLSHOPT_LOCKFUNC, LockShare);
    curl_share_setopt(share.get(), CURLSHOPT_UNLOCKFUNC, UnlockShare);
    curl_share_setopt(share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  }
  return share;
}

}  // namespace

CURLSH* SharedInternetState() {
  // The library's global set-up is not safe to race; the first session does it.
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  static const std::unique_ptr<CURLSH, ShareDeleter> share =
      initialised ? MakeShare() : std::unique_ptr<CURLSH, ShareDeleter>();
  return share.get();
}

CQNInternetSession::CQNInternetSession() = default;
CQNInternetSession::~CQNInternetSession() = default;

bool CQNInternetSession::Open(QNSessionConfig config) {
  Close();
  if (SharedInternetState() == nullptr) return false;
  multi_.reset(curl_multi_init());
  easy_.reset(curl_easy_init());
  if (!multi_ || !easy_) {
    Close();
    return false;
  }
  config_ = std::move(config);
  return true;
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
