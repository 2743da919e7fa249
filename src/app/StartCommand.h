#pragma once

#include "app/CommandLine.h"

namespace qn {

// What the program does once the first project is open.
enum class QNStartCommand {
  kNone,
  kStartDownload,  // "-D" with a project that opened
  kConvertLinks,   // "-CONV" without "-D", with a project that opened
  // The command line's project failed to open while "-E" or "-SHUT" asked the
  // program to end by itself: nobody may be there to close it, so it ends at once
  // with a failure status.
  kExitFailed,
};

// `projectOpened`: whether the command line's project opened (unused without one).
QNStartCommand CommandAfterFirstOpen(const QNCommandLine& commandLine, bool projectOpened);

}  // namespace qn
