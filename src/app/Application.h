#pragma once

// The application object: it lives for the whole program and owns the program
// options with their histories and recent projects, the command line, the schedule,
// and the one project the program holds. The desktop program drives its start-up steps in order
// and shows what they decide.

#include <QObject>
#include <QSettings>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppFrontEnd.h"
#include "app/BackgroundConversion.h"
#include "app/CommandLine.h"
#include "app/DialUp.h"
#include "app/EndActions.h"
#include "app/EnvironmentLookup.h"
#include "app/OptionsStore.h"
#include "app/ProjectLifecycle.h"
#include "app/ProjectSession.h"
#include "app/ScheduleTimer.h"
#include "app/Shutdown.h"
#include "app/StartCommand.h"

namespace qn {

class CQNApp {
 public:
  CQNApp(IQNObserver& observer, IQNAppFrontEnd& frontEnd, QNAppFolders folders,
         std::unique_ptr<QSettings> optionsFile);
  ~CQNApp();
  CQNApp(const CQNApp&) = delete;
  CQNApp& operator=(const CQNApp&) = delete;

  // Start-up, in this order.
  // Reads every section of the options file.
  void LoadOptions(const QNScreenMetrics& screen);
  // Writes the welcome page's files when the options show it; its path, or "".
  std::string WriteWelcomePage();
  // Installs the language the options choose into the program's texts (the
  // built-in texts when UseLngFile is off); on the first run the language an
  // installer preset in "Language.ini" is taken into the options first. The message
  // to show (55495) when the language file cannot be read.
  std::optional<std::string> LoadLanguage();
  void ParseCommandLine(const std::vector<std::string>& args);
  // The empty project the program starts with.
  void NewProject() { projects_.New(); }
  // On the first run (FirstRun is then cleared): a copy of the options for the
  // first-run sheet, prefilled with the system's proxy. Nothing on later runs.
  std::optional<QNProgramOptions> FirstRunOptions(const QNEnvironmentLookup& getenv);
  // Start-up is complete: from now on the options are saved at exit.
  void MarkStarted() { started_ = true; }
  // Opens the project of the command line, or with AutoLoad the most recent one
  // (which leaves the list when it fails to open), and says what follows.
  QNStartCommand FirstOpen();
  // Carries out what the first open decided: starts the download or the
  // conversion, or ends a program that was to end by itself.
  void RunStartCommand(QNStartCommand command);

  // At exit: the options are written, if start-up completed. False when the file
  // could not be written.
  bool SaveOptions();

  QNOptionSections& Options() { return options_; }
  const QNTexts& Texts() const { return texts_; }
  const QNCommandLine& CommandLine() const { return commandLine_; }
  const QNAppFolders& Folders() const { return folders_; }
  QNProjectSession& Session() { return session_; }
  QNProjectLifecycle& Projects() { return projects_; }

  // Takes over options the user confirmed: the periodic save restarts when its
  // option or period changed, and the language is loaded anew when it changed (the
  // message to show when it cannot be read).
  std::optional<std::string> ApplyOptions(const QNProgramOptions& edited);

  // What a download run reads of the options and the command line, with its hooks;
  // for a run the scheduler starts, what its entry asks. Set on the document before
  // each run starts.
  QNRunEnvironment RunEnvironment(const std::optional<QNScheduledRun>& scheduled = {});
  // What follows a run or a conversion, for the command line and the options as they
  // stand.
  QNEndPolicy EndPolicy() const;
  // Starts a download of the open project (a paused one resumes); false when none
  // started.
  bool StartDownload();
  // "Convert Links" on a thread of its own; `done` runs on the GUI thread when it
  // is over. False while a conversion is still going.
  bool ConvertLinks(std::function<void(const QNConversionResult&)> done);
  const QNBackgroundConversion& Conversion() const { return conversion_; }
  void StopConversion() { conversion_.StopAndWait(); }
  // The conversion's "Stop": it ends between two files and `done` follows as usual.
  void AskConversionToStop() { conversion_.Stop(); }

  // Runs `work` on the thread the application object was made on (the GUI thread),
  // later; dropped when the application object is gone by then.
  void Post(std::function<void()> work);

  // The scheduler (ApplicationSchedule.cpp). Its entries are read and written with
  // the options; its timer runs from ActivateSchedule on, once the main window is up.
  const std::vector<QNScheduleEntry>& Schedule() const { return schedule_.Entries(); }
  void ActivateSchedule() { schedule_.Activate(); }
  // The Schedule dialog's OK: the edited entries replace the schedule.
  void SetSchedule(std::vector<QNScheduleEntry> entries);
  // The tree-ready moment of the open project (IQNObserver::OnTreeReady), on the GUI
  // thread: a download that the scheduler asked for starts now.
  void ContentsReady() { schedule_.ContentsReady(); }
  // One tick of the schedule's timer (the timer calls it once a second).
  void ScheduleTick() { schedule_.Tick(); }
  // What powers the computer off after a download; tests give a stand-in.
  void SetPowerOffCommand(std::vector<std::string> command) { powerOff_ = std::move(command); }

 private:
  QNScheduleSteps ScheduleSteps();
  // Stops a download or a conversion before a scheduled entry opens its project.
  void StopForSchedule();
  // Opens a scheduled project; the open project is saved without a question.
  bool OpenScheduledProject(const std::string& path);
  bool StartScheduledDownload(const QNScheduledRun& run);
  // The scheduled run of `entryId` has ended: its project is saved without a
  // question and the scheduler told.
  void HandBack(std::uint64_t entryId);
  // Carries out, on the GUI thread, the exit or shutdown that follows a run or a
  // conversion; `status` is the exit status.
  void EndProgram(QNEndAction action, int status);

  IQNAppFrontEnd& frontEnd_;
  QNAppFolders folders_;
  std::unique_ptr<QSettings> optionsFile_;
  QNOptionSections options_;
  QNCommandLine commandLine_;
  bool started_ = false;
  QNTexts texts_;
  CQNDialUp dialUp_;
  QObject postContext_;
  QNProjectSession session_;
  QNProjectLifecycle projects_;
  // Declared after the session it works on, so it ends first.
  QNBackgroundConversion conversion_;
  std::vector<std::string> powerOff_ = kPowerOffCommand;
  CQNScheduleTimer schedule_;
};

}  // namespace qn
