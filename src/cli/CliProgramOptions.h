#pragma once

// The program options that quillorne-cli's runs read from the options file that the
// desktop program keeps: the connection, the proxy, the template of new projects,
// the end actions and the language. quillorne-cli never writes them.

#include <optional>
#include <string>

#include "app/DialUp.h"
#include "app/ProgramOptions.h"
#include "text/Texts.h"

namespace qn {

struct QNCliProgramOptions {
  // As the file holds them, but for LastFilesDir: the folder last chosen in a
  // dialog is no default for a program without one.
  QNProgramOptions shared;
  QNDialUpSettings dialUp;  // ConnType, RasEntry, RasUserID, RasUserPsw
};

QNCliProgramOptions LoadCliProgramOptions();

// Installs the language the options choose into `texts`, as the desktop program
// does, from the data folders; the message to show when its file cannot be read.
std::optional<std::string> LoadCliLanguage(QNTexts& texts);

}  // namespace qn
