#pragma once

// Converting the links of a whole project after a download or on command.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qn {

class CQNDocTree;
class CQNDocNode;
class IQNObserver;
struct CQNSettings;

struct QNConversionResult {
  int converted = 0;  // files rewritten or found to need nothing
  int failed = 0;     // files left as they were because they could not be converted
  bool stopped = false;
};

// Before each visited node: the percentage done; false stops the walk.
using QNConversionProgress = std::function<bool(int percent)>;

// The start node of start address `index`: the root's child in that position when
// it holds the address, else the first child of the root that does; null when none.
CQNDocNode* StartNodeOf(const CQNDocTree& tree, int index, std::string_view address);

// The branches start address `index` covers: its start node's, then, for an address
// with a range pattern, those of the root's children that its expansions name (the
// download adds them under the root).
std::vector<CQNDocNode*> StartBranchesOf(const CQNDocTree& tree, int index,
                                         std::string_view address);

// For every start address in use (only the first in single-address mode) the branch
// of its start node is walked in pre-order with the start folder of that address;
// every downloaded HTML page and ".js" script in it is converted. The percentage is
// (visited + 1) x 100 over the tree's node count, at most 100. Nothing happens
// without a root.
QNConversionResult ConvertProject(const CQNDocTree& tree, const CQNSettings& settings,
                                  std::string_view programDir,
                                  const QNConversionProgress& progress = {});

// The status line while links are converted: "Converting Links... (n%)".
std::string ConvertingLinksText(std::string_view caption, int percent);

// Progress shown in the status line through the observer, with `caption` the text of
// 55519 "Converting Links..." after the language table.
QNConversionProgress StatusLineProgress(IQNObserver& observer, std::string caption);

}  // namespace qn
