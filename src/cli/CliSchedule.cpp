#include "cli/CliSchedule.h"

#include <unistd.h>

#include <QSettings>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/ProgramFolders.h"
#include "app/ProjectSession.h"
#include "app/ScheduleStore.h"
#include "app/ScheduleText.h"
#include "app/ScheduleTick.h"
#include "app/Scheduler.h"
#include "cli/CliActions.h"
#include "cli/CliProgramOptions.h"
#include "cli/CliProject.h"
#include "cli/RunWatch.h"
#include "text/MessageIds.h"

namespace qn {
namespace {

std::vector<QNScheduleEntry> StoredSchedule() {
  QSettings settings("Lumbrook", "Quillorne");
  return LoadSchedule(settings);
}

std::string MomentText(const QNTexts& texts, std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(text) + " " + texts.Text(kMsgSunday + local.tm_wday);
}

std::string NextText(const QNTexts& texts, const std::vector<QNScheduleEntry>& entries,
                     std::size_t i, std::time_t now) {
  const QNScheduleEntry& entry = entries[i];
  if (entry.projectFile.empty()) return "never (no project)";
  if (entry.kind == kScheduleFollowing)
    return i == 0 ? "never (first entry)" : "after each run of entry " + std::to_string(i);
  const auto next = NextDue(entry, now);
  return next ? MomentText(texts, *next) : "never";
}

// The first moment at which some entry is due, for the waiting line.
std::string NextOfAll(const QNTexts& texts, const std::vector<QNScheduleEntry>& entries,
                      std::time_t now) {
  std::optional<std::time_t> first;
  const QNScheduleEntry* which = nullptr;
  for (const QNScheduleEntry& entry : entries) {
    if (entry.projectFile.empty() || !entry.Active()) continue;
    const auto next = NextDue(entry, now);
    if (next && (!first || *next < *first)) {
      first = next;
      which = &entry;
    }
  }
  if (!which) return "no entry is due at a known time";
  return "next: '" + which->projectFile + "' at " + MomentText(texts, *first);
}

class QNCliSchedule : public IQNScheduleHost {
 public:
  QNCliSchedule(const QNCliOptions& options, QNCliOutput& output, QNTexts texts)
      : options_(options), texts_(std::move(texts)), output_(output), actions_(output, signals_) {}

  int Run();
  bool ThreadsLeftBehind() const { return !leftBehind_.empty(); }

  void StopDownload() override;
  bool OpenProject(const std::string& path) override;

 private:
  bool RunGoing() const { return session_ && running_; }
  void StartRequested();
  // The running download has ended: saved, its end action, its entry finished.
  // True when the computer is being powered off.
  bool RunEnded();
  void CloseProject();
  void Say(const std::string& line);

  const QNCliOptions& options_;
  const QNTexts texts_;
  QNCliOutput& output_;
  QNSignalWatch signals_;
  // Before the sessions: their runs' hooks call it until their documents are gone.
  QNCliActions actions_;
  CQNScheduler scheduler_;
  std::unique_ptr<QNProjectSession> session_;
  // Projects whose threads a forced stop gave up on: their documents must stay.
  std::vector<std::unique_ptr<QNProjectSession>> leftBehind_;
  std::optional<QNScheduledRun> running_;
  std::unique_ptr<QNRunWatch> watch_;
};

void QNCliSchedule::Say(const std::string& line) {
  output_.OnLogText(line);
}

void QNCliSchedule::StopDownload() {
  if (!RunGoing()) return;
  Say("Stopping the download of '" + session_->Path() + "' for the next scheduled entry");
  session_->doc.ForcedStop();
  output_.Finish();
  running_.reset();
  CloseProject();
}

bool QNCliSchedule::OpenProject(const std::string& path) {
  CloseProject();
  Say("Scheduled download of '" + path + "'");
  session_ = std::make_unique<QNProjectSession>(output_, texts_);
  // A file that cannot be opened has been reported with its path already.
  return session_->Open(path, ProgramFolder(), true);
}

void QNCliSchedule::CloseProject() {
  if (!session_) return;
  SaveCliProject(*session_, output_);
  EncryptCliProject(*session_, output_);
  if (session_->doc.LeftBehindThreadsRunning()) leftBehind_.push_back(std::move(session_));
  session_.reset();
}

void QNCliSchedule::StartRequested() {
  const auto run = scheduler_.TakeStartRequest();
  if (!run || !session_) return;
  QNRunEnvironment env;
  env.unattended = true;
  env.programDir = ProgramFolder();
  session_->InstallRunHooks(env);
  QNEndPolicy policy;
  policy.scheduled = true;
  policy.entryHangsUp = run->hangUpAfter;
  policy.entryShutsDown = run->shutDownAfter;
  actions_.Install(env, session_->doc, policy);
  session_->doc.SetRunEnvironment(std::move(env));
  if (!session_->doc.StartDownload()) {
    output_.Error("the download of '" + session_->Path() + "' could not be started");
    scheduler_.Finished(run->entryId);
    return;
  }
  running_ = run;
  watch_ = std::make_unique<QNRunWatch>(output_, signals_, options_.autosaveSeconds);
}

bool QNCliSchedule::RunEnded() {
  output_.Finish();
  const QNScheduledRun run = *running_;
  running_.reset();
  CQNDoc& doc = session_->doc;
  // The run has said why (a download folder that cannot be made or written).
  if (!doc.LastRunStarted())
    output_.Error("the download of '" + session_->Path() + "' could not start");
  SaveCliProject(*session_, output_);
  const bool poweringOff =
      actions_.CarryOutEndAction(doc, [this] { SaveCliProject(*session_, output_); });
  scheduler_.Finished(run.entryId);
  return poweringOff;
}

int QNCliSchedule::Run() {
  scheduler_.SetEntries(StoredSchedule());
  std::time_t lastTick = std::time(nullptr);
  if (!scheduler_.Activate(lastTick)) {
    output_.Error("the schedule has no active entry (see quillorne-cli --schedule-list)");
    return 2;
  }
  Say("Running the schedule of " + std::to_string(scheduler_.Entries().size()) +
      " entries; Ctrl+C ends it. " + NextOfAll(texts_, scheduler_.Entries(), lastTick));
  for (;;) {
    if (RunGoing()) {
      if (!watch_->Step(session_->doc, [this] { SaveCliProject(*session_, output_); })) {
        const bool stopped = watch_->Stopping();
        if (RunEnded() || stopped) break;
        Say(NextOfAll(texts_, scheduler_.Entries(), std::time(nullptr)));
      }
    } else if (signals_.Wait(100) > 0) {
      break;
    }
    const std::time_t now = std::time(nullptr);
    if (now == lastTick) continue;
    lastTick = now;
    scheduler_.Tick(now, *this);
    // The opened project's download starts at its tree-ready moment.
    if (!RunGoing() && session_ && session_->doc.TreeReady()) StartRequested();
  }
  CloseProject();
  return 0;
}

}  // namespace

int RunCliSchedule(const QNCliOptions& options) {
  QNTexts texts;
  const std::optional<std::string> languageFailed = LoadCliLanguage(texts);
  QNCliOutput output(stdout, stderr, isatty(fileno(stdout)) != 0, texts);
  if (languageFailed) output.Error(*languageFailed);
  QNCliSchedule schedule(options, output, texts);
  const int status = schedule.Run();
  return LeaveWith(status, schedule.ThreadsLeftBehind());
}

int ListCliSchedule() {
  std::vector<QNScheduleEntry> entries = StoredSchedule();
  if (entries.empty()) {
    std::puts("The schedule has no entries.");
    return 0;
  }
  QNTexts texts;
  if (const auto failed = LoadCliLanguage(texts))
    std::fprintf(stderr, "quillorne-cli: %s\n", failed->c_str());
  // As a schedule started now would count its intervals.
  const std::time_t now = std::time(nullptr);
  StartSchedule(entries, now);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const QNScheduleEntry& entry = entries[i];
    std::string line = (i < 9 ? " " : "") + std::to_string(i + 1) + "  " +
                       ScheduleWhenText(texts, entry) +
                       "  next: " + NextText(texts, entries, i, now) + "  " + entry.projectFile;
    if (entry.hangUpAfter) line += "  [Auto Disconnect]";
    if (entry.shutDownAfter) line += "  [Auto Shutdown]";
    std::puts(line.c_str());
  }
  return 0;
}

}  // namespace qn
