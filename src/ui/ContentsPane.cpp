#include "ui/ContentsPane.h"

#include "engine/Doc.h"

namespace qn {

QNContentsPane::QNContentsPane(CQNDoc& doc, QWidget* parent)
    : QTreeView(parent),
      doc_(doc),
      model_(this),
      events_([this] { QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection); }) {
  setObjectName("ContentsPane");
  setAccessibleName(tr("Contents"));
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(&model_);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &QNContentsPane::SelectionChanged);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          &QNContentsPane::SelectionChanged);
  connect(this, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    if (const auto node = model_.NodeAt(index)) Q_EMIT NodeActivated(*node);
  });
}

void QNContentsPane::Drain() {
  std::vector<QNTreeEvent> nodes;
  const auto flush = [&] {
    if (!nodes.empty()) ApplyNodeEvents(nodes);
    nodes.clear();
  };
  bool rebuild = false;
  bool cleared = false;
  for (const QNTreeEvent& event : events_.TakeAll()) {
    switch (event.kind) {
      case QNTreeEvent::kNode:
        // A rebuild to come reads these nodes as they are then.
        if (!rebuild) nodes.push_back(event);
        break;
      case QNTreeEvent::kDiscarded:
        flush();
        usable_ = false;
        break;
      case QNTreeEvent::kUsable:
        usable_ = true;
        break;
      case QNTreeEvent::kCleared:
        nodes.clear();
        ClearDisplay();
        rebuild = true;
        cleared = true;
        break;
      case QNTreeEvent::kRebuild:
        nodes.clear();
        rebuild = true;
        break;
    }
  }
  flush();
  if (rebuild) Rebuild();
  // The engine waits for a cleared display to be built again (a run may start then);
  // whatever the display holds now, it is done.
  if (cleared) doc_.TreeDisplayReady();
}

void QNContentsPane::Rebuild() {
  // A display asked for while the tree is being discarded is built once the tree
  // is usable again, which the engine follows with a clear.
  if (usable_) {
    const QNDisplayLimits limits = DisplayLimitsOf(doc_);
    if (const auto records = ReadDisplayNodes(doc_, limits)) {
      model_.Fill(*records);
      filled_ = true;
      expandAll();
      const QModelIndex root = model_.RootIndex();
      setCurrentIndex(root);
      scrollTo(root);
    } else {
      ClearDisplay();
    }
  }
}

void QNContentsPane::ClearDisplay() {
  model_.Clear();
  filled_ = false;
}

void QNContentsPane::ExpandAll() {
  expandAll();
}

void QNContentsPane::CollapseAll() {
  collapseAll();
}

void QNContentsPane::GoToRoot() {
  const QModelIndex root = model_.RootIndex();
  if (!root.isValid()) return;
  setCurrentIndex(root);
  scrollTo(root);
}

bool QNContentsPane::ShowNode(const QNNodeId& node) {
  const QModelIndex index = model_.IndexOf(node);
  if (!index.isValid()) return false;
  setCurrentIndex(index);
  scrollTo(index);
  return true;
}

void QNContentsPane::RemoveNodes(const std::vector<QNNodeId>& nodes) {
  for (const QNNodeId& node : nodes) model_.Remove(node);
}

std::vector<QNNodeId> QNContentsPane::SelectedNodes() const {
  std::vector<QNNodeId> nodes;
  const auto current = CurrentNode();
  if (current && selectionModel()->isSelected(currentIndex())) nodes.push_back(*current);
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    const auto node = model_.NodeAt(index);
    if (node && (!current || !(*node == *current))) nodes.push_back(*node);
  }
  return nodes;
}

std::optional<QNNodeId> QNContentsPane::CurrentNode() const {
  return model_.NodeAt(currentIndex());
}

QNSelectionSummary QNContentsPane::Selection() const {
  QNSelectionSummary summary;
  const QModelIndexList rows = selectionModel()->selectedRows();
  summary.count = static_cast<int>(rows.size());
  if (summary.count == 0 || !usable_) return {};
  const QModelIndex root = model_.RootIndex();
  summary.rootSelected = selectionModel()->isSelected(root);
  // The single-node commands act on the current node when it is selected, else on
  // the first selected one.
  const QModelIndex current = currentIndex();
  const auto node = model_.NodeAt(selectionModel()->isSelected(current) ? current : rows.front());
  if (!node) return summary;
  auto lock = doc_.Locks().Hold(DocLock::Tree);
  if (const CQNDocNode* found = doc_.Tree().Resolve(*node)) {
    summary.kind = found->kind;
    summary.hasChildren = found->firstChild != nullptr;
  }
  return summary;
}

bool QNContentsPane::IsExpanded(const QNNodeId& node) const {
  return isExpanded(model_.IndexOf(node));
}

void QNContentsPane::ApplyNodeEvents(const std::vector<QNTreeEvent>& events) {
  // Node changes reach the display only once it has been filled, and not during a
  // run whose settings keep the display as it was.
  if (!filled_ || !usable_) return;
  const QNDisplayLimits limits = DisplayLimitsOf(doc_);
  if (limits.update == 0 && doc_.run.running) return;
  const auto records =
      ReadEventNodes(doc_, events, [this](const QNNodeId& id) { return model_.Shows(id); });
  const std::vector<QModelIndex> inserted = model_.Update(records, limits);
  if (limits.update != 1) return;
  for (const QModelIndex& index : inserted) {
    expand(index.parent());
    expand(index);
  }
}

}  // namespace qn
