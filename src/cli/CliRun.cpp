#include "cli/CliRun.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/ProgramFolders.h"
#include "app/ProjectSession.h"
#include "app/RunOptions.h"
#include "cli/CliActions.h"
#include "cli/CliOutput.h"
#include "cli/CliProgramOptions.h"
#include "cli/CliProject.h"
#include "cli/PasswordPrompt.h"
#include "cli/RunWatch.h"
#include "cli/SignalWatch.h"
#include "settings/TemplateFile.h"
#include "settings/TemplateKeys.h"
#include "storage/ProjectConversion.h"
#include "storage/ProjectOperations.h"
#include "text/NoCase.h"

namespace qn {
namespace {

// One --set as a template line: text values get the quotes a template writes, so
// that the shell's quoting need not carry them.
std::optional<std::string> TemplateLine(const std::string& setting) {
  const std::size_t eq = setting.find('=');
  const std::string key = setting.substr(0, eq);
  std::string value = setting.substr(eq + 1);
  for (const QNTemplateKey& known : TemplateKeys()) {
    if (!EqualNoCase(key, known.name)) continue;
    const bool text = known.kind == QNKeyKind::kText || known.kind == QNKeyKind::kStartUrl ||
                      known.kind == QNKeyKind::kAgentId;
    if (text && value.find('"') == std::string::npos) value = "\"" + value + "\"";
    return std::string(known.name) + " \t\t" + value + "\r\n";
  }
  return std::nullopt;
}

// The address and the --set lines, applied as one template would apply them.
bool ApplySettings(const std::string& address, const std::vector<std::string>& sets,
                   CQNSettings& settings, std::string& error) {
  std::string lines;
  if (!address.empty()) lines += *TemplateLine("QN_START_URL=" + address);
  const int startCount = settings.StartUrlCount;
  bool setsStart = !address.empty();
  for (const std::string& set : sets) {
    const auto line = TemplateLine(set);
    if (!line) {
      error = "--set " + set + ": no template setting of that name";
      return false;
    }
    // Each line alone first, so that a refused value names itself.
    CQNSettings trial = settings;
    std::istringstream one(*line);
    if (!ReadTemplate(one, trial)) {
      error = "--set " + set + ": the value is not accepted";
      return false;
    }
    setsStart = setsStart || EqualNoCase(set.substr(0, set.find('=')), "QN_START_URL");
    lines += *line;
  }
  if (lines.empty()) return true;
  std::istringstream in(lines);
  ReadTemplate(in, settings);
  // Reading a template counts its start addresses anew; settings without one keep
  // the project's own.
  if (!setsStart) settings.StartUrlCount = startCount;
  return true;
}

std::string AbsoluteFolder(const std::string& dir) {
  std::error_code ec;
  std::string folder = std::filesystem::absolute(dir, ec).string();
  if (ec) folder = dir;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

class QNCliRun {
 public:
  QNCliRun(const QNCliOptions& options, QNCliOutput& output, QNTexts texts)
      : options_(options),
        out_(output),
        actions_(output, signals_),
        session_(output, std::move(texts)) {}

  int Run();
  // Whether threads a forced stop gave up on are still running.
  bool ThreadsLeftBehind() { return session_.doc.LeftBehindThreadsRunning(); }

 private:
  bool Prepare();
  int Download();
  int ConvertOnly();
  int Copy();
  int Delete();
  bool Save();

  const QNCliOptions& options_;
  QNCliOutput& out_;
  QNSignalWatch signals_;
  // Before the session: the run's hooks call it until the document is gone.
  QNCliActions actions_;
  QNProjectSession session_;
};

bool QNCliRun::Prepare() {
  const std::string programDir = ProgramFolder();
  if (options_.projectMode) {
    // A file that cannot be opened has been reported with its path already.
    if (!session_.Open(options_.commandLine.projectFile, programDir, true)) return false;
  } else {
    StartNewProject(session_, actions_.Options().shared, WritableProgramFolder());
  }
  std::string error;
  const std::string title = session_.settings.QN_TITLE;
  if (!ApplySettings(options_.address, options_.settings, session_.settings, error)) {
    out_.Error(error);
    return false;
  }
  // The root was made before "--set QN_TITLE=..." named the project.
  if (session_.settings.QN_TITLE != title) session_.doc.RetitleRoot();
  if (!options_.outputDir.empty())
    session_.settings.QN_PROJECT_DIR = AbsoluteFolder(options_.outputDir);
  if (!options_.saveAs.empty()) {
    std::error_code ec;
    session_.SetPath(std::filesystem::absolute(options_.saveAs, ec).string());
  }

  QNRunEnvironment env;
  const QNCommandLine& cmd = options_.commandLine;
  env.unattended = true;
  env.convertAfter = cmd.convert;
  env.programDir = programDir;
  // Its command line always stands for the desktop program's "-D" (and "-CONV"):
  // "-E", "-SHUT" and "-DISC" decide the end, never "AutoShutdown" or "AutoDisconn".
  QNEndPolicy policy;
  policy.commandLineDownload = true;
  policy.commandLineConvert = cmd.convert;
  policy.exitAfter = cmd.exitAfter;
  policy.shutdownAfter = cmd.shutdown;
  policy.disconnectAfter = cmd.disconnect;
  session_.InstallRunHooks(env);
  actions_.Install(env, session_.doc, policy);
  session_.doc.SetRunEnvironment(std::move(env));
  return true;
}

bool QNCliRun::Save() {
  return SaveCliProject(session_, out_);
}

int QNCliRun::Download() {
  CQNDoc& doc = session_.doc;
  if (!doc.StartDownload()) {
    out_.Error("the download could not be started");
    return 2;
  }
  QNRunWatch watch(out_, signals_, options_.autosaveSeconds);
  while (watch.Step(doc, [this] { Save(); })) {
  }
  out_.Finish();

  // The run has said why it could not start.
  if (!doc.LastRunStarted()) return 2;
  if (!Save()) return 2;
  const std::string runSaveError = session_.LastRunSaveError();
  if (!runSaveError.empty()) out_.Error("a save during the download failed: " + runSaveError);
  actions_.CarryOutEndAction(doc, [this] { Save(); });
  const int state = doc.SettingsCopy().DownloadState;
  return state == kDownloadCompleted || state == kPreviewCompleted ? 0 : 1;
}

// "--convert", or "-CONV" without "-D": the saved pages' links are converted, no
// download runs.
int QNCliRun::ConvertOnly() {
  const QNConversionResult result =
      session_.ConvertLinks(ProgramFolder(), [this](int) { return signals_.Wait(0) == 0; });
  out_.Finish();
  out_.OnLogText("Links converted in " + std::to_string(result.converted) + " saved files" +
                 (result.stopped ? " (stopped)" : ""));
  if (!Save()) return 2;
  actions_.CarryOut(DecideConversionEndAction(result.stopped, actions_.Policy()), session_.doc,
                    [this] { Save(); });
  if (result.stopped) return 1;
  if (result.failed == 0) return 0;
  out_.Error(std::to_string(result.failed) + " saved files could not be converted");
  return 1;
}

int QNCliRun::Copy() {
  QNCopyRequest request;
  request.destination = AbsoluteFolder(options_.copyDir);
  request.asZip = options_.copyZip;
  if (!options_.passwordFile.empty()) {
    const std::optional<std::string> password = ReadPasswordFile(options_.passwordFile);
    if (!password) {
      out_.Error("cannot read the password file '" + options_.passwordFile + "'");
      return 2;
    }
    request.password = *password;
  }
  return CopyProject(session_.Files(), session_.doc.Tree(), request, session_.Messenger()) ? 0 : 2;
}

int QNCliRun::Delete() {
  DeleteProject(session_.Files(), session_.settings, session_.doc.Tree(), options_.withFiles, {},
                ProgramFolder());
  return 0;
}

int QNCliRun::Run() {
  if (!Prepare()) return 2;
  const QNCommandLine& cmd = options_.commandLine;
  int status = 0;
  switch (options_.action) {
    case QNCliAction::kDelete:
      return Delete();
    case QNCliAction::kCopy:
      status = Copy();
      break;
    case QNCliAction::kDownload:
      status = options_.projectMode && cmd.convert && !cmd.download ? ConvertOnly() : Download();
      break;
    case QNCliAction::kConvert:
      status = ConvertOnly();
      break;
  }
  if (!EncryptCliProject(session_, out_) && status == 0) status = 2;
  return status;
}

}  // namespace

int RunCli(const QNCliOptions& options) {
  QNTexts texts;
  const std::optional<std::string> languageFailed = LoadCliLanguage(texts);
  QNCliOutput output(stdout, stderr, isatty(fileno(stdout)) != 0, texts);
  if (languageFailed) output.Error(*languageFailed);
  QNCliRun run(options, output, texts);
  const int status = run.Run();
  return LeaveWith(status, run.ThreadsLeftBehind());
}

}  // namespace qn
