#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "records/DocTree.h"
#include "records/TreeWalk.h"
#include "seams/Messenger.h"
#include "settings/ProjectSettings.h"
#include "storage/EmptyFolders.h"
#include "storage/Passwords.h"
#include "storage/ProjectOperations.h"
#include "storage/TempFile.h"
#include "storage/ZipArchive.h"
#include "text/MessageIds.h"
#include "web/Address.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

void DeleteQuietly(const std::string& path) {
  std::error_code ec;
  if (!path.empty()) fs::remove(path, ec);
}

// What goes into the archive, in archive order; `missing` counts saved files of
// the tree that are not on the disk.
struct QNArchiveList {
  std::vector<std::string> paths;
  int missing = 0;
};

QNArchiveList ListFiles(const QNProjectFiles& files, const CQNDocTree& tree) {
  QNArchiveList list;
  for (const CQNDocNode* node : PreOrder(tree.root)) {
    if (node->localFile.empty()) continue;
    if (Exists(node->localFile))
      list.paths.push_back(node->localFile);
    else
      ++list.missing;
  }
  if (Exists(files.report)) {
    list.paths.push_back(files.report);
    const std::string companion = ReportCompanionPath(files.report);
    if (Exists(companion)) list.paths.push_back(companion);
  }
  return list;
}

// Writes the archive anew and reads it back; throws on any failure.
void WriteArchive(const std::string& archive, const std::vector<std::string>& paths,
                  const std::string& password) {
  QNZipWriter zip(archive);
  zip.SetPassword(password);
  for (const std::string& path : paths) zip.AddFile(path, EntryNameFor(path));
  const std::int64_t entries = zip.Entries();
  zip.Close();
  QNZipReader check(archive);
  if (check.Entries() != entries) throw QNZipError("entries missing");
  check.Verify(password);
}

// The extraction root of an archive: the root of its drive.
std::string ExtractionRoot(const std::string& archive) {
  return fs::absolute(archive).root_path().string();
}

}  // namespace

bool EncryptDownloadedFiles(const std::string& archive, const QNProjectFiles& files,
                            const CQNSettings& settings, CQNDocTree& tree, bool deleteAfter,
                            const QNMessenger& messenger) {
  if (archive.empty()) return true;
  const QNArchiveList list = ListFiles(files, tree);
  const bool hadArchive = Exists(archive);
  // Nothing on the disk: an archive left from an earlier session stays as it is.
  if (list.paths.empty()) return true;
  QNWaitNote note(messenger, kMsgEncryptingDownloads);
  try {
    // That archive holds the files missing here; writing it anew would lose them.
    if (hadArchive && list.missing > 0) throw QNZipError("archive holds files not on the disk");
    std::optional<QNTempFile> backup;
    if (hadArchive) {
      backup.emplace(QNTempFile::CreateOrThrow());
      fs::copy_file(archive, backup->Path(), fs::copy_options::overwrite_existing);
    }
    try {
      WriteArchive(archive, list.paths, settings.EncryptionPassword);
    } catch (const std::exception&) {
      if (backup) {
        MoveFileReplacing(backup->Path(), archive);
        backup->Keep();
      } else {
        DeleteQuietly(archive);
      }
      throw;
    }
  } catch (const std::exception&) {
    messenger.Show(kMsgEncryptDownloadsFailed);
    return false;
  }
  if (deleteAfter) {
    for (const std::string& path : list.paths) DeleteQuietly(path);
    for (CQNDocNode* node : PreOrder(tree.root)) node->localFile.clear();
    RemoveFoldersLeftEmpty(list.paths, FolderOf(files.report));
    RemoveFoldersLeftEmpty(list.paths, DownloadFolderOf(settings));
  }
  return true;
}

bool DecryptDownloadedFiles(const std::string& archive, CQNSettings& settings,
                            const QNMessenger& messenger) {
  if (archive.empty() || !Exists(archive)) return true;
  bool ok = true;
  std::string refused;  // the first entry that is not extracted
  try {
    QNZipReader zip(archive);
    const std::string root = ExtractionRoot(archive);
    const std::string folder = DownloadFolderOf(settings);
    // Entries hold full paths; only those that return into the download folder are
    // extracted, so an archive put beside the project by someone else cannot write
    // anywhere else the user may write.
    std::vector<std::optional<std::string>> targets;
    for (std::int64_t i = 0; i < zip.Entries(); ++i) {
      std::optional<std::string> target = EntryTarget(root, zip.Name(i));
      if (!target || zip.IsLink(i) || !IsPathInside(*target, folder)) {
        if (refused.empty()) refused = zip.Name(i).empty() ? "?" : zip.Name(i);
        target.reset();
      }
      targets.push_back(std::move(target));
    }
    if (zip.AnyEncrypted() && !ObtainPassword(settings, messenger, kMsgDownloadsStayEncrypted))
      return false;
    QNWaitNote note(messenger, kMsgDecryptingDownloads);
    for (std::int64_t i = 0; i < zip.Entries(); ++i) {
      const std::optional<std::string>& target = targets[static_cast<std::size_t>(i)];
      if (!target) continue;
      try {
        if (zip.IsFolder(i)) {
          fs::create_directories(*target);
        } else {
          fs::create_directories(fs::path(*target).parent_path());
          zip.Extract(i, settings.EncryptionPassword, *target);
        }
      } catch (const std::exception&) {
        ok = false;
      }
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!refused.empty()) {
    messenger.Show(kMsgEntriesOutside, archive, refused);
    return false;
  }
  if (!ok) {
    messenger.Show(kMsgDecryptDownloadsFailed);
    return false;
  }
  DeleteQuietly(archive);
  return true;
}

}  // namespace qn
