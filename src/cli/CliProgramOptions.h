#pragma once

// The program options that quillorne-cli's runs read from the options file that the
// desktop program keeps (section "Options"): the connection, the end actions and the
// language.

#include <optional>
#include <string>

#include "app/DialUp.h"
#include "text/Texts.h"

namespace qn {

struct QNCliProgramOptions {
  QNDialUpSettings dialUp;      // ConnType, RasEntry, RasUserID, RasUserPsw
  bool autoDisconnect = false;  // AutoDisconn
  bool autoShutdown = false;    // AutoShutdown
  bool useLngFile = false;      // UseLngFile
  std::string lngFile;          // LngFile
};

QNCliProgramOptions LoadCliProgramOptions();

// Installs the language the options choose into `texts`, as the desktop program
// does; the message to show when its file cannot be read.
std::optional<std::string> LoadCliLanguage(QNTexts& texts);

// The stored form of a password: reversed, and each pair of neighbouring bits of
// every byte swapped. Its own inverse.
std::string ScrambledPassword(std::string password);

}  // namespace qn
