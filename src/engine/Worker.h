#pragma once

// One worker thread of a download run: it takes addresses from the link table, has
// them fetched, records the outcome in their nodes, scans what can hold links and
// checks the run's limits. Worker 0, the primary, also fetches the start page, keeps
// the set of workers complete and decides when the start address is finished.

#include <optional>
#include <string>

#include "engine/Filters.h"
#include "engine/Run.h"
#include "storage/TempFile.h"
#include "web/Fetcher.h"

namespace qn {

class CQNDoc;
class CQNDocNode;

class QNWorker {
 public:
  QNWorker(QNRun& run, QNRunPass& pass, int index, bool primary, std::string startAddress);

  // The worker's life until it leaves its loop. The caller holds the pass and gives
  // the slot back afterwards.
  void Run();
  // After an exception escaped Run: logged with its code, the row cleared, and the
  // other workers told that the primary is gone.
  void AfterException(int code);
  void CloseInternet();

 private:
  // Unfinished: a scan broken off by Stop or a limit.
  enum class Step { Go, End, Unfinished };

  // What a redirection of the current fetch is judged by, copied before the fetch.
  struct RedirectScope {
    QNFilterScope filters;
    std::string startDirectory;
  };

  bool RedirectAllowed(const std::string& target) const;

  void PrepareStartPage();
  void ExpandStartPattern();
  Step HandleAddress();
  // The settings again when they were changed during the run, so that a changed
  // limit holds from the next address on.
  void RefreshSettings();
  QNFetchContext FetchContext();
  // Where the fetch of P writes; false when a preview cannot make its copy.
  bool ChooseFetchPath();
  Step Succeeded(const QNFetchResult& r);
  Step Failed(const QNFetchResult& r);
  Step Scan();
  bool TakeNext();
  bool OthersBusy() const;
  void ReplaceWorkers();
  void ReportRow(const QNFetchResult& r, bool error);
  void CountsStatus();
  void StatusText(int id);
  void ClearRow();
  // Dozes outside the gate; false when the gate closed meanwhile.
  bool Sleep(int milliseconds, const QNRun::WakeMark& since);
  std::string ParentUrl(const CQNDocNode* node);
  int ThreadCount() const;

  QNRun& run_;
  CQNDoc& doc_;
  QNRunPass& pass_;
  const int index_;
  const bool primary_;
  std::string start_;
  // The worker's copy of the settings, which its fetcher and scans read outside the
  // gate; only this thread replaces it, between two addresses.
  unsigned settingsSeen_;
  CQNSettings settings_;
  CQNFetcher fetcher_;
  bool opened_ = false;

  std::string address_;    // U
  std::string localPath_;  // P
  // What the fetch wrote: P itself, or a preview's temporary copy of the page.
  std::string fetched_;
  std::optional<QNTempFile> previewCopy_;
  bool fileInPlace_ = false;        // after a preview's fetch: a file is at P
  CQNDocNode* node_ = nullptr;      // N
  bool first_ = false;              // F: the primary's first fetch is still to be handled
  std::uint64_t recordedSize_ = 0;  // N's size from before the fetch
  int fetchedType_ = 0;             // N's type and level, for its redirections
  int fetchedLevel_ = 0;
  RedirectScope redirectScope_;
};

}  // namespace qn
