#pragma once

// The cookies of one project's run, shared by every transfer handle of the run: a
// cookie that one page sets goes with the next request, whichever worker makes it.
// A new run starts with an empty jar, so no cookie passes from one project to the
// next one run in the same program.

#include <curl/curl.h>

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace qn {

class CQNCookieJar {
 public:
  CQNCookieJar();
  CQNCookieJar(const CQNCookieJar&) = delete;
  CQNCookieJar& operator=(const CQNCookieJar&) = delete;

  // The share handle that transfer handles attach to; null when the transfer library
  // could not make one (each handle then keeps cookies of its own).
  CURLSH* Share() const { return share_.get(); }

  // Adds the cookies of a cookies.txt file (the Netscape format browsers export).
  // The number of cookies in the jar afterwards; nothing when the file cannot be read.
  std::optional<std::size_t> Load(const std::string& path);
  // The number of cookies in the jar.
  std::size_t Count();

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self);
  static void Unlock(CURL*, curl_lock_data data, void* self);

  struct ShareDeleter {
    void operator()(CURLSH* h) const { curl_share_cleanup(h); }
  };

  std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
  std::unique_ptr<CURLSH, ShareDeleter> share_;  // after the locks: it may use them
};

// The transfer library's global set-up, done once; false when it failed.
bool InternetLibraryReady();

}  // namespace qn
