#include "app/DialUp.h"

#include <fstream>
#include <thread>

#include "app/SystemCommand.h"
#include "storage/TempFile.h"
#include "text/MessageIds.h"
#include "text/NoCase.h"

namespace qn {
namespace {

constexpr int kHangUpSeconds = 5;
constexpr std::chrono::seconds kListLimit{20};

void ShowStatus(IQNObserver& observer, const std::string& text) {
  QNStatus status;
  status.mask = QNStatus::kStatusText;
  status.text3 = text;
  observer.OnStatus(status);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// nmcli's own message: its "Error: ..." line, else the last line it wrote.
std::string ErrorText(const QNCommandResult& result, const std::string& program,
                      std::chrono::seconds limit) {
  if (!result.started) return "cannot run " + program;
  if (result.timedOut)
    return "no answer from " + program + " within " + std::to_string(limit.count()) + " seconds";
  const std::vector<std::string> lines = Lines(result.errors + "\n" + result.output);
  for (const std::string& line : lines)
    if (line.starts_with("Error:")) return line;
  if (!lines.empty()) return lines.back();
  return program + " ended with exit code " + std::to_string(result.exitCode);
}

// The secrets file nmcli reads for the dial: the password under each setting a
// dial-up connection may ask it for (mobile broadband, DSL, a VPN), so that it
// never stands on a command line. Only the first line of the password is usable.
std::optional<QNTempFile> PasswordFile(const std::string& password) {
  auto file = QNTempFile::Create();
  if (!file) return std::nullopt;
  const std::string secret = password.substr(0, password.find_first_of("\r\n"));
  std::ofstream out(file->Path(), std::ios::binary | std::ios::trunc);
  for (const char* setting :
       {"gsm.password", "cdma.password", "pppoe.password", "vpn.secrets.password"})
    out << setting << ':' << secret << '\n';
  out.close();
  if (!out) return std::nullopt;
  return file;
}

}  // namespace

CQNDialUp::CQNDialUp(const std::string& nmcli) : program_(FindProgram(nmcli)) {}

std::optional<std::vector<std::string>> CQNDialUp::Names(bool activeOnly) const {
  if (!Available()) return std::nullopt;
  std::vector<std::string> args{"-t", "-e", "no", "-f", "NAME", "connection", "show"};
  if (activeOnly) args.push_back("--active");
  const QNCommandResult result = RunCommand(program_, args, kListLimit);
  if (!result.Succeeded()) return std::nullopt;
  return Lines(result.output);
}

std::optional<std::vector<std::string>> CQNDialUp::ListEntries() const {
  return Names(false);
}

std::optional<std::string> CQNDialUp::FindActive(const std::string& entry) const {
  const auto active = Names(true);
  if (!active) return std::nullopt;
  for (const std::string& name : *active)
    if (EqualNoCase(name, entry)) return name;
  return std::nullopt;
}

bool CQNDialUp::DialIfNeeded(const QNDialUpSettings& settings, const QNMessenger& messenger,
                             std::string& error) {
  SetLastError({});
  error.clear();
  if (settings.connType != 1 || !Available()) return true;
  const auto entries = ListEntries();
  if (!entries || entries->empty()) return true;
  if (settings.entry.empty()) return false;
  if (FindActive(settings.entry)) return true;

  std::vector<std::string> args{
      "-w", std::to_string(dialLimit.count()), "connection", "up", "id", settings.entry};
  const std::optional<QNTempFile> secrets =
      settings.password.empty() ? std::nullopt : PasswordFile(settings.password);
  if (!settings.password.empty()) {
    if (!secrets) {
      error = "cannot write the password file for " + program_;
      SetLastError(error);
      return false;
    }
    args.insert(args.end(), {"passwd-file", secrets->Path().string()});
  }
  ShowStatus(messenger.observer, messenger.texts.Text(kMsgConnecting));
  // nmcli's own limit comes first; ours only catches a program that hangs.
  const QNCommandResult result = RunCommand(program_, args, dialLimit + std::chrono::seconds(15));
  if (!result.Succeeded()) {
    error = ErrorText(result, program_, dialLimit);
    SetLastError(error);
    return false;
  }
  connected_ = true;
  dialedByUs_ = true;
  return true;
}

void CQNDialUp::HangUpIfDialed(const QNDialUpSettings& settings, const QNMessenger& messenger,
                               const std::string& finalStatus) {
  if (settings.connType != 1 || !dialedByUs_ || !Available()) return;
  IQNObserver& observer = messenger.observer;
  if (!observer.Countdown(messenger.texts.Text(kMsgDisconnectCountdown), kHangUpSeconds)) return;
  const auto active = FindActive(settings.entry);
  if (!active) return;
  ShowStatus(observer, messenger.texts.Text(kMsgDisconnecting));
  connected_ = false;
  RunCommand(program_, {"connection", "down", "id", *active}, kListLimit);
  std::this_thread::sleep_for(releaseWait);
  if (!finalStatus.empty()) ShowStatus(observer, finalStatus);
}

std::string CQNDialUp::LastError() const {
  std::lock_guard lock(errorMutex_);
  return lastError_;
}

void CQNDialUp::SetLastError(std::string error) {
  std::lock_guard lock(errorMutex_);
  lastError_ = std::move(error);
}

}  // namespace qn
