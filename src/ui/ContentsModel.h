#pragma once

// The contents tree as the tree pane shows it: an item model on the GUI thread that
// holds its own copy of what it shows (identity, title and picture of each item),
// filled from records read under the tree lock. It never holds a node pointer, so a
// node that goes away can leave nothing dangling here.

#include <QAbstractItemModel>
#include <optional>
#include <unordered_map>
#include <vector>

#include "ui/NodePictures.h"
#include "ui/NodeRecords.h"

namespace qn {

class QNContentsModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit QNContentsModel(QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Empties the display.
  void Clear();
  // Replaces the display by these records (a parent before its children).
  void Fill(const std::vector<QNNodeRecord>& records);
  // Refreshes the items of nodes already shown and puts the others in, within the
  // limits, under their parent's item after their nearest earlier sibling's. The
  // items put in, in order.
  std::vector<QModelIndex> Update(const std::vector<QNNodeRecord>& records,
                                  const QNDisplayLimits& limits);
  // Takes a node's item out, with everything below it.
  void Remove(const QNNodeId& node);

  bool Shows(const QNNodeId& node) const { return byNode_.count(node) != 0; }
  QModelIndex IndexOf(const QNNodeId& node) const;
  std::optional<QNNodeId> NodeAt(const QModelIndex& index) const;
  QModelIndex RootIndex() const;
  // Items now in the display.
  int ItemCount() const { return static_cast<int>(byNode_.size()); }

 private:
  struct Item {
    QNNodeId node;
    int parent = -1;
    int row = 0;
    std::vector<int> children;
    QString title;
    QNNodePicture picture;
  };

  int NewItem(const QNNodeRecord& record, int parent);
  void SetLook(Item& item, const QNNodeRecord& record);
  QModelIndex IndexOfItem(int item) const;
  void ForgetSubtree(int item);
  void EmitChanged(std::vector<int>& items);

  QNNodeIcons icons_;
  std::vector<Item> items_;
  std::vector<int> free_;  // places of removed items, used again
  std::unordered_map<QNNodeId, int, QNNodeIdHash> byNode_;
  int top_ = -1;  // the root's item
};

}  // namespace qn
