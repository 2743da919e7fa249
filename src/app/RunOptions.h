#pragma once

// The program options that shape downloads, shared by the desktop program and
// quillorne-cli so that both front ends behave alike.

#include <string>

#include "app/DialUp.h"
#include "app/ProgramOptions.h"
#include "web/InternetOptions.h"

namespace qn {

class QNProjectSession;

// Proxy, cache and redirection options of every Internet handle.
QNInternetOptions InternetOptionsFrom(const QNProgramOptions& options);

// What the dial-up connection reads of the options.
QNDialUpSettings DialUpSettingsFrom(const QNProgramOptions& options);

// Makes `session` a new project: the default settings (the download folder below
// LastFilesDir, or "Download/" in `writableDir`), then those of the template file
// when the options ask for one. A template that cannot be read is reported (55495)
// and the defaults stay.
void StartNewProject(QNProjectSession& session, const QNProgramOptions& options,
                     const std::string& writableDir);

}  // namespace qn
