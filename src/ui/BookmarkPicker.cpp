#include "ui/BookmarkPicker.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "bookmarks/Environment.h"
#include "ui/BookmarkIcons.h"
#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"

namespace qn {
namespace {

// The entry of the source box that opens a file dialog instead of a source.
constexpr int kFileEntry = -1;

QString FromPath(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace

CQNBookmarkPicker::CQNBookmarkPicker(std::vector<QNBookmarkSource> sources,
                                     QNBookmarkBrowser preferred, QNTexts texts, QWidget* parent)
    : QDialog(parent), sources_(std::move(sources)), texts_(std::move(texts)) {
  sourceBox_ = new QComboBox(this);
  profileBox_ = new QComboBox(this);
  tree_ = new QTreeWidget(this);
  note_ = new QLabel(this);
  address_ = new QLineEdit(this);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  watcher_ = new QFutureWatcher<QNBookmarkTree>(this);

  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  tree_->setAccessibleName(tr("Bookmarks"));
  const QFontMetrics metrics(font());
  tree_->setMinimumSize(metrics.averageCharWidth() * 56, metrics.height() * 18);
  note_->setWordWrap(true);
  note_->hide();
  address_->setReadOnly(true);
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);

  auto* form = new QFormLayout;
  form->addRow(TaggedLabel(tr("&Import from:"), sourceBox_, kIdcBmSource), sourceBox_);
  profileLabel_ = TaggedLabel(tr("&Profile:"), profileBox_, kIdcBmProfile);
  form->addRow(profileLabel_, profileBox_);
  auto* treeLabel = TaggedLabel(tr("&Bookmarks:"), tree_, kIdcBmTree);
  auto* addressForm = new QFormLayout;
  addressForm->addRow(TaggedLabel(tr("&Address:"), address_, kIdcBmAddress), address_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(treeLabel);
  layout->addWidget(tree_, 1);
  layout->addWidget(note_);
  layout->addLayout(addressForm);
  layout->addWidget(buttons_);
  setTabOrder(sourceBox_, profileBox_);
  setTabOrder(profileBox_, tree_);
  setTabOrder(tree_, address_);
  setTabOrder(address_, buttons_);
  TagButtons(buttons_);
  setWindowTitle(tr("Import Bookmarks"));
  TagDialog(this, kDlgBookmarks);
  TranslateDialog(this, texts_);

  auto* entries = qobject_cast<QStandardItemModel*>(sourceBox_->model());
  int first = kFileEntry;
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    const QNBookmarkSource& source = sources_[i];
    const int entry = static_cast<int>(i);
    sourceBox_->addItem(SourceCaption(source.browser), entry);
    if (!source.Available()) {
      entries->item(entry)->setEnabled(false);
      sourceBox_->setItemData(entry, DialogText(texts_, kTxtBmNotFound), Qt::ToolTipRole);
    } else if (first == kFileEntry || source.browser == preferred) {
      first = entry;
    }
  }
  sourceBox_->addItem(DialogText(texts_, kTxtBmFileEntry), kFileEntry);

  connect(sourceBox_, &QComboBox::activated, this, &CQNBookmarkPicker::ChooseSource);
  connect(profileBox_, &QComboBox::activated, this, &CQNBookmarkPicker::ChooseProfile);
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { SelectItem(item); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!item->data(0, Qt::UserRole).toString().isEmpty()) accept();
  });
  connect(watcher_, &QFutureWatcher<QNBookmarkTree>::finished, this,
          [this] { Fill(watcher_->result()); });
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  if (first == kFileEntry) {
    // Nothing was found: the user can still open an exported file.
    profileLabel_->hide();
    profileBox_->hide();
    note_->setText(DialogText(texts_, kTxtBmNothingFound));
    note_->show();
    sourceBox_->setCurrentIndex(-1);
    return;
  }
  sourceBox_->setCurrentIndex(first);
  ChooseSource(first);
}

std::string CQNBookmarkPicker::Address() const {
  return address_->text().toStdString();
}

void CQNBookmarkPicker::ChooseSource(int index) {
  if (sourceBox_->itemData(index).toInt() == kFileEntry) {
    const QString file =
        QFileDialog::getOpenFileName(this, DialogText(texts_, kTxtBmOpenCaption), QDir::homePath(),
                                     DialogText(texts_, kTxtBmOpenFilter));
    if (file.isEmpty()) {
      sourceBox_->setCurrentIndex(shownSource_);
      return;
    }
    ShowBookmarkFile(file);
    return;
  }
  shownSource_ = index;
  const QNBookmarkSource& source = sources_[static_cast<std::size_t>(index)];
  setWindowTitle(DialogText(texts_, kTxtBmImportSource).arg(SourceCaption(source.browser)));
  profileBox_->clear();
  for (const QNBookmarkProfile& profile : source.profiles) {
    profileBox_->addItem(QString::fromStdString(profile.name));
    profileBox_->setItemData(profileBox_->count() - 1, FromPath(profile.file), Qt::ToolTipRole);
  }
  const bool choice = source.profiles.size() > 1;
  profileLabel_->setVisible(choice);
  profileBox_->setVisible(choice);
  ChooseProfile(0);
}

void CQNBookmarkPicker::ChooseProfile(int index) {
  const QNBookmarkSource& source = sources_[static_cast<std::size_t>(shownSource_)];
  if (index < 0 || static_cast<std::size_t>(index) >= source.profiles.size()) return;
  Read(source.format, source.profiles[static_cast<std::size_t>(index)].file);
}

void CQNBookmarkPicker::ShowBookmarkFile(const QString& file) {
  shownSource_ = sourceBox_->count() - 1;
  sourceBox_->setCurrentIndex(shownSource_);
  setWindowTitle(DialogText(texts_, kTxtBmImportFile));
  profileBox_->clear();
  profileLabel_->hide();
  profileBox_->hide();
  Read(QNBookmarkFormat::BookmarkFile, file.toStdString());
}

void CQNBookmarkPicker::Read(QNBookmarkFormat format, const std::filesystem::path& file) {
  tree_->clear();
  SelectItem(nullptr);
  note_->setText(DialogText(texts_, kTxtBmReading).arg(FromPath(file)));
  note_->show();
  // A large database is copied before it is read, so the window stays responsive;
  // watching the new read drops the end of one that another choice has overtaken.
  watcher_->setFuture(QtConcurrent::run([format, file] { return ReadBookmarks(format, file); }));
}

void CQNBookmarkPicker::Fill(const QNBookmarkTree& tree) {
  std::vector<QTreeWidgetItem*> made;
  made.reserve(tree.items.size());
  const QIcon folder = BookmarkIcon(QNBookmarkKind::Folder);
  const QIcon favorite = BookmarkIcon(QNBookmarkKind::Favorite);
  const QIcon bookmark = BookmarkIcon(QNBookmarkKind::Bookmark);
  for (const QNBookmarkItem& item : tree.items) {
    auto* row = item.parent < 0 ? new QTreeWidgetItem(tree_)
                                : new QTreeWidgetItem(made[static_cast<std::size_t>(item.parent)]);
    row->setText(0, QString::fromStdString(item.text));
    switch (item.kind) {
      case QNBookmarkKind::Folder:
        row->setIcon(0, folder);
        break;
      case QNBookmarkKind::Favorite:
        row->setIcon(0, favorite);
        break;
      case QNBookmarkKind::Bookmark:
        row->setIcon(0, bookmark);
        break;
    }
    if (!item.address.empty()) {
      row->setData(0, Qt::UserRole, QString::fromStdString(item.address));
      row->setToolTip(0, QString::fromStdString(item.address));
    }
    made.push_back(row);
  }
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) tree_->topLevelItem(i)->setExpanded(true);
  note_->setText(DialogText(texts_, kTxtBmNoAddresses));
  note_->setVisible(!tree.HasLinks());
  Q_EMIT TreeFilled();
}

void CQNBookmarkPicker::SelectItem(QTreeWidgetItem* item) {
  const QString address = item == nullptr ? QString() : item->data(0, Qt::UserRole).toString();
  address_->setText(address);
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(!address.isEmpty());
}

QString CQNBookmarkPicker::SourceCaption(QNBookmarkBrowser browser) const {
  return DialogText(texts_,
                    static_cast<QNDialogTextId>(kTxtBmBrowser0 + static_cast<int>(browser)));
}

std::optional<std::string> PickBookmarkAddress(QWidget* parent, QNBookmarkBrowser first,
                                               const QNTexts& texts) {
  CQNBookmarkPicker picker(FindBookmarkSources(ProcessEnvironment()), first, texts, parent);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.Address();
}

}  // namespace qn
