#pragma once

// The choice of download kind when the user starts a download.

#include "records/TreeStats.h"
#include "seams/Observer.h"

namespace qn {

// An unattended run ("-D" or the scheduler) continues a run that did not end, and
// otherwise starts anew.
int UnattendedDownloadKind(int downloadState);

// The dialog's offer from the last run's ending and the counts over the tree.
QNDownloadKindOffer OfferDownloadKinds(int downloadState, const QNStartModeStats& stats);

}  // namespace qn
