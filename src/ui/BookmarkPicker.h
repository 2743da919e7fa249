#pragma once

// The dialog that picks one start address from the user's favorites and bookmarks:
// the sources found on this computer (those not found shown but not selectable), a
// profile chooser when a browser has several, and the tree of folders and links. OK
// is offered only while a link is selected; double-clicking a link is OK.

#include <QDialog>
#include <QFutureWatcher>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/BookmarkSources.h"
#include "text/Texts.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qn {

class CQNBookmarkPicker : public QDialog {
  Q_OBJECT

 public:
  // `sources` as FindBookmarkSources gives them; `preferred` is the source shown
  // first when it is available, else the first that is.
  CQNBookmarkPicker(std::vector<QNBookmarkSource> sources, QNBookmarkBrowser preferred,
                    QNTexts texts, QWidget* parent = nullptr);

  // The address of the chosen link; empty while none is selected.
  std::string Address() const;

  // Shows the bookmarks of an exported bookmark file (what "Bookmark File..." asks for).
  void ShowBookmarkFile(const QString& file);

 Q_SIGNALS:
  // The tree shows the source or profile chosen last.
  void TreeFilled();

 private:
  void ChooseSource(int index);
  void ChooseProfile(int index);
  void Read(QNBookmarkFormat format, const std::filesystem::path& file);
  void Fill(const QNBookmarkTree& tree);
  void SelectItem(QTreeWidgetItem* item);

  QString SourceCaption(QNBookmarkBrowser browser) const;

  std::vector<QNBookmarkSource> sources_;
  QNTexts texts_;
  int shownSource_ = -1;  // the entry of the source box that the tree shows
  QFutureWatcher<QNBookmarkTree>* watcher_;

  QComboBox* sourceBox_;
  QLabel* profileLabel_;
  QComboBox* profileBox_;
  QTreeWidget* tree_;
  QLabel* note_;
  QLineEdit* address_;
  QDialogButtonBox* buttons_;
};

// Picks one start address from the favorites and bookmarks of the user running the
// program, `first` shown first when it is found ("Internet Explorer Favorites..."
// and "Netscape Bookmarks..." of the new-project wizard's "Import URLs"). The chosen
// address, or nothing when the user cancelled.
std::optional<std::string> PickBookmarkAddress(QWidget* parent, QNBookmarkBrowser first,
                                               const QNTexts& texts);

}  // namespace qn
