#include "cli/CliProject.h"

#include <cstdio>
#include <cstdlib>

#include "cli/PasswordPrompt.h"

namespace qn {

bool SaveCliProject(QNProjectSession& session, QNCliOutput& output) {
  if (session.Path().empty()) return true;
  std::string error;
  if (session.Save(error)) return true;
  output.Error("cannot save the project '" + session.Path() + "': " + error);
  return false;
}

bool EncryptCliProject(QNProjectSession& session, QNCliOutput& output) {
  CQNSettings& settings = session.settings;
  if (!settings.EncryptProjectFiles && !settings.EncryptDownloadedFiles) return true;
  if (session.doc.LeftBehindThreadsRunning()) {
    output.Error("the project is left unencrypted: threads of the download still write to it");
    return false;
  }
  if (settings.EncryptionPassword.empty())
    if (const char* value = std::getenv(kPasswordVariable)) settings.EncryptionPassword = value;
  return session.EncryptOnClose();
}

int LeaveWith(int status, bool threadsLeftBehind) {
  if (!threadsLeftBehind) return status;
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(status);
}

}  // namespace qn
