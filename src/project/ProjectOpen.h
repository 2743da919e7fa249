#pragma once

// Opening a file chosen by the user, named on the command line or taken from the
// recent-project list: a project file, or a template read into a new project.

#include <functional>
#include <string>

#include "project/FileMessages.h"
#include "records/DocTree.h"
#include "settings/ProjectSettings.h"

namespace qn {

enum QNFileKind : int { kFileUnreadable = 0, kFileProject = 1, kFileTemplate = 2 };

// Replaces an encrypted project file (a ZIP archive) by its plain form in place;
// false when it cannot (no password, damaged archive).
using QNDecryptProject = std::function<bool(const std::string& path)>;

// 0 when the file cannot be opened; 1 when it starts with the project magic; 2
// otherwise. An encrypted project is decrypted first; without `decrypt`, or when
// decryption fails, it counts as unreadable.
QNFileKind RecogniseFile(const std::string& path, const QNDecryptProject& decrypt = {});

// What opening needs from the program around it.
struct QNOpenContext {
  std::string lastFilesDir;  // program option LastFilesDir, for the default folder
  std::string programDir;
  QNFileMessages messages;
  QNDecryptProject decryptProject;
  // After a project with EncryptDownloadedFiles set has been read.
  std::function<void(const std::string& path, CQNSettings& settings)> decryptDownloads;
  // A project that opened goes to the recent-project list.
  std::function<void(const std::string& path)> addRecent;
  // Shows (true) or hides (false) 65099 while a large project is read.
  std::function<void(bool shown)> showWait;
};

// Resets the document, then reads `path` as a project or a template by what the file
// holds. A template leaves `path` naming the project file beside it (its extension
// replaced by "qnp"), so a later Save writes a project; when that file exists, the
// template opens only if the messages' ConfirmReplace allows it, and a refusal
// fails without a further message. On failure 55495 is shown and the document is
// left reset; on success the tree has a root.
bool OpenDocumentFile(std::string& path, CQNSettings& settings, CQNDocTree& tree,
                      const QNOpenContext& context);

// `path` with the text after the last "." of its file name replaced by `extension`,
// or with "." and `extension` appended when the file name has no ".".
std::string WithExtension(const std::string& path, const std::string& extension);

}  // namespace qn
