#pragma once

// What opening and closing a project do with its encrypted archives.

#include <functional>
#include <string>

#include "project/ProjectOpen.h"
#include "storage/ProjectPaths.h"

namespace qn {

struct QNMessenger;

// For QNOpenContext::decryptProject: decrypts an encrypted project file in place.
// A password asked on the way is kept in `settings` (which opening reads the project
// into), so the archive of the downloaded files needs no second question.
QNDecryptProject ProjectDecryptor(CQNSettings& settings, const QNMessenger& messenger);

// For QNOpenContext::decryptDownloads: brings the downloaded files back from the
// archive beside the project file.
std::function<void(const std::string& path, CQNSettings& settings)> DownloadsDecryptor(
    const QNMessenger& messenger);

// After the project was saved on closing: encrypts the project files and then the
// downloaded files (deleting them once archived), as the settings ask. True when
// everything asked for was done.
bool EncryptOnClose(const QNProjectFiles& files, const CQNSettings& settings, CQNDocTree& tree,
                    const QNMessenger& messenger);

}  // namespace qn
