#pragma once

// The scheduler: the schedule entries, which of them started the download that is
// going now, and the steps that start an entry. Everything runs on the thread that
// drives the timer; the timer itself belongs to the front end, which ticks once a
// second while Activate says so.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/ScheduleEntry.h"

namespace qn {

constexpr int kScheduleTimerId = 1100;
constexpr int kScheduleTimerMs = 1000;

// What starting an entry asks of the program around the scheduler.
class IQNScheduleHost {
 public:
  virtual ~IQNScheduleHost() = default;
  // Stops a download that runs in the open project, waits for its end and saves
  // that project.
  virtual void StopDownload() = 0;
  // Opens the project file; the project that was open is saved without a question.
  // False when the file could not be opened.
  virtual bool OpenProject(const std::string& path) = 0;
};

// A download the scheduler started: the entry it belongs to and that entry's flags
// as they were when it started.
struct QNScheduledRun {
  std::uint64_t entryId = 0;
  bool hangUpAfter = false;
  bool shutDownAfter = false;
};

class CQNScheduler {
 public:
  explicit CQNScheduler(std::vector<QNScheduleEntry> entries = {});

  const std::vector<QNScheduleEntry>& Entries() const { return entries_; }
  // Replaces the list (the Schedule dialog's OK): entries taken from Entries() keep
  // their identity and their state, run count and last start as they are now; new
  // ones get an identity.
  void SetEntries(std::vector<QNScheduleEntry> entries);

  // The timer is started or the list was edited: true when the timer should run.
  bool Activate(std::time_t now);
  // One timer tick. When an entry is due, a download still running is stopped first,
  // then the entry becomes the current one and its project is opened. True when a
  // project was opened and waits for its download to start.
  bool Tick(std::time_t now, IQNScheduleHost& host);

  // The opened project is ready: the run to start, once (the request is cleared).
  std::optional<QNScheduledRun> TakeStartRequest();
  // The download the scheduler started is going or about to start.
  const std::optional<QNScheduledRun>& CurrentRun() const { return current_; }
  // The run of entry `entryId` ended, or could not start or not even open its
  // project: the entry is finished and counts one more run. The end of a run that a
  // later entry stopped is ignored, since that entry has been marked already.
  void Finished(std::uint64_t entryId);

 private:
  QNScheduleEntry* Find(std::uint64_t entryId);

  std::vector<QNScheduleEntry> entries_;
  std::uint64_t nextId_ = 1;
  std::optional<QNScheduledRun> current_;
  bool startRequested_ = false;
};

}  // namespace qn
