#pragma once

// When each command of the main window can be chosen, as a function of the project,
// the run, the selection in the contents tree and the page view. The window fills
// the state after every change and enables its actions from it.

namespace qn {

// The nodes selected in the contents tree.
struct QNSelectionSummary {
  int count = 0;
  bool rootSelected = false;
  // Of the node the single-node commands act on (the current one, or the only one).
  int kind = 0;  // kNodeRoot, kNodeFolder, kNodeLink; 0 when nothing is selected
  bool hasChildren = false;

  bool NonRootSelected() const { return count > (rootSelected ? 1 : 0); }
};

struct QNCommandState {
  bool projectOpen = false;
  bool running = false;
  bool paused = false;
  // A conversion or a folder print works on the project: the window waits for it.
  bool busy = false;
  QNSelectionSummary selection;
  // The page view.
  bool pageShown = false;
  bool canGoBack = false;
  bool canGoForward = false;
  // The pane that has the focus offers these clipboard operations.
  bool canCut = false;
  bool canCopy = false;
  bool canPaste = false;
  // The project's download report can be opened.
  bool reportExists = false;
};

bool CommandEnabled(int command, const QNCommandState& state);

}  // namespace qn
