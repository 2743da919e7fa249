#include "storage/ProjectConversion.h"

#include <algorithm>

#include "engine/Observer.h"
#include "project/ProjectSettings.h"
#include "records/DocTree.h"
#include "records/TreeFiles.h"
#include "records/TreeWalk.h"
#include "storage/LinkConversion.h"
#include "web/Address.h"

namespace qn {

CQNDocNode* StartNodeOf(const CQNDocTree& tree, int index, std::string_view address) {
  if (!tree.root) return nullptr;
  CQNDocNode* slot = tree.ChildByPosition(index + 1);
  if (slot && SamePathOrDirectory(slot->url, address)) return slot;
  for (CQNDocNode* child = tree.root->firstChild; child; child = child->nextSibling)
    if (SamePathOrDirectory(child->url, address)) return child;
  return nullptr;
}

QNConversionResult ConvertProject(const CQNDocTree& tree, const CQNSettings& settings,
                                  std::string_view programDir,
                                  const QNConversionProgress& progress) {
  QNConversionResult result;
  if (!tree.root) return result;
  const long total = std::max(tree.count, 1);
  long visited = 0;
  const int starts = settings.QN_SINGLE_URL == 1 ? 1 : settings.StartUrlCount;
  for (int i = 0; i < starts && i < static_cast<int>(settings.QN_START_URL.size()); ++i) {
    const std::string& address = settings.QN_START_URL[i];
    if (address.empty()) continue;
    CQNDocNode* start = StartNodeOf(tree, i, address);
    if (!start) continue;
    QNLinkRules rules{QNNamingContext::From(settings, GetBaseDirectory(address), programDir),
                      settings.QN_UPDLINKS};
    for (CQNDocNode* node : PreOrder(start)) {
      if (IsConvertible(*node)) {
        if (ConvertSavedFile(*node, settings, rules))
          ++result.converted;
        else
          ++result.failed;
      }
      const int percent = static_cast<int>(std::min<long>((visited + 1) * 100 / total, 100));
      ++visited;
      if (progress && !progress(percent)) {
        result.stopped = true;
        return result;
      }
    }
  }
  return result;
}

std::string ConvertingLinksText(std::string_view caption, int percent) {
  return std::string(caption) + " (" + std::to_string(percent) + "%)";
}

QNConversionProgress StatusLineProgress(IQNObserver& observer, std::string caption) {
  return [&observer, caption = std::move(caption), last = -1](int percent) mutable {
    // The line changes only when its text does: a large tree would flood the view.
    if (percent != last) {
      last = percent;
      QNStatus status;
      status.mask = QNStatus::kStatusText;
      status.text3 = ConvertingLinksText(caption, percent);
      observer.OnStatus(status);
    }
    return true;
  };
}

}  // namespace qn
