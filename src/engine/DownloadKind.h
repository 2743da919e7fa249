#pragma once

// The choice of download kind when the user starts a download.

#include "records/TreeStats.h"

namespace qn {

// What the dialog "Choose the Download Type" offers; "Start new download" is always
// offered.
struct QNDownloadKindOffer {
  bool ask = false;  // false: start a new download without a dialog
  bool offerContinue = false;
  bool offerSelected = false;
  bool offerFailed = false;
  int preselected = 1;  // the kind preselected in the dialog
};

// An unattended run ("-D" or the scheduler) continues a run that did not end, and
// otherwise starts anew.
int UnattendedDownloadKind(int downloadState);

// The dialog's offer from the last run's ending and the counts over the tree.
QNDownloadKindOffer OfferDownloadKinds(int downloadState, const QNStartModeStats& stats);

}  // namespace qn
