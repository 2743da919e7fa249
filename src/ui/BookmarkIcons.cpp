#include "ui/BookmarkIcons.h"

namespace qn {

QIcon BookmarkIcon(QNBookmarkKind kind) {
  switch (kind) {
    case QNBookmarkKind::Folder: {
      const QString closed = QStringLiteral(":/icons/folder-closed.svg");
      const QString open = QStringLiteral(":/icons/folder-open.svg");
      QIcon icon;
      icon.addFile(closed, {}, QIcon::Normal, QIcon::Off);
      icon.addFile(open, {}, QIcon::Selected, QIcon::Off);
      icon.addFile(open, {}, QIcon::Normal, QIcon::On);
      icon.addFile(open, {}, QIcon::Selected, QIcon::On);
      return icon;
    }
    case QNBookmarkKind::Favorite:
      return QIcon(QStringLiteral(":/icons/link-favorite.svg"));
    case QNBookmarkKind::Bookmark:
      return QIcon(QStringLiteral(":/icons/link-bookmark.svg"));
  }
  return {};
}

}  // namespace qn
