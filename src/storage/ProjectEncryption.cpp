#include <filesystem>
#include <fstream>
#include <system_error>

#include "records/DownloadLog.h"
#include "seams/Messenger.h"
#include "settings/ProjectSettings.h"
#include "storage/Passwords.h"
#include "storage/ProjectOperations.h"
#include "storage/TempFile.h"
#include "storage/ZipArchive.h"
#include "text/MessageIds.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

bool IsArchive(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {};
  return in.read(magic, 2) && magic[0] == 'P' && magic[1] == 'K';
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string LogOf(const std::string& projectFile) {
  return LogPathFor(projectFile, {}, {});
}

}  // namespace

bool EncryptProjectFiles(const std::string& projectFile, const std::string& password,
                         const QNMessenger& messenger) {
  if (projectFile.empty() || !Exists(projectFile) || IsArchive(projectFile)) return true;
  QNWaitNote note(messenger, kMsgEncryptingProject);
  const std::string log = LogOf(projectFile);
  const bool withLog = Exists(log);
  try {
    QNTempFile archive = QNTempFile::CreateOrThrow();
    {
      QNZipWriter zip(archive.Path());
      zip.SetPassword(password);
      zip.AddFile(projectFile, fs::path(projectFile).filename().string());
      if (withLog) zip.AddFile(log, fs::path(log).filename().string());
      zip.Close();
    }
    // The plain files go only once the archive is known to hold them.
    QNZipReader check(archive.Path());
    if (check.Entries() != (withLog ? 2 : 1)) throw QNZipError("entries missing");
    check.Verify(password);
    MoveFileReplacing(archive.Path(), projectFile);
    archive.Keep();
  } catch (const std::exception&) {
    messenger.Show(kMsgEncryptProjectFailed);
    return false;
  }
  if (withLog) {
    std::error_code ec;
    fs::remove(log, ec);
  }
  return true;
}

bool DecryptProjectFiles(const std::string& projectFile, CQNSettings& settings,
                         const QNMessenger& messenger) {
  try {
    QNZipReader zip(projectFile);
    if (zip.AnyEncrypted() && !ObtainPassword(settings, messenger, kMsgProjectStaysEncrypted))
      return false;
    QNWaitNote note(messenger, kMsgDecryptingProject);
    const std::string& password = settings.EncryptionPassword;
    const fs::path folder = fs::path(projectFile).parent_path();
    QNTempFile project = QNTempFile::CreateOrThrow(folder.empty() ? "." : folder, ".qn");
    zip.Extract(0, password, project.Path());
    // A log that does not come back is not worth keeping the project locked for.
    if (zip.Entries() > 1) {
      try {
        zip.Extract(1, password, LogOf(projectFile));
      } catch (const std::exception&) {
      }
    }
    MoveFileReplacing(project.Path(), projectFile);
    project.Keep();
    return true;
  } catch (const std::exception&) {
    messenger.Show(kMsgDecryptProjectFailed);
    return false;
  }
}

}  // namespace qn
