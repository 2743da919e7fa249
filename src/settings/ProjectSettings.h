#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/FileTypes.h"

namespace qn {

constexpr int kMaxStartUrls = 100;
// Ranges of the crawling settings.
constexpr int kMaxDelayMs = 60000;
constexpr int kMaxConnectionsPerServer = 100;
constexpr const char* kProgramVersion = "2.8a";
// QN_THREADS is kept within 1 to this wherever a value enters: a run needs at least
// one worker, and it has slots for no more.
constexpr int kMaxThreads = 100;

inline int ThreadsInRange(int threads) {
  return threads < 1 ? 1 : (threads > kMaxThreads ? kMaxThreads : threads);
}

// The settings of one project. Members that templates carry are named by their
// template keys; the others have plain names. The order is the declared order of
// the record. Sizes are in bytes, QN_MAX_TIME in minutes, QN_TIMEOUT in seconds.
struct CQNSettings {
  std::array<std::string, kMaxStartUrls> QN_START_URL{};
  int StartUrlCount = 1;
  int QN_SINGLE_URL = 1;
  std::string QN_USER_ID;
  std::string QN_PASSWORD;
  std::string QN_PROJECT_DIR;
  std::string QN_TITLE;
  int QN_THREADS = 5;
  int QN_FILE_TYPES = kAllCategories;
  int QN_OFFSITE = 0;
  int QN_LIM_DS = 1;
  double QN_MAX_DS = 31457280.0;
  int QN_LIM_FQ = 1;
  int QN_MAX_FQ = 1000;
  int QN_LIM_MAXFS = 1;
  double QN_MAX_MAXFS = 1048576.0;
  int QN_LIM_MINFS = 0;
  double QN_MAX_MINFS = 0.0;
  int QN_LIM_TIME = 1;
  int QN_MAX_TIME = 120;
  int QN_TR_UPDATE = 3;
  int SpareFlag = 1;  // stored in the project file, read by nothing
  int QN_TR_HTML = kAllCategories;
  int QN_TR_INIT = 0;
  int QN_TR_EXTBR = 0;
  int QN_TR_LIMIT_F = 1;
  int QN_TR_MAX_F = 10000;
  int LinkOrder = 0;
  int QN_DIRSTR = 0;
  int QN_UMETHOD = 0;
  int QN_UPDLINKS = 1;
  int QN_TIMEOUT = 60;
  int QN_RETRIES = 5;
  int QN_LIM_L = 0;
  int QN_MAX_L = 3;
  int QN_LIM_OL = 1;
  int QN_MAX_OL = 1;
  int QN_DOWN = 0;
  int QN_PROTOCOL = 15;
  int QN_DETPREV = 0;
  int QN_KEEPHTML = 0;
  int AgentKind = 0;
  int AgentVersion = 4000;
  std::string AgentString;
  int DownloadState = 0;
  std::array<int, 10> TransferWords{};  // scratch space of the project file reader and writer
  ExtLists QN_FILE_EXT = DefaultExtLists();
  std::vector<CQNUrlFilter> QN_URL_FILTER;
  std::string DownloadDir;
  std::string QN_DEFFNAME = "default.htm";
  int QN_REPORT = 0;
  int QN_RENAMEHTML = 1;
  int QN_PAGEBREAK = 1;
  int SubmitLoginForms = 0;
  int ProcessForms = 0;
  int EncryptProjectFiles = 0;
  int EncryptDownloadedFiles = 0;
  std::string EncryptionPassword;  // held in memory only, never stored
  int QN_FASTPARSE = 1;
  // Polite crawling, connections and cookies. Each is off by default, so that a
  // project behaves as it did before they existed.
  int QN_ROBOTS = 0;       // obey each server's robots.txt, for the project's agent; 0 or 1
  int QN_DELAY_MS = 0;     // milliseconds between two requests to one server, 0 to kMaxDelayMs
  int QN_LIM_CONN = 0;     // the cap on transfers to one server at once is on
  int QN_MAX_CONN = 2;     // that cap, 1 to kMaxConnectionsPerServer
  std::string QN_COOKIES;  // a cookies.txt (Netscape format) loaded when a run starts

  // Every member back to its default. QN_PROJECT_DIR becomes `lastFilesDir` with a
  // separator, or `programDir` followed by "Download/" when `lastFilesDir` is empty.
  void ResetToDefaults(const std::string& lastFilesDir, const std::string& programDir);

  // The identification the fetcher sends as user agent; empty for an unknown kind.
  std::string GetAgentId() const;
  // Sets AgentKind, AgentVersion and (for user-defined strings) AgentString.
  void ParseAgentId(const std::string& id);

  // Field-by-field comparison deciding whether an edited record changed the project.
  bool IsEqual(const CQNSettings& other) const;
  bool operator==(const CQNSettings& other) const { return IsEqual(other); }
};

// The delay and the connection cap within their ranges, wherever they enter: a
// project file, a template, --set, the settings dialog, the start of a run.
void KeepCrawlingInRange(CQNSettings& s);

// The default QN_PROJECT_DIR for a program option LastFilesDir and a program folder.
std::string DefaultProjectDir(const std::string& lastFilesDir, const std::string& programDir);

}  // namespace qn
