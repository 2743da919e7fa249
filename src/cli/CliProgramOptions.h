#pragma once

// The program options that quillorne-cli's runs read from the options file that the
// desktop program keeps (section "Options"): the connection and the end actions.

#include "app/DialUp.h"

namespace qn {

struct QNCliProgramOptions {
  QNDialUpSettings dialUp;      // ConnType, RasEntry, RasUserID, RasUserPsw
  bool autoDisconnect = false;  // AutoDisconn
  bool autoShutdown = false;    // AutoShutdown
};

QNCliProgramOptions LoadCliProgramOptions();

// The stored form of a password: reversed, and each pair of neighbouring bits of
// every byte swapped. Its own inverse.
std::string ScrambledPassword(std::string password);

}  // namespace qn
