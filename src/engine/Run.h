#pragma once

// The state one download run shares among its controller and workers. Every thread
// of the run holds the run by a shared pointer, so the run outlives a forced stop
// that gives up on its threads; the document is reached only through the gate
// (RunGate.h), which such a stop closes.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/RunGate.h"
#include "engine/RunHooks.h"
#include "engine/RunState.h"
#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "seams/RunControl.h"
#include "settings/ProjectSettings.h"
#include "storage/LocalNaming.h"
#include "web/CrawlShared.h"
#include "web/FetchContext.h"
#include "web/InternetOptions.h"

namespace qn {

class CQNDoc;

class QNRun : public IQNRunControl, public std::enable_shared_from_this<QNRun> {
 public:
  QNRun(CQNDoc& doc, int downloadKind, bool preview, QNRunEnvironment environment, QNTexts texts);
  QNRun(const QNRun&) = delete;
  QNRun& operator=(const QNRun&) = delete;

  // Touched only while holding a pass.
  CQNDoc& doc;
  mutable QNRunGate gate;
  // Set once the forced stop gave up on this run's threads: every transfer stops.
  std::atomic<bool> abandoned{false};

  const int downloadKind;
  const bool preview;
  // The program's environment as the run started; changes made meanwhile wait for
  // the next run.
  const QNRunEnvironment env;
  const QNTexts texts;
  // The settings as the run started, fixed by the controller before any worker
  // starts; the local naming of the run is made from them. Each worker keeps its own
  // copy, which follows changes made during the run.
  CQNSettings settings;
  // Local naming for the start address being worked on; set between start addresses.
  std::shared_ptr<const QNNamingContext> naming;
  // QN_THREADS, which may change while the run goes on.
  std::atomic<int> threads{1};
  // What the run's fetchers share (cookie jar, pace per server, robots.txt rules),
  // made with the settings by StartCrawl before any worker starts.
  std::shared_ptr<QNCrawlShared> crawl;
  // Makes `crawl` and loads the project's cookies file into its jar, saying in the
  // log how that went; the caller holds a pass.
  void StartCrawl();

  // Worker slots. A slot is held from the moment its worker is due until the worker
  // leaves it; idle is set while the worker finds nothing to do.
  struct Slot {
    std::atomic<bool> held{false};
    std::atomic<bool> idle{false};
    std::atomic<bool> abortFile{false};
    std::thread thread;  // guarded by slotsMutex
  };
  std::array<Slot, kMaxWorkers> slots;
  void ReserveSlots(int count);
  // Starts worker `index` in its slot; false when the thread cannot be created.
  bool LaunchWorker(int index, bool primary, std::string startAddress);
  // Waits until the worker in slot `index` has ended.
  void JoinWorker(int index);
  void LeaveSlot(int index);

  // Where code outside the gate writes log lines and status rows: nothing goes
  // through once the gate has closed.
  IQNLogSink& Log() { return gatedLog_; }
  IQNObserver& Observer() { return gatedObserver_; }
  // " Internal Error (Code %d)" in the log; the caller holds a pass.
  void LogInternalError(int code);

  // Idle and paused workers doze between their polls; a change they wait for (the
  // work flag cleared, Stop, resume) wakes them at once. A worker takes a mark
  // before it looks at what it waits for, and a doze ends at once when a wake came
  // after the mark, so that no wake is lost between the look and the doze.
  struct WakeMark {
    unsigned all = 0;
    unsigned primary = 0;
    unsigned offers = 0;
  };
  WakeMark Mark();
  void Doze(std::chrono::milliseconds limit, const WakeMark& since);
  void Wake();
  // New addresses in the queue wake as many dozing workers as there are addresses
  // (not all of them: the others would only find the queue empty again).
  void OfferWork(int addresses);
  int DozingWorkers();
  // The primary dozes apart from the others, and a worker that finds nothing wakes
  // it, so that the end of a start address is seen at once.
  void DozePrimary(std::chrono::milliseconds limit, const WakeMark& since);
  void WakePrimary();
  // The controller starts the other workers once the primary has reserved the start
  // page and the queue holds work, or has handled its first address, or has ended;
  // at the latest after `limit`.
  void AwaitHeadStart(std::chrono::milliseconds limit);
  void EndHeadStart();
  void BeginHeadStart();

  // The controller's end, which the document and the front ends wait for.
  std::thread controller;
  std::thread::id controllerId;
  void MarkDone();
  bool IsDone();
  bool WaitDone(std::chrono::milliseconds timeout);
  // How the run ended; the first end recorded stays.
  void RecordEnd(const QNRunEnd& end);
  std::optional<QNRunEnd> End();

  // IQNRunControl, for the fetchers of this run. A run past its time limit counts
  // as stopped, so that a long transfer ends when the time is up, not after it.
  bool StopRequested() const override;
  void RequestStop() override;
  bool TakeAbortFile(int worker) override;
  int SpeedLevel() const override;
  int DownloadKind() const override { return downloadKind; }
  bool IsPreview() const override { return preview; }
  std::uint64_t ByteTotal() const override;

 private:
  class GatedLog : public IQNLogSink {
   public:
    explicit GatedLog(QNRun& run) : run_(run) {}
    void WriteLine(LogKind kind, const std::string& text) override;

   private:
    QNRun& run_;
  };
  // The fetchers and scanners report only status rows.
  class GatedObserver : public IQNObserver {
   public:
    explicit GatedObserver(QNRun& run) : run_(run) {}
    void OnStatus(const QNStatus& status) override;

   private:
    QNRun& run_;
  };

  GatedLog gatedLog_{*this};
  GatedObserver gatedObserver_{*this};
  std::mutex slotsMutex_;
  std::mutex wakeMutex_;
  std::condition_variable wakeSignal_;
  std::condition_variable primarySignal_;
  unsigned wakeups_ = 0;
  unsigned primaryWakeups_ = 0;
  unsigned offers_ = 0;
  int dozing_ = 0;   // workers in Doze
  int offered_ = 0;  // addresses offered that no dozing worker has taken up yet
  std::atomic<bool> headStartOver_{false};
  std::mutex doneMutex_;
  std::condition_variable doneSignal_;
  bool done_ = false;
  std::optional<QNRunEnd> end_;
};

// The thread routines. Each catches whatever escapes its work.
void RunController(std::shared_ptr<QNRun> run, std::vector<std::string> addresses);
void RunWorker(std::shared_ptr<QNRun> run, int index, bool primary, std::string startAddress);

}  // namespace qn
