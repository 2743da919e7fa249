#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "records/DocTree.h"
#include "records/TreeWalk.h"
#include "seams/Messenger.h"
#include "storage/ProjectOperations.h"
#include "storage/ZipArchive.h"
#include "text/MessageIds.h"
#include "web/Address.h"

namespace qn {
namespace {

namespace fs = std::filesystem;

// The outcome of a step that already showed its own message.
struct QNShownFailure {};

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::absolute(a).lexically_normal() == fs::absolute(b).lexically_normal()) return true;
  return fs::equivalent(a, b, ec) && !ec;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string WithSeparator(std::string folder) {
  if (folder.empty() || !IsSeparator(folder.back())) folder += kNativeSeparator;
  return folder;
}

std::string FileName(const std::string& path) {
  const std::size_t sep = FindLastSeparator(path);
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

int Percent(int visited, int count) {
  return count <= 0 ? 100 : std::min(100, visited * 100 / count);
}

// Where a saved file goes in a plain copy to `dest`: to its place below the project
// file's folder; a file of a download folder that lies elsewhere goes below the
// folder of that folder's name in `dest`. Nothing for any other file: no copied file
// may land outside `dest`.
std::optional<std::string> CopyTarget(const std::string& file, const QNProjectFiles& files,
                                      const std::string& dest) {
  const auto bare = [](std::string folder) {
    while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
    return fs::absolute(folder).lexically_normal();
  };
  const auto below = [&](const fs::path& folder) {
    return fs::absolute(file).lexically_normal().lexically_relative(folder);
  };
  const std::string projectFolder = FolderOf(files.project);
  if (IsPathInside(file, projectFolder))
    return (fs::path(dest) / below(bare(projectFolder))).string();
  if (!IsPathInside(file, files.downloadFolder)) return std::nullopt;
  const fs::path folder = bare(files.downloadFolder);
  return (fs::path(dest) / folder.filename() / below(folder)).string();
}

bool CopyOne(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

void CopyPlain(const QNProjectFiles& files, const CQNDocTree& tree, const QNCopyRequest& request,
               const QNMessenger& messenger, const QNCopyProgress& progress) {
  const std::string dest = WithSeparator(request.destination);
  const std::string projectTarget = dest + FileName(files.project);
  // Checked before anything is created, so a refused copy writes nothing.
  if (request.projectFiles && SameFile(projectTarget, files.project)) {
    messenger.Show(kMsgCopyToOriginal);
    throw QNShownFailure{};
  }
  fs::create_directories(dest);
  if (request.projectFiles) {
    if (!CopyOne(files.project, projectTarget)) {
      messenger.Show(kMsgCopyFilesFailed);
      throw QNShownFailure{};
    }
    const std::string logTarget = dest + FileName(files.log);
    if (!files.log.empty() && Exists(files.log) && !SameFile(logTarget, files.log))
      CopyOne(files.log, logTarget);
  }
  if (!request.downloadedFiles) return;
  int visited = 0;
  for (const CQNDocNode* node : PreOrder(tree.root)) {
    ++visited;
    const std::optional<std::string> target =
        node->localFile.empty() ? std::nullopt : CopyTarget(node->localFile, files, dest);
    if (target) {
      // A download folder below the destination can map a file onto itself.
      if (!SameFile(*target, node->localFile)) {
        std::error_code ec;
        fs::create_directories(fs::path(*target).parent_path(), ec);
        if (!CopyOne(node->localFile, *target) && Exists(node->localFile)) {
          messenger.Show(kMsgCopyFilesFailed);
          throw QNShownFailure{};
        }
      }
    }
    if (progress && !progress(Percent(visited, tree.count + 1))) return;
  }
}

void CopyAsZip(const QNProjectFiles& files, const CQNDocTree& tree, const QNCopyRequest& request,
               const QNCopyProgress& progress) {
  const std::string dest = WithSeparator(request.destination);
  const std::string archive = dest + fs::path(FileName(files.project)).stem().string() + ".zip";
  fs::create_directories(dest);
  QNZipWriter zip(archive);
  zip.SetPassword(request.password);
  if (request.projectFiles) {
    zip.AddFile(files.project, EntryNameFor(files.project));
    if (!files.log.empty() && Exists(files.log)) zip.AddFile(files.log, EntryNameFor(files.log));
  }
  if (request.downloadedFiles) {
    int visited = 0;
    for (const CQNDocNode* node : PreOrder(tree.root)) {
      ++visited;
      if (!node->localFile.empty() && Exists(node->localFile))
        zip.AddFile(node->localFile, EntryNameFor(node->localFile));
      if (progress && !progress(Percent(visited, tree.count + 1))) break;
    }
  }
  const std::int64_t entries = zip.Entries();
  zip.Close();
  if (entries > 0) {
    QNZipReader check(archive);
    check.Verify(request.password);
  }
}

}  // namespace

bool CopyProject(const QNProjectFiles& files, const CQNDocTree& tree, const QNCopyRequest& request,
                 const QNMessenger& messenger, const QNCopyProgress& progress) {
  if (!tree.root) return false;
  try {
    if (request.destination.empty() || (request.projectFiles && files.project.empty()))
      throw QNZipError("nothing to copy to");
    if (request.asZip)
      CopyAsZip(files, tree, request, progress);
    else
      CopyPlain(files, tree, request, messenger, progress);
    return true;
  } catch (const QNShownFailure&) {
    return false;
  } catch (const std::exception&) {
    messenger.Show(kMsgCopyFailed);
    return false;
  }
}

}  // namespace qn
