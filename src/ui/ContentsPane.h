#pragma once

// The contents tree pane: the tree view over the contents model, fed by the
// engine's tree notifications. They come from the run's threads into a queue; the
// pane takes them on the GUI thread, reads the nodes they name under the tree lock
// in batches, and keeps the display as the project's display settings ask.

#include <QTreeView>
#include <optional>
#include <vector>

#include "ui/CommandRules.h"
#include "ui/ContentsModel.h"
#include "ui/TreeEvents.h"

namespace qn {

class CQNDoc;

class QNContentsPane : public QTreeView {
  Q_OBJECT

 public:
  QNContentsPane(CQNDoc& doc, QWidget* parent = nullptr);

  // Where the engine's tree notifications go; any thread may push.
  QNTreeEventQueue& Events() { return events_; }

  // Display commands.
  // Builds the display from the nodes ("Update Contents Tree", and after an open).
  void Rebuild();
  // Empties the display; the nodes stay ("Delete Contents Tree", and at a close).
  void ClearDisplay();
  void ExpandAll();
  void CollapseAll();
  void GoToRoot();
  // Selects the node's item and scrolls it into view; false when it has none.
  bool ShowNode(const QNNodeId& node);
  // Takes the items of deleted nodes out.
  void RemoveNodes(const std::vector<QNNodeId>& nodes);

  // The selected nodes, the current one first.
  std::vector<QNNodeId> SelectedNodes() const;
  std::optional<QNNodeId> CurrentNode() const;
  // What the commands need to know of the selection, read from the nodes.
  QNSelectionSummary Selection() const;
  // Whether the tree may be touched: false while the engine discards it.
  bool Usable() const { return usable_; }
  // Whether the item of the node is expanded (the insertion rule asks).
  bool IsExpanded(const QNNodeId& node) const;

  QNContentsModel& Model() { return model_; }

  // Takes the queued notifications and handles them in order.
  Q_INVOKABLE void Drain();

 Q_SIGNALS:
  void SelectionChanged();
  // A node was double-clicked or chosen with Enter.
  void NodeActivated(const QNNodeId& node);

 private:
  void ApplyNodeEvents(const std::vector<QNTreeEvent>& events);

  CQNDoc& doc_;
  QNContentsModel model_;
  QNTreeEventQueue events_;
  bool usable_ = true;
  bool filled_ = false;
};

}  // namespace qn
