#include "app/Scheduler.h"

#include "app/ScheduleTick.h"

namespace qn {

CQNScheduler::CQNScheduler(std::vector<QNScheduleEntry> entries) {
  SetEntries(std::move(entries));
}

void CQNScheduler::SetEntries(std::vector<QNScheduleEntry> entries) {
  if (entries.size() > kMaxScheduleEntries) entries.resize(kMaxScheduleEntries);
  for (QNScheduleEntry& entry : entries) {
    if (entry.id == 0) entry.id = nextId_;
    nextId_ = std::max(nextId_, entry.id + 1);
    // An edited copy may be older than the list: what happened to an entry since
    // (a start, a finished run) stays.
    if (const QNScheduleEntry* live = Find(entry.id)) {
      entry.state = live->state;
      entry.runCount = live->runCount;
      entry.lastStart = live->lastStart;
    }
  }
  entries_ = std::move(entries);
}

bool CQNScheduler::Activate(std::time_t now) {
  if (!ScheduleActive(entries_)) return false;
  StartSchedule(entries_, now);
  return true;
}

bool CQNScheduler::Tick(std::time_t now, IQNScheduleHost& host) {
  const auto due = ScheduleTick(entries_, now);
  if (!due) return false;
  const std::uint64_t id = entries_[*due].id;
  // The running download ends before the new entry becomes current, so that its end
  // can never be taken for the new entry's.
  host.StopDownload();
  if (current_) {
    if (QNScheduleEntry* previous = Find(current_->entryId);
        previous && previous->state == kEntryRunning)
      previous->state = kEntryFinished;
    current_.reset();
  }
  // Stopping may have run the program's event loop, which can change the list.
  QNScheduleEntry* entry = Find(id);
  if (!entry) return false;
  entry->state = kEntryRunning;
  current_ = QNScheduledRun{id, entry->hangUpAfter, entry->shutDownAfter};
  startRequested_ = true;
  const std::string project = entry->projectFile;
  if (host.OpenProject(project)) return true;
  Finished(id);
  return false;
}

std::optional<QNScheduledRun> CQNScheduler::TakeStartRequest() {
  if (!startRequested_ || !current_) return std::nullopt;
  startRequested_ = false;
  return current_;
}

void CQNScheduler::Finished(std::uint64_t entryId) {
  if (!current_ || current_->entryId != entryId) return;
  current_.reset();
  startRequested_ = false;
  if (QNScheduleEntry* entry = Find(entryId)) {
    entry->state = kEntryFinished;
    ++entry->runCount;
  }
}

QNScheduleEntry* CQNScheduler::Find(std::uint64_t entryId) {
  for (QNScheduleEntry& entry : entries_)
    if (entry.id == entryId) return &entry;
  return nullptr;
}

}  // namespace qn
