#include "ui/FileTypesPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "settings/ExtListChanges.h"
#include "text/NoCase.h"
#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/ExtensionDialog.h"
#include "ui/MessageBox.h"
#include "ui/NumberBox.h"
#include "ui/SettingsIds.h"

namespace qn {
namespace {

enum Column { kName, kMin, kMax };

QString SizeInKB(bool on, double bytes) {
  return on ? QString::number(bytes / kKB, 'f', 2) : QString();
}

}  // namespace

QNFileTypesPage::QNFileTypesPage(const QNTexts& texts, QWidget* parent)
    : QNSettingsPage(kDlgPageFileTypes, tr("File Types"), parent), texts_(texts) {
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  categories_ = Tagged(new QListWidget(this), kIdcCategories);
  for (std::size_t i = 0; i < kCategoryOrder.size(); ++i) {
    auto* item = new QListWidgetItem(QString::fromStdString(texts.Text(kCategoryNameIds[i])));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setData(Qt::UserRole, kCategoryOrder[i]);
    categories_->addItem(item);
  }
  categories_->setMaximumWidth(categories_->sizeHintForColumn(0) * 2 +
                               categories_->frameWidth() * 2);
  left->addWidget(LabelFor(tr("&Load these types:"), categories_, kIdcCategories));
  left->addWidget(categories_);
  layout->addLayout(left);

  auto* right = new QVBoxLayout;
  extensions_ = Tagged(new QTreeWidget(this), kIdcExtensions);
  extensions_->setRootIsDecorated(false);
  extensions_->setUniformRowHeights(true);
  extensions_->setHeaderLabels({DialogText(texts, kTxtExtColumnName),
                                DialogText(texts, kTxtExtColumnMin),
                                DialogText(texts, kTxtExtColumnMax)});
  extensions_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  right->addWidget(LabelFor(tr("E&xtensions (checked are loaded):"), extensions_, kIdcExtensions));
  right->addWidget(extensions_, 1);

  auto* edit = new QGridLayout;
  // Made in the order of the tab key: each limit's switch and value, then the buttons.
  minOn_ = Tagged(new QCheckBox(tr("Mi&n. Size:"), this), kIdcExtMin + kLabelIdOffset);
  min_ = Tagged(new QNNumberBox(kSizeInKB, this), kIdcExtMin);
  maxOn_ = Tagged(new QCheckBox(tr("Max. Si&ze:"), this), kIdcExtMax + kLabelIdOffset);
  max_ = Tagged(new QNNumberBox(kSizeInKB, this), kIdcExtMax);
  add_ = Tagged(new QPushButton(tr("&Add..."), this), kIdcAddExtension);
  remove_ = Tagged(new QPushButton(tr("&Remove"), this), kIdcRemoveExtension);
  min_->setAccessibleName(tr("Minimum size in KB"));
  max_->setAccessibleName(tr("Maximum size in KB"));
  edit->addWidget(minOn_, 0, 0);
  edit->addWidget(min_, 0, 1);
  edit->addWidget(Tagged(new QLabel(tr("KB"), this), kIdcExtMinUnit), 0, 2);
  edit->addWidget(maxOn_, 1, 0);
  edit->addWidget(max_, 1, 1);
  edit->addWidget(Tagged(new QLabel(tr("KB"), this), kIdcExtMaxUnit), 1, 2);
  edit->setColumnStretch(3, 1);
  edit->addWidget(add_, 0, 4);
  edit->addWidget(remove_, 1, 4);
  right->addLayout(edit);
  layout->addLayout(right, 1);

  connect(categories_, &QListWidget::currentRowChanged, this, &QNFileTypesPage::ShowCategory);
  connect(extensions_, &QTreeWidget::currentItemChanged, this, &QNFileTypesPage::ShowEntry);
  connect(extensions_, &QTreeWidget::itemChanged, this, &QNFileTypesPage::EntryChanged);
  connect(add_, &QPushButton::clicked, this, &QNFileTypesPage::AddExtensionAsked);
  connect(remove_, &QPushButton::clicked, this, &QNFileTypesPage::RemoveExtension);
  for (QCheckBox* box : {minOn_, maxOn_})
    connect(box, &QCheckBox::toggled, this, &QNFileTypesPage::LimitsEdited);
  for (QNNumberBox* box : {min_, max_})
    connect(box, &QNNumberBox::valueChanged, this, &QNFileTypesPage::LimitsEdited);
}

void QNFileTypesPage::Load(const CQNSettings& settings) {
  lists_ = settings.QN_FILE_EXT;
  {
    const QScopedValueRollback filling(filling_, true);
    for (int row = 0; row < categories_->count(); ++row) {
      QListWidgetItem* item = categories_->item(row);
      const bool loaded = (settings.QN_FILE_TYPES & item->data(Qt::UserRole).toInt()) != 0;
      item->setCheckState(loaded ? Qt::Checked : Qt::Unchecked);
    }
  }
  categories_->setCurrentRow(0);
  ShowCategory();
}

void QNFileTypesPage::Store(CQNSettings& settings) const {
  // Only the bits of the listed categories change.
  for (int row = 0; row < categories_->count(); ++row) {
    const QListWidgetItem* item = categories_->item(row);
    const int bit = item->data(Qt::UserRole).toInt();
    settings.QN_FILE_TYPES = item->checkState() == Qt::Checked ? settings.QN_FILE_TYPES | bit
                                                               : settings.QN_FILE_TYPES & ~bit;
  }
  settings.QN_FILE_EXT = lists_;
}

ExtList& QNFileTypesPage::ShownList() {
  return lists_[static_cast<std::size_t>(std::max(categories_->currentRow(), 0))];
}

CQNExtEntry* QNFileTypesPage::SelectedEntry() {
  const int row = extensions_->indexOfTopLevelItem(extensions_->currentItem());
  return row < 0 ? nullptr : &ShownList()[static_cast<std::size_t>(row)];
}

void QNFileTypesPage::FillRow(QTreeWidgetItem* item, const CQNExtEntry& entry) {
  item->setText(kName, QString::fromStdString(entry.extension));
  item->setCheckState(kName, entry.enabled ? Qt::Checked : Qt::Unchecked);
  item->setText(kMin, SizeInKB(entry.minOn, entry.min));
  item->setText(kMax, SizeInKB(entry.maxOn, entry.max));
  item->setTextAlignment(kMin, Qt::AlignRight | Qt::AlignVCenter);
  item->setTextAlignment(kMax, Qt::AlignRight | Qt::AlignVCenter);
}

void QNFileTypesPage::ShowCategory() {
  {
    const QScopedValueRollback filling(filling_, true);
    extensions_->clear();
    for (const CQNExtEntry& entry : ShownList()) {
      auto* item = new QTreeWidgetItem(extensions_);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      FillRow(item, entry);
    }
  }
  extensions_->setCurrentItem(extensions_->topLevelItem(0));
  ShowEntry();
}

void QNFileTypesPage::ShowEntry() {
  const CQNExtEntry* entry = SelectedEntry();
  {
    const QScopedValueRollback filling(filling_, true);
    minOn_->setChecked(entry && entry->minOn);
    maxOn_->setChecked(entry && entry->maxOn);
    min_->SetHeld(entry ? entry->min : 0);
    max_->SetHeld(entry ? entry->max : 0);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{remove_, minOn_, maxOn_}) w->setEnabled(entry);
  min_->setEnabled(entry && minOn_->isChecked());
  max_->setEnabled(entry && maxOn_->isChecked());
}

void QNFileTypesPage::EntryChanged(QTreeWidgetItem* item, int column) {
  if (filling_ || column != kName) return;
  const int row = extensions_->indexOfTopLevelItem(item);
  if (row < 0) return;
  ShownList()[static_cast<std::size_t>(row)].enabled = item->checkState(kName) == Qt::Checked;
}

void QNFileTypesPage::LimitsEdited() {
  min_->setEnabled(minOn_->isEnabled() && minOn_->isChecked());
  max_->setEnabled(maxOn_->isEnabled() && maxOn_->isChecked());
  CQNExtEntry* entry = SelectedEntry();
  if (filling_ || !entry) return;
  entry->minOn = minOn_->isChecked();
  entry->maxOn = maxOn_->isChecked();
  entry->min = min_->Held();
  entry->max = max_->Held();
  const QScopedValueRollback filling(filling_, true);
  FillRow(extensions_->currentItem(), *entry);
}

bool QNFileTypesPage::AddExtension(const QString& typed) {
  QString name = typed.trimmed();
  while (name.startsWith('.')) name.remove(0, 1);
  std::string extension = name.toStdString().substr(0, kMaxExtensionLength);
  ExtList& list = ShownList();
  const bool known = std::any_of(list.begin(), list.end(), [&](const CQNExtEntry& entry) {
    return EqualNoCase(entry.extension, extension);
  });
  if (extension.empty() || known || name.contains('/') || name.contains('\\')) {
    AskUser(this, QMessageBox::Warning, windowTitle(),
            DialogText(texts_, extension.empty() || known ? kTxtExtDuplicate : kTxtExtSeparator),
            QMessageBox::Ok, QMessageBox::Ok, texts_);
    return false;
  }
  list.push_back(CQNExtEntry{extension});
  ShowCategory();
  extensions_->setCurrentItem(extensions_->topLevelItem(extensions_->topLevelItemCount() - 1));
  return true;
}

void QNFileTypesPage::AddExtensionAsked() {
  QNExtensionDialog dialog(texts_, this);
  if (dialog.exec() == QDialog::Accepted) AddExtension(dialog.Name());
}

void QNFileTypesPage::RemoveExtension() {
  const int row = extensions_->indexOfTopLevelItem(extensions_->currentItem());
  if (row < 0) return;
  ExtList& list = ShownList();
  list.erase(list.begin() + row);
  ShowCategory();
  if (!list.empty())
    extensions_->setCurrentItem(extensions_->topLevelItem(std::min<int>(row, list.size() - 1)));
}

}  // namespace qn
