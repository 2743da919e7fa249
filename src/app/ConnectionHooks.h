#pragma once

// The dial-up connection around a download, alike in both front ends.

#include "app/DialUp.h"
#include "engine/RunHooks.h"

namespace qn {

// Fills the run's dial hook: before the download the connection is dialed when
// `settings` ask for dial-up. `dialUp` outlives the run.
void InstallDialHook(QNRunEnvironment& environment, CQNDialUp& dialUp,
                     const QNDialUpSettings& settings, const QNMessenger& messenger);

// After a run whose end calls for it (DecideEndActions): hangs up a connection this
// program dialed, then shows the run's final status again, which the hang-up
// message replaced (not after a Stop).
void HangUpAfterRun(CQNDialUp& dialUp, const QNDialUpSettings& settings,
                    const QNMessenger& messenger, const QNRunEnd& end);

}  // namespace qn
