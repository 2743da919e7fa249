#include "ui/UrlFilterList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "text/MessageIds.h"
#include "ui/DialogTextTable.h"
#include "ui/SettingsIds.h"
#include "ui/SettingsPage.h"
#include "ui/UrlFilterDialog.h"

namespace qn {

QNUrlFilterList::QNUrlFilterList(const QNTexts& texts, QWidget* parent)
    : QWidget(parent), texts_(texts) {
  const auto text = [&texts](int id) { return QString::fromStdString(texts.Text(id)); };
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = Tagged(new QTreeWidget(this), kIdcFilters);
  view_->setRootIsDecorated(false);
  view_->setUniformRowHeights(true);
  view_->setAllColumnsShowFocus(true);
  view_->setHeaderLabels({DialogText(texts, kTxtFilterAction), text(kMsgFilterProtocol),
                          text(kMsgFilterServer), text(kMsgFilterDirectory), text(kMsgFilterFile)});
  view_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  view_->header()->setStretchLastSection(true);
  view_->setAccessibleName(tr("URL filters"));
  layout->addWidget(view_, 1);

  auto* buttons = new QVBoxLayout;
  insert_ = Tagged(new QPushButton(text(kMsgInsertFilter), this), kIdcInsertFilter);
  edit_ = Tagged(new QPushButton(text(kMsgEditFilter), this), kIdcEditFilter);
  remove_ = Tagged(new QPushButton(text(kMsgRemoveFilter), this), kIdcRemoveFilter);
  for (QPushButton* button : {insert_, edit_, remove_}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  layout->addLayout(buttons);

  connect(insert_, &QPushButton::clicked, this, &QNUrlFilterList::InsertFilter);
  connect(edit_, &QPushButton::clicked, this, &QNUrlFilterList::EditFilter);
  connect(remove_, &QPushButton::clicked, this, &QNUrlFilterList::RemoveFilter);
  connect(new QShortcut(QKeySequence(Qt::Key_Insert), view_, nullptr, nullptr, Qt::WidgetShortcut),
          &QShortcut::activated, this, &QNUrlFilterList::InsertFilter);
  connect(new QShortcut(QKeySequence::Delete, view_, nullptr, nullptr, Qt::WidgetShortcut),
          &QShortcut::activated, this, &QNUrlFilterList::RemoveFilter);
  connect(view_, &QTreeWidget::itemActivated, this, &QNUrlFilterList::EditFilter);
  connect(view_, &QTreeWidget::itemSelectionChanged, this, [this] {
    edit_->setEnabled(Selected() >= 0);
    remove_->setEnabled(Selected() >= 0);
  });
  Show(-1);
}

void QNUrlFilterList::SetFilters(std::vector<CQNUrlFilter> filters) {
  filters_ = std::move(filters);
  Show(-1);
}

void QNUrlFilterList::Show(int select) {
  view_->clear();
  for (const CQNUrlFilter& filter : filters_) {
    view_->addTopLevelItem(new QTreeWidgetItem(
        {DialogText(texts_, filter.include ? kTxtFilterLoad : kTxtFilterSkip),
         ProtocolName(filter.protocol, texts_), QString::fromStdString(filter.server),
         QString::fromStdString(filter.directory), QString::fromStdString(filter.file)}));
  }
  if (select >= 0 && select < view_->topLevelItemCount())
    view_->setCurrentItem(view_->topLevelItem(select));
  edit_->setEnabled(Selected() >= 0);
  remove_->setEnabled(Selected() >= 0);
}

int QNUrlFilterList::Selected() const {
  const QList<QTreeWidgetItem*> selected = view_->selectedItems();
  return selected.isEmpty() ? -1 : view_->indexOfTopLevelItem(selected.first());
}

bool QNUrlFilterList::Ask(CQNUrlFilter& filter, const QString& title) {
  QNUrlFilterDialog dialog(filter, title, texts_, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  filter = dialog.Filter();
  return true;
}

void QNUrlFilterList::InsertFilter() {
  CQNUrlFilter filter;
  if (!Ask(filter, QString::fromStdString(texts_.Text(kMsgInsertFilter)))) return;
  const int at = Selected() >= 0 ? Selected() : static_cast<int>(filters_.size());
  filters_.insert(filters_.begin() + at, filter);
  Show(at);
}

void QNUrlFilterList::EditFilter() {
  const int at = Selected();
  if (at < 0) return;
  CQNUrlFilter filter = filters_[at];
  if (!Ask(filter, QString::fromStdString(texts_.Text(kMsgEditFilter)))) return;
  filters_[at] = filter;
  Show(at);
}

void QNUrlFilterList::RemoveFilter() {
  const int at = Selected();
  if (at < 0) return;
  filters_.erase(filters_.begin() + at);
  Show(std::min(at, static_cast<int>(filters_.size()) - 1));
}

}  // namespace qn
