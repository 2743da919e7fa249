#include "storage/ProjectArchives.h"

#include "seams/Messenger.h"
#include "settings/ProjectSettings.h"
#include "storage/ProjectOperations.h"

namespace qn {

QNDecryptProject ProjectDecryptor(CQNSettings& settings, const QNMessenger& messenger) {
  return [&settings, messenger](const std::string& path) {
    return DecryptProjectFiles(path, settings, messenger);
  };
}

std::function<void(const std::string&, CQNSettings&)> DownloadsDecryptor(
    const QNMessenger& messenger) {
  return [messenger](const std::string& path, CQNSettings& settings) {
    DecryptDownloadedFiles(DownloadArchivePath(path), settings, messenger);
  };
}

bool EncryptOnClose(const QNProjectFiles& files, const CQNSettings& settings, CQNDocTree& tree,
                    const QNMessenger& messenger) {
  bool ok = true;
  if (settings.EncryptProjectFiles)
    ok = EncryptProjectFiles(files.project, settings.EncryptionPassword, messenger);
  if (settings.EncryptDownloadedFiles)
    ok = EncryptDownloadedFiles(DownloadArchivePath(files.project), files, settings, tree, true,
                                messenger) &&
         ok;
  return ok;
}

}  // namespace qn
