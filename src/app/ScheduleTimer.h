#pragma once

// The scheduler as a program with an event loop drives it: the one-second timer,
// which runs while an entry is active, and the steps that start an entry, which the
// program carries out. Lives on the thread of the event loop (the GUI thread).

#include <QTimer>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Scheduler.h"

namespace qn {

// The program's side of starting an entry.
struct QNScheduleSteps {
  // Stops a download that runs in the open project, waits for its end and saves it.
  std::function<void()> stopDownload;
  // Opens the project file, saving the open project without a question. False when
  // it could not be opened.
  std::function<bool(const std::string& path)> openProject;
  // Starts the download of the opened project for `run`; false when none started.
  std::function<bool(const QNScheduledRun& run)> startDownload;
  // The program cannot start an entry now (a forced stop still waits); the tick
  // that finds it so is skipped and the next one tries again. None: never.
  std::function<bool()> busy;
};

class CQNScheduleTimer : private IQNScheduleHost {
 public:
  using Clock = std::function<std::time_t()>;

  explicit CQNScheduleTimer(
      QNScheduleSteps steps, Clock clock = [] { return std::time(nullptr); });

  const std::vector<QNScheduleEntry>& Entries() const { return scheduler_.Entries(); }
  // Replaces the entries: those read at start, or the Schedule dialog's edited copy.
  void SetEntries(std::vector<QNScheduleEntry> entries) {
    scheduler_.SetEntries(std::move(entries));
  }
  // Starts the timer when an entry is active, and stops it otherwise.
  void Activate();
  bool Running() const { return timer_.isActive(); }

  // One timer tick: when an entry is due, the running download stops and the
  // entry's project opens.
  void Tick();
  // The opened project's contents are ready to be shown: the download the scheduler
  // asked for starts now. An entry whose download does not start is finished.
  void ContentsReady();
  // The download the scheduler started, while it goes on.
  const std::optional<QNScheduledRun>& CurrentRun() const { return scheduler_.CurrentRun(); }
  // The scheduled run of entry `entryId` has ended and its project is saved.
  void Finished(std::uint64_t entryId) { scheduler_.Finished(entryId); }

 private:
  void StopDownload() override;
  bool OpenProject(const std::string& path) override;

  QNScheduleSteps steps_;
  Clock clock_;
  CQNScheduler scheduler_;
  QTimer timer_;
  // Stopping a download runs the event loop while it waits, in which the timer may
  // tick again.
  bool ticking_ = false;
};

}  // namespace qn
