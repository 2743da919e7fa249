#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "web/FetchContext.h"
#include "web/InternetRequest.h"
#include "web/InternetSession.h"
#include "web/RobotsRules.h"
#include "web/ServerPacing.h"
#include "web/SizeTests.h"
#include "web/UrlCracker.h"

namespace qn {

class CQNOutputFile;

// What became of the file.
enum QNOutcome : int { kTransferred = 0, kRefused = 1, kKept = 2 };

struct QNFetchResult {
  bool ok = false;            // the local file now holds the address's content
  bool retryAdvised = false;  // another try may succeed
  bool stopped = false;       // broken off by Stop or a write error, not the address's fault
  std::uint64_t size = 0;     // announced before the transfer, kept bytes after it
  std::optional<std::time_t> modified;  // the server's date of the file
  int lastError = 0;                    // HTTP status or error number of the failure
  int outcome = kTransferred;
  std::string etag;  // the server's validator of the saved file, kept for the next run
};

// Transfers one address into one local file. Each worker owns one fetcher with its
// own Internet handle, opened when the worker starts and closed when it ends.
class CQNFetcher {
 public:
  explicit CQNFetcher(QNFetchContext context);

  // The primary worker passes `raiseLimits` and the same value to CloseInternet.
  bool OpenInternet(bool raiseLimits);
  void CloseInternet(bool restoreLimits);

  // `worker` is the row for status and the abort-file flag; errors other than a 404
  // answer are logged only with `reportErrors`; `recordedSize` and `etag` are what
  // the node kept from an earlier run (0 and empty if nothing); `category` is the
  // address's file-type category for the status row (0: judged from the address).
  QNFetchResult FetchToFile(std::string_view address, const std::string& localPath, int worker,
                            bool reportErrors, std::string_view referrer,
                            std::uint64_t recordedSize, int category = 0,
                            std::string_view etag = {});

 private:
  struct Announced;
  struct Transfer;

  QNFetchResult FetchRemote(const QNCrackedUrl& url, std::string_view address,
                            const std::string& localPath, int worker, bool reportErrors,
                            std::string_view referrer, std::uint64_t recordedSize,
                            std::string_view etag);
  // Waits for the server's turn (connection cap, delay, pauses it asked for); an
  // empty ticket when the run stopped or the file was aborted meanwhile.
  CQNServerPacing::Ticket EnterServer(const QNCrackedUrl& url, int worker);
  // Whether robots.txt lets the run fetch `requestUrl`; nothing when the run stopped
  // or the file was aborted while the rules were read.
  std::optional<bool> RobotsAllow(const QNCrackedUrl& url, std::string_view requestUrl, int worker);
  CQNRobotsRules FetchRobots(const QNCrackedUrl& url);
  QNFetchResult CopyLocalFile(std::string_view address, const std::string& localPath, int worker);
  QNFetchResult Store(CQNInternetRequest& request, const Announced& announced,
                      std::string_view address, const std::string& localPath, int worker,
                      bool reportErrors, QNFetchResult r);
  int Decide(Announced& announced, std::string_view address, const std::string& localPath,
             int worker, std::uint64_t recordedSize);
  Transfer Receive(CQNInternetRequest& request, CQNOutputFile& file, const Announced& announced,
                   std::string_view address, int worker);
  void LogText(int id, int number, std::string_view text);
  void LogSizeRefusal(SizeVerdict verdict, std::string_view address, std::uint64_t size);
  void PostRow(int worker, std::string_view address, std::uint64_t size, std::string status);
  void PostProgress(int worker, std::string text, std::size_t bytes, const Transfer& transfer,
                    double seconds);
  // Whether the transfer must end now: Stop (or a limit) for the run, or the user
  // aborted this worker's file (remembered in aborted_, as the flag is taken).
  bool Interrupted(int worker);
  // Sends `spec`, following redirections as the options allow; every target must
  // be an HTTP address that the context lets the run follow. True when an answer
  // that is no redirection has arrived; false with `r` filled in otherwise.
  bool SendFollowing(CQNInternetRequest& request, QNRequestSpec& spec, std::string_view address,
                     bool reportErrors, QNFetchResult& r);

  QNFetchContext ctx_;
  int rowCategory_ = 0;  // the category the status rows of this fetch show
  CQNInternetSession session_;
  QNConnectionLimits savedLimits_;
  bool aborted_ = false;
};

// The file-type category that the server's Content-Type of `address` tells (0 when it
// tells none or the server cannot be asked). Only the headers are read.
int ProbeContentType(std::string_view address, const QNFetchContext& context);

// The category of a Content-Type value: "text/plain" 128, other text 1, "image/" 2,
// "audio/" 8, "video/" 16, "application/zip" 256, other applications 64, else 0.
int ContentTypeCategory(std::string_view contentType);

// How a session is configured from the program options and the project.
QNSessionConfig SessionConfigFor(const QNFetchContext& context);

}  // namespace qn
