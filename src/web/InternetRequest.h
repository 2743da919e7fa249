#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "web/InternetSession.h"
#include "web/UrlCracker.h"

namespace qn {

// One request as the fetcher asks for it.
struct QNRequestSpec {
  QNService service = QNService::Http;
  std::string url;   // complete and escaped (RequestUrl)
  std::string user;  // credentials; empty: none
  std::string password;
  std::string referrer;
  bool post = false;  // POST `body` as a form submission; otherwise GET
  std::string body;
  bool followRedirects = true;
  // FTP only: log in and learn the object's size and date without opening it.
  bool infoOnly = false;
  // Asked several times a second while the request waits for the server: true ends
  // the request at once (a stop of the run, the file aborted by the user).
  std::function<bool()> cancelled;
};

// One transfer on a session. Sending waits until the answer's headers (or the first
// data of an FTP file) have arrived, so the caller decides about the file before a
// single body byte is stored; the body is then pulled in chunks at the caller's pace.
// Closing (destroying) the request abandons whatever the server still sends.
class CQNInternetRequest {
 public:
  explicit CQNInternetRequest(CQNInternetSession& session);
  ~CQNInternetRequest();
  CQNInternetRequest(const CQNInternetRequest&) = delete;
  CQNInternetRequest& operator=(const CQNInternetRequest&) = delete;

  // 0 when the answer has arrived, otherwise an internet error number.
  int Send(const QNRequestSpec& spec);

  int Status() const { return status_; }                         // HTTP status of the final answer
  std::int64_t ContentLength() const { return contentLength_; }  // -1: not announced
  std::optional<std::time_t> LastModified() const { return lastModified_; }
  const std::string& ContentType() const { return contentType_; }
  // Where a redirection answer points, as an absolute address; empty for any other.
  std::string RedirectUrl() const;

  // Waits for up to `n` body bytes: the count, fewer than `n` only at the end of the
  // body or before a failure; 0 at the end; -1 on failure (see Error).
  long long Read(char* buffer, std::size_t n);
  int Error() const { return error_; }

 private:
  struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };

  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  void HeaderLine(std::string_view line);
  void SetOptions(const QNRequestSpec& spec);
  // Runs the transfer until `ready` holds or it ends; false when it timed out or was
  // cancelled.
  bool WaitUntil(const std::function<bool()>& ready);
  void CollectResult();
  void Fail(CURLcode code);
  void Detach();

  CQNInternetSession& session_;
  std::unique_ptr<curl_slist, SlistDeleter> headers_;
  std::function<bool()> cancelled_;
  bool attached_ = false;
  bool done_ = false;
  bool paused_ = false;
  bool bodyStarted_ = false;
  bool parseHeaders_ = false;
  bool discardBody_ = false;
  CURLcode result_ = CURLE_OK;
  int error_ = 0;
  std::vector<char> buffer_;
  std::size_t readPos_ = 0;
  std::chrono::steady_clock::time_point lastActivity_;

  int status_ = 0;
  std::int64_t contentLength_ = -1;
  bool chunked_ = false;
  std::optional<std::time_t> lastModified_;
  std::string contentType_;
};

}  // namespace qn
