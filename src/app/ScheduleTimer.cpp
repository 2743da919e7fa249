#include "app/ScheduleTimer.h"

namespace qn {

CQNScheduleTimer::CQNScheduleTimer(QNScheduleSteps steps, Clock clock)
    : steps_(std::move(steps)), clock_(std::move(clock)) {
  timer_.setInterval(kScheduleTimerMs);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void CQNScheduleTimer::Activate() {
  if (!scheduler_.Activate(clock_()))
    timer_.stop();
  else if (!timer_.isActive())
    timer_.start();
}

void CQNScheduleTimer::Tick() {
  if (ticking_ || (steps_.busy && steps_.busy())) return;
  ticking_ = true;
  scheduler_.Tick(clock_(), *this);
  ticking_ = false;
}

void CQNScheduleTimer::ContentsReady() {
  const std::optional<QNScheduledRun> run = scheduler_.TakeStartRequest();
  if (run && !steps_.startDownload(*run)) scheduler_.Finished(run->entryId);
}

void CQNScheduleTimer::StopDownload() {
  steps_.stopDownload();
}

bool CQNScheduleTimer::OpenProject(const std::string& path) {
  return steps_.openProject(path);
}

}  // namespace qn
