#include "storage/ProjectArchives.h"

#include "settings/ProjectSettings.h"
#include "storage/ProjectOperations.h"

namespace qn {

QNDecryptProject ProjectDecryptor(CQNSettings& settings, IQNObserver& observer) {
  return [&settings, &observer](const std::string& path) {
    return DecryptProjectFiles(path, settings, observer);
  };
}

std::function<void(const std::string&, CQNSettings&)> DownloadsDecryptor(IQNObserver& observer) {
  return [&observer](const std::string& path, CQNSettings& settings) {
    DecryptDownloadedFiles(DownloadArchivePath(path), settings, observer);
  };
}

bool EncryptOnClose(const QNProjectFiles& files, const CQNSettings& settings, CQNDocTree& tree,
                    IQNObserver& observer) {
  bool ok = true;
  if (settings.EncryptProjectFiles)
    ok = EncryptProjectFiles(files.project, settings.EncryptionPassword, observer);
  if (settings.EncryptDownloadedFiles)
    ok = EncryptDownloadedFiles(DownloadArchivePath(files.project), files, settings, tree, true,
                                observer) &&
         ok;
  return ok;
}

}  // namespace qn
