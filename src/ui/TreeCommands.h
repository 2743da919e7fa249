#pragma once

// The commands that change or search the contents tree: add a folder or a link,
// delete nodes (with their files when asked), mark nodes for the next download,
// show and edit a node's properties, find text. Each resolves the nodes it works on
// under the tree lock when it runs; none keeps a node between two commands.

#include <optional>
#include <string>
#include <vector>

#include "records/DocTree.h"
#include "storage/PrintFolder.h"

class QString;
class QWidget;

namespace qn {

class CQNDoc;
class QNContentsPane;

class QNTreeCommands {
 public:
  // `parent`: the window the commands' dialogs and questions belong to.
  QNTreeCommands(CQNDoc& doc, QNContentsPane& pane, QWidget& parent);

  // "Add Folder..." and "Add Link...": next to or into the current node.
  void AddNode(int kind);
  // "Delete Folder / Link...": the selected nodes other than the root, after asking.
  void DeleteSelected();
  // "Select for next Download": toggles the mark of the selected nodes; never the root.
  void ToggleMarks();
  // "Node Properties...": the current node's; editable while no run goes on.
  void ShowProperties();
  // Finds the next node after the current one (after the root when none, or when
  // `fromRoot`); shows it, or says that nothing was found.
  bool Find(const std::string& text, int flags, bool forward, bool fromRoot = false);

  // The addresses of the selected nodes, one a line (what "Copy" puts on the
  // clipboard from the tree).
  QString SelectedAddresses() const;
  // What a double click shows of a node: its saved file, else its address.
  std::string AddressToShow(const QNNodeId& node) const;
  // The pages of the current folder node for "Print Folder", and the start address
  // they were named from.
  struct PagesToPrint {
    std::vector<QNPrintPage> pages;
    std::string startAddress;
  };
  PagesToPrint FolderPages() const;

 private:
  // The node the single-node commands act on; null when none. Under the tree lock.
  CQNDocNode* ResolveCurrent() const;
  bool Ask(int id, bool preselectYes) const;
  void Tell(const std::string& text) const;

  CQNDoc& doc_;
  QNContentsPane& pane_;
  QWidget& parent_;
};

}  // namespace qn
