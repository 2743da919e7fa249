#include "web/CookieJar.h"

#include <fstream>

namespace qn {
namespace {

struct EasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

bool InternetLibraryReady() {
  // The library's global set-up is not safe to race; the first caller does it.
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

CQNCookieJar::CQNCookieJar() {
  if (!InternetLibraryReady()) return;
  share_.reset(curl_share_init());
  if (!share_) return;
  CURLSH* h = share_.get();
  curl_share_setopt(h, CURLSHOPT_USERDATA, this);
  curl_share_setopt(h, CURLSHOPT_LOCKFUNC, &CQNCookieJar::Lock);
  curl_share_setopt(h, CURLSHOPT_UNLOCKFUNC, &CQNCookieJar::Unlock);
  curl_share_setopt(h, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  curl_share_setopt(h, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
}

void CQNCookieJar::Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
  static_cast<CQNCookieJar*>(self)->locks_[static_cast<std::size_t>(data)].lock();
}

void CQNCookieJar::Unlock(CURL*, curl_lock_data data, void* self) {
  static_cast<CQNCookieJar*>(self)->locks_[static_cast<std::size_t>(data)].unlock();
}

std::optional<std::size_t> CQNCookieJar::Load(const std::string& path) {
  // The library passes over a file it cannot read without a word; the user should
  // hear of it.
  if (!std::ifstream(path) || !share_) return std::nullopt;
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return std::nullopt;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, share_.get());
  curl_easy_setopt(easy.get(), CURLOPT_COOKIEFILE, path.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "RELOAD");
  return Count();
}

std::size_t CQNCookieJar::Count() {
  if (!share_) return 0;
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return 0;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, share_.get());
  curl_slist* raw = nullptr;
  curl_easy_getinfo(easy.get(), CURLINFO_COOKIELIST, &raw);
  const std::unique_ptr<curl_slist, ListDeleter> cookies(raw);
  std::size_t count = 0;
  for (const curl_slist* c = cookies.get(); c != nullptr; c = c->next) ++count;
  return count;
}

}  // namespace qn
