#include "app/Application.h"

#include <QMetaObject>

#include "app/ConnectionHooks.h"
#include "app/LanguageIni.h"
#include "app/ProgramFolders.h"
#include "app/RunOptions.h"
#include "app/Shutdown.h"
#include "app/SystemProxy.h"
#include "app/WelcomePage.h"
#include "engine/RunState.h"
#include "text/StringTable.h"

namespace qn {
namespace {

// Exit statuses of a program that ends by itself ("-E", "-SHUT").
constexpr int kExitCompleted = 0;
constexpr int kExitInterrupted = 1;
constexpr int kExitFailed = 2;
constexpr int kMsgConvertingLinks = 55519;  // "Converting Links..."

}  // namespace

CQNApp::CQNApp(IQNObserver& observer, IQNAppFrontEnd& frontEnd, QNAppFolders folders,
               std::unique_ptr<QSettings> optionsFile)
    : frontEnd_(frontEnd),
      folders_(std::move(folders)),
      optionsFile_(std::move(optionsFile)),
      session_(observer),
      projects_(session_, options_, folders_, frontEnd) {}

CQNApp::~CQNApp() = default;

void CQNApp::LoadOptions(const QNScreenMetrics& screen) {
  options_ = qn::LoadOptions(*optionsFile_, screen);
}

std::string CQNApp::WriteWelcomePage() {
  if (!options_.options.ShowWelcome) return {};
  return qn::WriteWelcomePage(FindDataFile("welcome"), folders_.writable);
}

void CQNApp::LoadLanguage() {
  QNProgramOptions& o = options_.options;
  if (o.FirstRun) {
    const std::string ini = FindDataFile("Language.ini");
    if (const auto name = ini.empty() ? std::nullopt : ReadLanguageIni(ini)) {
      o.UseLngFile = true;
      o.LngFile = *name;
    }
  }
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
  qn::SaveOptions(*optionsFile_, options_);
  return SyncOptionsFile(*optionsFile_);
}

void CQNApp::ApplyOptions(const QNProgramOptions& edited) {
  const QNProgramOptions before = options_.options;
  options_.options = edited;
  if (before.AutoSaveTime != edited.AutoSaveTime || before.AutoSaveValue != edited.AutoSaveValue)
    projects_.RestartPeriodicSave();
  if (before.UseLngFile != edited.UseLngFile ||
      QString::fromStdString(before.LngFile)
              .compare(QString::fromStdString(edited.LngFile), Qt::CaseInsensitive) != 0)
    LoadLanguage();
}

QNRunEnvironment CQNApp::RunEnvironment() {
  const QNCommandLine& cmd = commandLine_;
  QNRunEnvironment env;
  env.unattended = cmd.download;
  env.commandLineDownload = !cmd.projectFile.empty() && cmd.download;
  env.convertAfter = cmd.convert;
  env.exitAfter = cmd.exitAfter;
  env.shutdownAfter = cmd.shutdown;
  env.autoShutdown = options_.options.AutoShutdown;
  env.useTray = options_.options.UseTray;
  env.internet = InternetOptionsFrom(options_.options);
  env.programDir = folders_.program;
  session_.InstallRunHooks(env);
  // "-DISC" decides for the command line's download, "AutoDisconn" for the others.
  const bool hangUp = env.commandLineDownload ? cmd.disconnect : options_.options.AutoDisconn;
  InstallConnectionHooks(env, session_.doc, dialUp_, DialUpSettingsFrom(options_.options), hangUp);
  env.hooks.endAction = [this](QNEndAction action) {
    Post([this, action] {
      if (action == QNEndAction::ScheduleEntry) return;
      const int state = session_.doc.SettingsCopy().DownloadState;
      EndProgram(action == QNEndAction::Shutdown,
                 state == kInterrupted ? kExitInterrupted : kExitCompleted);
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
      session_, folders_.program, BuiltinString(kMsgConvertingLinks),
      [this, done = std::move(done)](const QNConversionResult& result) {
        Post([this, done, result] {
          done(result);
          const QNCommandLine& cmd = commandLine_;
          if (!cmd.projectFile.empty() && cmd.convert && (cmd.exitAfter || cmd.shutdown))
            EndProgram(cmd.shutdown,
                       result.failed || result.stopped ? kExitInterrupted : kExitCompleted);
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

void CQNApp::EndProgram(bool shutdown, int status) {
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
  steps.text = [](int id) { return std::string(BuiltinString(id)); };
  ShutDownOrExit(shutdown, steps);
}

void CQNApp::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(&postContext_, std::move(work), Qt::QueuedConnection);
}

}  // namespace qn
