#include "app/Application.h"

#include <QMetaObject>

#include "app/ConnectionHooks.h"
#include "app/LanguageIni.h"
#include "app/LanguageTable.h"
#include "app/ProgramFolders.h"
#include "app/RunOptions.h"
#include "app/ScheduleStore.h"
#include "app/SystemProxy.h"
#include "app/WelcomePage.h"
#include "engine/RunState.h"
#include "text/MessageIds.h"

namespace qn {
namespace {

// Exit statuses of a program that ends by itself ("-E", "-SHUT").
constexpr int kExitCompleted = 0;
constexpr int kExitInterrupted = 1;
constexpr int kExitFailed = 2;

}  // namespace

CQNApp::CQNApp(IQNObserver& observer, IQNAppFrontEnd& frontEnd, QNAppFolders folders,
               std::unique_ptr<QSettings> optionsFile)
    : frontEnd_(frontEnd),
      folders_(std::move(folders)),
      optionsFile_(std::move(optionsFile)),
      session_(observer, texts_),
      projects_(session_, options_, folders_, frontEnd),
      schedule_(ScheduleSteps()) {}

CQNApp::~CQNApp() = default;

void CQNApp::LoadOptions(const QNScreenMetrics& screen) {
  options_ = qn::LoadOptions(*optionsFile_, screen,
                             [this](QSettings& file) { schedule_.SetEntries(LoadSchedule(file)); });
}

std::string CQNApp::WriteWelcomePage() {
  const QNProgramOptions& o = options_.options;
  if (!o.ShowWelcome) return {};
  // A language file that could not be read leaves the program, and its page, in English.
  const bool translated = o.UseLngFile && texts_.Installed();
  return qn::WriteWelcomePage(FindDataFile("welcome"), folders_.writable,
                              translated ? o.LngFile : std::string());
}

std::optional<std::string> CQNApp::LoadLanguage() {
  QNProgramOptions& o = options_.options;
  if (o.FirstRun) {
    const std::string ini = FindDataFile("Language.ini");
    if (const auto name = ini.empty() ? std::nullopt : ReadLanguageIni(ini)) {
      o.UseLngFile = true;
      o.LngFile = *name;
    }
  }
  return LoadLanguageTable(texts_, o.UseLngFile, o.LngFile, DataFolders());
}

void CQNApp::ParseCommandLine(const std::vector<std::string>& args) {
  commandLine_ = qn::ParseCommandLine(args, folders_.program, folders_.current);
}

std::optional<QNProgramOptions> CQNApp::FirstRunOptions(const QNEnvironmentLookup& getenv) {
  if (!options_.options.FirstRun) return std::nullopt;
  options_.options.FirstRun = false;
  QNProgramOptions sheet = options_.options;
  ApplyProxyServer(sheet, ProxyServerFromEnvironment(getenv));
  return sheet;
}

QNStartCommand CQNApp::FirstOpen() {
  if (!commandLine_.projectFile.empty()) {
    const bool opened = projects_.Open(commandLine_.projectFile, commandLine_.download);
    return CommandAfterFirstOpen(commandLine_, opened);
  }
  const std::string recent = options_.recentFiles.First();
  if (options_.options.AutoLoad && !recent.empty() && !projects_.Open(recent, false))
    options_.recentFiles.Remove(recent);
  return QNStartCommand::kNone;
}

bool CQNApp::SaveOptions() {
  if (!started_) return true;
  qn::SaveOptions(*optionsFile_, options_,
                  [this](QSettings& file) { SaveSchedule(file, schedule_.Entries()); });
  return SyncOptionsFile(*optionsFile_);
}

std::optional<std::string> CQNApp::ApplyOptions(const QNProgramOptions& edited) {
  const QNProgramOptions before = options_.options;
  options_.options = edited;
  if (before.AutoSaveTime != edited.AutoSaveTime || before.AutoSaveValue != edited.AutoSaveValue)
    projects_.RestartPeriodicSave();
  if (before.UseLngFile != edited.UseLngFile ||
      QString::fromStdString(before.LngFile)
              .compare(QString::fromStdString(edited.LngFile), Qt::CaseInsensitive) != 0)
    return LoadLanguage();
  return std::nullopt;
}

QNEndPolicy CQNApp::EndPolicy() const {
  const QNCommandLine& cmd = commandLine_;
  const bool project = !cmd.projectFile.empty();
  QNEndPolicy policy;
  policy.commandLineDownload = project && cmd.download;
  policy.commandLineConvert = project && cmd.convert;
  policy.exitAfter = cmd.exitAfter;
  policy.shutdownAfter = cmd.shutdown;
  policy.disconnectAfter = cmd.disconnect;
  policy.autoDisconnect = options_.options.AutoDisconn;
  policy.autoShutdown = options_.options.AutoShutdown;
  policy.useTray = options_.options.UseTray;
  return policy;
}

QNRunEnvironment CQNApp::RunEnvironment(const std::optional<QNScheduledRun>& scheduled) {
  QNRunEnvironment env;
  QNEndPolicy policy = EndPolicy();
  if (scheduled) {
    // The command line's project and switches belong to the first open, not to a
    // project the scheduler opened.
    env.unattended = true;
    policy.commandLineDownload = false;
    policy.scheduled = true;
    policy.entryHangsUp = scheduled->hangUpAfter;
    policy.entryShutsDown = scheduled->shutDownAfter;
  } else {
    env.unattended = commandLine_.download;
    env.convertAfter = commandLine_.convert;
  }
  env.internet = InternetOptionsFrom(options_.options);
  env.programDir = folders_.program;
  session_.InstallRunHooks(env);
  const QNDialUpSettings dialUp = DialUpSettingsFrom(options_.options);
  const QNMessenger messenger = session_.Messenger();
  InstallDialHook(env, dialUp_, dialUp, messenger);
  // On the controller thread, as the hang-up belongs to the run; the exit or the
  // shutdown is the GUI thread's.
  const std::uint64_t entryId = scheduled ? scheduled->entryId : 0;
  env.hooks.runEnded = [this, dialUp, messenger, policy, entryId](const QNRunEnd& end) {
    const QNEndActions actions = DecideEndActions(end, policy);
    if (actions.hangUp) HangUpAfterRun(dialUp_, dialUp, messenger, end);
    if (actions.action == QNEndAction::kNone && !actions.handBack) return;
    const int status = end.downloadState == kInterrupted ? kExitInterrupted : kExitCompleted;
    Post([this, actions, status, entryId] {
      if (actions.action != QNEndAction::kNone) EndProgram(actions.action, status);
      if (actions.handBack) HandBack(entryId);
    });
  };
  return env;
}

bool CQNApp::StartDownload() {
  session_.doc.SetRunEnvironment(RunEnvironment());
  return session_.doc.StartDownload();
}

bool CQNApp::ConvertLinks(std::function<void(const QNConversionResult&)> done) {
  return conversion_.Start(
      session_, folders_.program, [this, done = std::move(done)](const QNConversionResult& result) {
        Post([this, done, result] {
          done(result);
          const QNEndAction action = DecideConversionEndAction(result.stopped, EndPolicy());
          if (action != QNEndAction::kNone)
            EndProgram(action, result.failed ? kExitInterrupted : kExitCompleted);
        });
      });
}

void CQNApp::RunStartCommand(QNStartCommand command) {
  const bool endsByItself = commandLine_.exitAfter || commandLine_.shutdown;
  switch (command) {
    case QNStartCommand::kNone:
      break;
    case QNStartCommand::kStartDownload:
      // A run that cannot start never ends, so nothing would end the program.
      if (!StartDownload() && endsByItself) frontEnd_.RequestClose(kExitFailed);
      break;
    case QNStartCommand::kConvertLinks:
      ConvertLinks([](const QNConversionResult&) {});
      break;
    case QNStartCommand::kExitFailed:
      frontEnd_.RequestClose(kExitFailed);
      break;
  }
}

void CQNApp::EndProgram(QNEndAction action, int status) {
  QNShutdownSteps steps;
  steps.markClosing = [this](bool closing) { session_.doc.run.closingForShutdown = closing; };
  steps.countdown = [this](const std::string& format, int seconds) {
    return session_.doc.Observer().Countdown(format, seconds);
  };
  steps.saveOptions = [this] { SaveOptions(); };
  steps.saveProject = [this] {
    if (session_.doc.modified && !session_.Path().empty()) projects_.Save();
  };
  steps.closeProgram = [this, status] { frontEnd_.RequestClose(status); };
  steps.texts = texts_;
  ShutDownOrExit(action == QNEndAction::kShutdown, steps, powerOff_);
}

void CQNApp::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(&postContext_, std::move(work), Qt::QueuedConnection);
}

}  // namespace qn
