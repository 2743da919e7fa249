#pragma once

#include "app/DialUp.h"
#include "engine/Doc.h"

namespace qn {

// Fills a run's dial and hang-up hooks: before the download the connection is
// dialed when `settings` ask for dial-up; after it, a connection this program
// dialed is hung up when `hangUpWanted` ("-DISC", the schedule entry or
// "AutoDisconn", whichever decides for the run). `dialUp` and `doc` outlive the run.
void InstallConnectionHooks(QNRunEnvironment& environment, CQNDoc& doc, CQNDialUp& dialUp,
                            const QNDialUpSettings& settings, bool hangUpWanted);

}  // namespace qn
