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
  // A conditional request, answered "304 Not Modified" while the server's file is the
  // one saved: its date and its validator (ETag), either may be missing.
  std::optional<std::time_t> ifModifiedSince;
  std::string ifNoneMatch;
  // The address names a compressed file of its own (".gz"): its bytes are stored as
  // the server sends them, not decoded. Otherwise gzip, deflate and br are asked for
  // and every body is stored decoded, also one compressed without being asked.
  bool keepEncoding = false;
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

  int Status() const { return status_; }  // HTTP status of the final answer
  // The length of the body as it is read: -1 when not announced, and for a body that
  // arrives compressed, whose Content-Length counts the compressed bytes.
  std::int64_t ContentLength() const { return encoded_ ? -1 : contentLength_; }
  // The body arrives compressed and is decoded as it is read.
  bool Encoded() const { return encoded_; }
  std::optional<std::time_t> LastModified() const { return lastModified_; }
  const std::string& ContentType() const { return contentType_; }
  const std::string& ETag() const { return etag_; }
  // The body as it travels: the bytes the server announced (-1: not announced) and
  // those received so far, compressed ones counted as sent.
  std::int64_t WireLength() const { return contentLength_; }
  std::int64_t WireReceived() const;
  // The seconds a 429 or 503 answer asks to wait (Retry-After, in seconds or as a
  // date); nothing when it does not say.
  std::optional<long> RetryAfterSeconds() const { return retryAfter_; }
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
  // Forgets what the last answer's headers said (a new answer replaces it).
  void ResetAnswer();
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
  std::string etag_;
  std::optional<long> retryAfter_;
  bool decoding_ = false;  // the library decodes what the server compressed
  bool encoded_ = false;   // the body arrives compressed, to be decoded
};

// An HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT") for a request header.
std::string HttpDate(std::time_t t);

}  // namespace qn
