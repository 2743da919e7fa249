#pragma once

// A local clock for scheduler tests: a fixed zone with daylight saving, and a
// driver that ticks a scheduler once a second and plays the downloads it starts.

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Scheduler.h"

namespace qn::test {

// Central European time: summer time from the last Sunday of March, 02:00 → 03:00,
// to the last Sunday of October, 03:00 → 02:00.
constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

class LocalZone {
 public:
  explicit LocalZone(const char* zone = kCentralEurope) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~LocalZone() {
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  LocalZone(const LocalZone&) = delete;
  LocalZone& operator=(const LocalZone&) = delete;

 private:
  std::optional<std::string> old_;
};

// A local time that the clock shows exactly once.
inline std::time_t Local(int year, int month, int day, int hour, int minute, int second = 0) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

inline QNScheduleEntry Entry(const std::string& project, int kind, int hour, int minute,
                             int second = 0) {
  QNScheduleEntry entry;
  entry.projectFile = project;
  entry.kind = kind;
  entry.hour = hour;
  entry.minute = minute;
  entry.second = second;
  return entry;
}

// Ticks the scheduler once a second. Each download it starts lasts `runSeconds` and
// then reports its end; a new start stops the download that is going.
class ScheduleDriver : public IQNScheduleHost {
 public:
  explicit ScheduleDriver(CQNScheduler& scheduler) : scheduler_(scheduler) {}

  int runSeconds = 0;
  std::vector<std::string> failingProjects;
  std::vector<std::pair<std::time_t, std::string>> starts;  // downloads started
  std::vector<std::string> events;                          // "stop", "open NAME"

  void Run(std::time_t from, std::time_t to) {
    for (std::time_t now = from; now <= to; ++now) Step(now);
  }
  void Step(std::time_t now) {
    if (running_ && now >= running_->second) {
      scheduler_.Finished(running_->first);
      running_.reset();
    }
    if (!scheduler_.Tick(now, *this)) return;
    const auto run = scheduler_.TakeStartRequest();
    if (!run) return;
    starts.emplace_back(now, opened_);
    running_ = {run->entryId, now + runSeconds};
  }
  int StartsOf(const std::string& project) const {
    int n = 0;
    for (const auto& start : starts) n += start.second == project;
    return n;
  }

  void StopDownload() override {
    events.push_back("stop");
    running_.reset();
  }
  bool OpenProject(const std::string& path) override {
    events.push_back("open " + path);
    opened_ = path;
    for (const std::string& failing : failingProjects)
      if (failing == path) return false;
    return true;
  }

 private:
  CQNScheduler& scheduler_;
  std::string opened_;
  std::optional<std::pair<std::uint64_t, std::time_t>> running_;
};

}  // namespace qn::test
