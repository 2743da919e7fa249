#pragma once

// "Print Contents...": the contents tree as the pane shows it, one item a line,
// indented by its depth, with its picture and title, and "Page %d/%d" on each page.

#include <functional>

class QPrinter;
class QTreeView;

namespace qn {

class QNTexts;

enum class QNPrintTreeResult { kPrinted, kTooBig, kStopped };

// Prints the items of `view` that are shown (every item whose parents are expanded).
// The tree is too big when its deepest item leaves less than half the page's width
// for the titles, or when it takes more than kMaxTreePages pages: collapsing nodes
// helps in both cases. `goOn(page, pages)` is asked before each page.
constexpr int kMaxTreePages = 500;
QNPrintTreeResult PrintTree(QPrinter& printer, const QTreeView& view, const QNTexts& texts,
                            const std::function<bool(int, int)>& goOn);

}  // namespace qn
