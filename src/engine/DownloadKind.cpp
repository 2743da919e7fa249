#include "engine/DownloadKind.h"

#include "engine/Filters.h"
#include "engine/RunState.h"

namespace qn {
namespace {

bool RunDidNotEnd(int downloadState) {
  return downloadState == kInterrupted || downloadState == kRunning;
}

}  // namespace

int UnattendedDownloadKind(int downloadState) {
  return RunDidNotEnd(downloadState) ? kKindContinue : kKindNew;
}

QNDownloadKindOffer OfferDownloadKinds(int downloadState, const QNStartModeStats& stats) {
  QNDownloadKindOffer offer;
  offer.ask = RunDidNotEnd(downloadState) || stats.marked > 0 || stats.failed > 0 || stats.anyOpen;
  if (!offer.ask) return offer;
  offer.offerContinue = RunDidNotEnd(downloadState) || stats.anyOpen;
  offer.offerSelected = stats.marked > 0;
  offer.offerFailed = stats.failed > 0;
  if (offer.offerSelected)
    offer.preselected = kKindSelected;
  else if (offer.offerContinue)
    offer.preselected = kKindContinue;
  else
    offer.preselected = kKindNew;
  return offer;
}

}  // namespace qn
