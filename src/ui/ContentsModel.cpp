#include "ui/ContentsModel.h"

#include <algorithm>
#include <map>

namespace qn {

QNContentsModel::QNContentsModel(QObject* parent) : QAbstractItemModel(parent) {}

QModelIndex QNContentsModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row == 0 && top_ >= 0 ? createIndex(0, 0, top_) : QModelIndex();
  const Item& item = items_[parent.internalId()];
  if (row >= static_cast<int>(item.children.size())) return {};
  return createIndex(row, 0, item.children[row]);
}

QModelIndex QNContentsModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  return IndexOfItem(items_[child.internalId()].parent);
}

int QNContentsModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return top_ >= 0 ? 1 : 0;
  return static_cast<int>(items_[parent.internalId()].children.size());
}

int QNContentsModel::columnCount(const QModelIndex&) const {
  return 1;
}

bool QNContentsModel::hasChildren(const QModelIndex& parent) const {
  return rowCount(parent) > 0;
}

QVariant QNContentsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Item& item = items_[index.internalId()];
  if (role == Qt::DisplayRole) return item.title;
  if (role == Qt::DecorationRole) return icons_.Icon(item.picture);
  return {};
}

void QNContentsModel::Clear() {
  beginResetModel();
  items_.clear();
  free_.clear();
  byNode_.clear();
  top_ = -1;
  endResetModel();
}

void QNContentsModel::Fill(const std::vector<QNNodeRecord>& records) {
  beginResetModel();
  items_.clear();
  free_.clear();
  byNode_.clear();
  top_ = -1;
  items_.reserve(records.size());
  byNode_.reserve(records.size());
  for (const QNNodeRecord& record : records) {
    if (record.parent.IsNone()) {
      if (top_ < 0) top_ = NewItem(record, -1);
      continue;
    }
    const auto parent = byNode_.find(record.parent);
    if (parent == byNode_.end()) continue;
    const int item = NewItem(record, parent->second);
    Item& above = items_[parent->second];
    items_[item].row = static_cast<int>(above.children.size());
    above.children.push_back(item);
  }
  endResetModel();
}

std::vector<QModelIndex> QNContentsModel::Update(const std::vector<QNNodeRecord>& records,
                                                 const QNDisplayLimits& limits) {
  std::vector<int> changed;
  std::vector<int> inserted;
  for (const QNNodeRecord& record : records) {
    if (const auto shown = byNode_.find(record.id); shown != byNode_.end()) {
      SetLook(items_[shown->second], record);
      changed.push_back(shown->second);
      continue;
    }
    if (!limits.Admits(record.look.kind, record.look.type) || !limits.HasRoom(ItemCount()))
      continue;
    if (record.parent.IsNone()) {
      if (top_ >= 0) continue;
      beginInsertRows({}, 0, 0);
      top_ = NewItem(record, -1);
      endInsertRows();
      inserted.push_back(top_);
      continue;
    }
    const auto parent = byNode_.find(record.parent);
    if (parent == byNode_.end()) continue;
    int row = 0;
    for (const QNNodeId& id : record.before) {
      const auto sibling = byNode_.find(id);
      if (sibling != byNode_.end() && items_[sibling->second].parent == parent->second) {
        row = items_[sibling->second].row + 1;
        break;
      }
    }
    beginInsertRows(IndexOfItem(parent->second), row, row);
    const int item = NewItem(record, parent->second);
    std::vector<int>& siblings = items_[parent->second].children;
    siblings.insert(siblings.begin() + row, item);
    for (int i = row; i < static_cast<int>(siblings.size()); ++i) items_[siblings[i]].row = i;
    endInsertRows();
    inserted.push_back(item);
  }
  EmitChanged(changed);
  std::vector<QModelIndex> indexes;
  indexes.reserve(inserted.size());
  for (int item : inserted) indexes.push_back(IndexOfItem(item));
  return indexes;
}

void QNContentsModel::Remove(const QNNodeId& node) {
  const auto found = byNode_.find(node);
  if (found == byNode_.end()) return;
  const int item = found->second;
  const int parent = items_[item].parent;
  const int row = items_[item].row;
  beginRemoveRows(IndexOfItem(parent), row, row);
  if (parent < 0) {
    top_ = -1;
  } else {
    std::vector<int>& siblings = items_[parent].children;
    siblings.erase(siblings.begin() + row);
    for (int i = row; i < static_cast<int>(siblings.size()); ++i) items_[siblings[i]].row = i;
  }
  ForgetSubtree(item);
  endRemoveRows();
}

QModelIndex QNContentsModel::IndexOf(const QNNodeId& node) const {
  const auto found = byNode_.find(node);
  return found == byNode_.end() ? QModelIndex() : IndexOfItem(found->second);
}

std::optional<QNNodeId> QNContentsModel::NodeAt(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return std::nullopt;
  return items_[index.internalId()].node;
}

QModelIndex QNContentsModel::RootIndex() const {
  return IndexOfItem(top_);
}

int QNContentsModel::NewItem(const QNNodeRecord& record, int parent) {
  int item = 0;
  if (free_.empty()) {
    item = static_cast<int>(items_.size());
    items_.emplace_back();
  } else {
    item = free_.back();
    free_.pop_back();
  }
  Item& made = items_[item];
  made.node = record.id;
  made.parent = parent;
  made.row = 0;
  made.children.clear();
  SetLook(made, record);
  byNode_[record.id] = item;
  return item;
}

void QNContentsModel::SetLook(Item& item, const QNNodeRecord& record) {
  item.title = QString::fromUtf8(record.title.data(), static_cast<qsizetype>(record.title.size()));
  item.picture = NodePicture(record.look);
}

QModelIndex QNContentsModel::IndexOfItem(int item) const {
  if (item < 0) return {};
  return createIndex(items_[item].row, 0, static_cast<quintptr>(item));
}

void QNContentsModel::ForgetSubtree(int item) {
  std::vector<int> pending{item};
  while (!pending.empty()) {
    const int next = pending.back();
    pending.pop_back();
    Item& gone = items_[next];
    pending.insert(pending.end(), gone.children.begin(), gone.children.end());
    gone.children.clear();
    byNode_.erase(gone.node);
    free_.push_back(next);
  }
}

void QNContentsModel::EmitChanged(std::vector<int>& items) {
  // One signal per parent, over the rows from the first to the last changed child.
  std::map<int, std::pair<int, int>> spans;
  for (int item : items) {
    const Item& changed = items_[item];
    auto [span, added] = spans.try_emplace(changed.parent, changed.row, changed.row);
    if (!added) {
      span->second.first = std::min(span->second.first, changed.row);
      span->second.second = std::max(span->second.second, changed.row);
    }
  }
  for (const auto& [parent, rows] : spans) {
    const QModelIndex above = IndexOfItem(parent);
    const int first = rows.first, last = rows.second;
    Q_EMIT dataChanged(index(first, 0, above), index(last, 0, above),
                       {Qt::DisplayRole, Qt::DecorationRole});
  }
}

}  // namespace qn
