#include "storage/ProjectConversion.h"

#include <algorithm>
#include <unordered_set>

#include "records/DocTree.h"
#include "records/TreeFiles.h"
#include "records/TreeWalk.h"
#include "seams/Observer.h"
#include "settings/ProjectSettings.h"
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

std::vector<CQNDocNode*> StartBranchesOf(const CQNDocTree& tree, int index,
                                         std::string_view address) {
  std::vector<CQNDocNode*> branches;
  CQNDocNode* start = StartNodeOf(tree, index, address);
  if (start) branches.push_back(start);
  if (!tree.root || !HasRangePattern(address)) return branches;
  std::string pattern(address);
  std::vector<std::string> expanded;
  ExpandRangePattern(pattern, expanded, true);
  std::unordered_set<std::string> names;
  for (const std::string& each : expanded) names.insert(NormalizeForCompare(each));
  for (CQNDocNode* child = tree.root->firstChild; child; child = child->nextSibling)
    if (child != start && names.contains(NormalizeForCompare(child->url)))
      branches.push_back(child);
  return branches;
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
    // The download named the files of every branch with the start folder of the
    // address as the user wrote it, range pattern and all.
    QNLinkRules rules{QNNamingContext::From(settings, GetBaseDirectory(address), programDir),
                      settings.QN_UPDLINKS};
    for (CQNDocNode* start : StartBranchesOf(tree, i, address)) {
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
