#pragma once

// Saving and closing the open project of quillorne-cli, reporting what failed.

#include "app/ProjectSession.h"
#include "cli/CliOutput.h"

namespace qn {

// Writes the project file when the project has one; false (reported) when it failed.
bool SaveCliProject(QNProjectSession& session, QNCliOutput& output);

// Opening decrypted the project; it goes back into its archives as its settings
// ask, with QUILLORNE_PASSWORD when no password was asked for on the way. False
// (reported) when that failed or cannot be done yet.
bool EncryptCliProject(QNProjectSession& session, QNCliOutput& output);

// The exit status; when threads that a forced stop gave up on still run, the program
// leaves at once with it, since they may still be inside the transfer library and
// meet the destructors.
int LeaveWith(int status, bool threadsLeftBehind);

}  // namespace qn
