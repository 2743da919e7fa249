#include "cli/CliOptions.h"

#include <cstdlib>

#include "text/NoCase.h"

namespace qn {
namespace {

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         EqualNoCase(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

bool IsProjectOrTemplate(const std::string& path) {
  return EndsWithNoCase(path, ".qnp") || EndsWithNoCase(path, ".qnt");
}

bool IsSwitch(const std::string& token) {
  for (const char* name : {"-D", "-CONV", "-E", "-SHUT", "-DISC"})
    if (EqualNoCase(token, name)) return true;
  return false;
}

// The options of the project operations fit only their own action and a project.
bool CheckActions(const QNCliOptions& options, std::string& error) {
  const bool copy = options.action == QNCliAction::kCopy;
  const bool remove = options.action == QNCliAction::kDelete;
  if (options.action != QNCliAction::kDownload && !options.projectMode)
    error = "--convert, --copy and --delete need a project file";
  else if (options.actionsGiven > 1)
    error = "--convert, --copy and --delete cannot be combined";
  else if (!copy && (options.copyZip || !options.passwordFile.empty()))
    error = "--zip and --password-file go with --copy";
  else if (!remove && options.withFiles)
    error = "--with-files goes with --delete";
  return error.empty();
}

}  // namespace

bool ParseCliArguments(const std::vector<std::string>& args, const std::string& programFolder,
                       const std::string& currentFolder, QNCliOptions& options,
                       std::string& error) {
  std::vector<std::string> desktopTokens;
  std::string target;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      into = args[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--schedule") {
      options.schedule = true;
    } else if (arg == "--schedule-list") {
      options.scheduleList = true;
    } else if (arg == "-o" || arg == "--output") {
      if (!value(options.outputDir)) return false;
    } else if (arg == "--set") {
      std::string setting;
      if (!value(setting)) return false;
      if (setting.find('=') == std::string::npos) {
        error = "--set takes KEY=VALUE, not '" + setting + "'";
        return false;
      }
      options.settings.push_back(setting);
    } else if (arg == "--save") {
      if (!value(options.saveAs)) return false;
    } else if (arg == "--autosave") {
      std::string seconds;
      if (!value(seconds)) return false;
      char* end = nullptr;
      const long n = std::strtol(seconds.c_str(), &end, 10);
      if (seconds.empty() || *end || n < 0 || n > 86400) {
        error = "--autosave takes a number of seconds, not '" + seconds + "'";
        return false;
      }
      options.autosaveSeconds = static_cast<int>(n);
    } else if (arg == "--convert") {
      options.action = QNCliAction::kConvert;
      ++options.actionsGiven;
    } else if (arg == "--copy") {
      if (!value(options.copyDir)) return false;
      options.action = QNCliAction::kCopy;
      ++options.actionsGiven;
    } else if (arg == "--zip") {
      options.copyZip = true;
    } else if (arg == "--password-file") {
      if (!value(options.passwordFile)) return false;
    } else if (arg == "--delete") {
      options.action = QNCliAction::kDelete;
      ++options.actionsGiven;
    } else if (arg == "--with-files") {
      options.withFiles = true;
    } else if (IsSwitch(arg)) {
      desktopTokens.push_back(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (target.empty()) {
      target = arg;
      desktopTokens.push_back(arg);
    } else {
      error = "more than one project or address: '" + target + "' and '" + arg + "'";
      return false;
    }
  }
  if (options.help) return true;
  if (options.schedule || options.scheduleList) {
    // The schedule names its projects; only the periodic save applies to them.
    if (options.schedule && options.scheduleList)
      error = "--schedule and --schedule-list cannot be combined";
    else if (!target.empty() || !desktopTokens.empty() || options.actionsGiven > 0 ||
             !options.outputDir.empty() || !options.settings.empty() || !options.saveAs.empty())
      error = "--schedule and --schedule-list take no project, address or other option";
    return error.empty();
  }
  if (target.empty()) {
    error = "no project, template or address given";
    return false;
  }
  options.commandLine = ParseCommandLine(desktopTokens, programFolder, currentFolder);
  options.projectMode = IsProjectOrTemplate(target);
  if (!CheckActions(options, error)) return false;
  if (options.projectMode) {
    if (!options.saveAs.empty()) {
      error = "--save is for a new project made from an address";
      return false;
    }
  } else {
    options.address = target;
    options.commandLine.projectFile.clear();
    options.commandLine.download = true;
  }
  return true;
}

std::string CliHelpText() {
  return R"(Usage:
  quillorne-cli PROJECT.qnp|TEMPLATE.qnt [-D] [-CONV] [-E] [-SHUT] [-DISC] [options]
  quillorne-cli URL [-o DIR] [--set KEY=VALUE]... [--save FILE.qnp] [options]
  quillorne-cli --schedule [--autosave SECONDS]
  quillorne-cli --schedule-list

Copies a web site into a local folder without any window: the desktop program's
command line, unattended, for servers, cron jobs and scripts.

With a project (.qnp) or template (.qnt) file, the file is opened, the download
runs, and the project is saved (a template is saved as a project beside it, with
the extension .qnp). No question is ever asked: a project whose last download did
not end (interrupted, or still marked running after a crash) continues it; any
other starts anew. A relative path is taken from the current folder when it
exists there, otherwise from the program's folder.
  -D      download (the default unless -CONV is given alone)
  -CONV   convert the saved pages' links for offline browsing after the download,
          even when the project does not ask for it (-CONV alone: only convert,
          exit status 1 when some saved page could not be converted)
  -E      exit when the download is over (quillorne-cli always does)
  -SHUT   shut the computer down after a download that was not stopped by the
          user: a countdown of 10 seconds on a terminal (Ctrl+C cancels it),
          then "systemctl --no-ask-password poweroff"; when that fails the
          program only exits
  -DISC   hang up the dial-up connection when the download ends, if this run
          dialed it (see Dial-up below)
The switches are read without regard to case.

With an address, a new project is made from the default settings, with the
address as its start address ({:1-300} and {:a-z} ranges are expanded), and
downloaded. Nothing is saved unless --save names the project file.
  -o, --output DIR    the download folder (QN_PROJECT_DIR); "[%d]" and "[%t]"
                      in it become the date and time of the download's start
  --set KEY=VALUE     any template setting, as a template line would set it:
                      --set QN_THREADS=10 --set QN_MAX_L=2 --set QN_LIM_L=1
                      --set QN_TITLE="My site" --set QN_MAX_DS=10485760
                      (sizes in bytes, QN_MAX_TIME in minutes, QN_TIMEOUT in
                      seconds); may be repeated, and is also accepted with a
                      project file, whose saved settings it changes
  --save FILE.qnp     save the new project there (also while it runs, see
                      --autosave); its log is FILE.log

Project operations (with a project file, instead of a download):
  --convert           convert the saved pages' links for offline browsing (as
                      -CONV alone does); exit status 1 when some saved page
                      could not be converted
  --copy DIR          copy the project file, its log and the downloaded files to
                      DIR, keeping their places below the project's folder; a
                      download folder elsewhere goes to DIR/NAME/, NAME being its
                      own name, so that no file lands outside DIR
  --zip               with --copy: one ZIP archive DIR/PROJECT.zip instead, the
                      files under their full paths
  --password-file F   with --zip: encrypt the archive with the first line of F
  --delete            delete the project file, its log and its report
  --with-files        with --delete: delete the downloaded files too, and the
                      folders that this leaves empty (never any other folder)

Encrypted projects: a project kept in an archive while closed is decrypted when
it is opened and encrypted again at the end, as its settings ask. The password
comes from the environment variable QUILLORNE_PASSWORD, or is asked on the
terminal without echo.

Program options: the desktop program's options file
(~/.config/Lumbrook/Quillorne.conf, or below $XDG_CONFIG_HOME) is read where it
applies to a run without anyone there, so that both programs behave alike: the
proxy (UseProxy, ProxyAddress, ProxyPort, FtpProxyAddress, FtpProxyPort,
ProxyUserID, ProxyPassword), Redirect, UseCache, and for a new project made from
an address the template file (UseTemplFile, TemplFile). It is never written.

Options for both:
  --autosave SECONDS  save the project this often while the download runs, so
                      that a run that is killed can be continued (default 60;
                      0: only at the start and the end)
  -h, --help          this text

While the download runs on a terminal, one line shows the files saved, their
total size, the speed, the number of links known and the current file, redrawn
at most ten times a second. Off a terminal only the download log's start line,
problem lines and end lines are printed. Messages go to standard error.

The download log is written beside the project file (PROJECT.log), or, for a
new project without --save, into the download folder.

After a download the saved pages' links are converted for offline browsing
(unless the project's QN_UPDLINKS is 0). On a terminal a countdown of 5 seconds
comes first, and Ctrl+C during it skips the conversion; Ctrl+C while the links
are converted stops the conversion between two pages (run --convert later to
finish it). Off a terminal the conversion follows at once.

Ctrl+C (or SIGTERM) stops the download in an orderly way: the files being fetched are left
to be fetched again, the project is saved and can be continued by running the
same command again. A second Ctrl+C stops it by force: threads that do not end
within 10 seconds are left behind, and the project is saved as interrupted.

After a crash or a kill, run PROJECT.qnp -D again: the project was saved before
the first fetch and every --autosave seconds, and the run continues from there.
Files are written under a hidden name (.NAME.qnpart) until they are complete, so
a cut file is fetched again, and a complete one that the server reports unchanged
is not. A run killed before its first save left no project: run the first
command again.

Dial-up: when the desktop program's options choose a dial-up connection
(ConnType 1 and a connection in RasEntry), every download first brings that
NetworkManager connection up with nmcli, unless it is up already; a failure is
written to the log as "Dialer Error: ..." and the download goes on. Without
nmcli nothing is dialed.

Schedule (for servers without a desktop):
  --schedule          run the schedule kept with the program options (edited in
                      the desktop program's Edit > Schedule, or in the options
                      file) until Ctrl+C: each entry's project is opened and
                      downloaded at its time, by the same rules as the desktop
                      program; a due entry stops a download still running. The
                      entries' Auto Disconnect and Auto Shutdown act after their
                      downloads. Ctrl+C ends the schedule: a running download is
                      stopped in order and saved first (a second Ctrl+C stops it
                      by force). Exit status 0, or 2 when no entry is active
  --schedule-list     print the entries with their next due moment
The options file is ~/.config/Lumbrook/Quillorne.conf ($XDG_CONFIG_HOME).

Exit status:
  0  the download completed
  1  it was stopped (Ctrl+C) or ended by a limit (files, time or disk space)
  2  the project could not be opened or saved, or the download could not start
Each failure is reported with a one-line reason on standard error.
)";
}

}  // namespace qn
