#pragma once

// One worker thread of a download run: it takes addresses from the link table, has
// them fetched, records the outcome in their nodes, scans what can hold links and
// checks the run's limits. Worker 0, the primary, also fetches the start page, keeps
// the set of workers complete and decides when the start address is finished.

#include <string>

#include "engine/Run.h"
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
  enum class Step { Go, End };

  void PrepareStartPage();
  void ExpandStartPattern();
  Step HandleAddress();
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
  bool Sleep(int milliseconds);
  std::string ParentUrl(const CQNDocNode* node);
  int ThreadCount() const;

  QNRun& run_;
  CQNDoc& doc_;
  QNRunPass& pass_;
  const int index_;
  const bool primary_;
  std::string start_;
  CQNFetcher fetcher_;
  bool opened_ = false;

  std::string address_;         // U
  std::string localPath_;       // P
  CQNDocNode* node_ = nullptr;  // N
  bool first_ = false;          // F: the primary's first fetch is still to be handled
};

}  // namespace qn
