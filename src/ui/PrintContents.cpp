#include "ui/PrintContents.h"

#include <QPainter>
#include <QPrinter>
#include <QTreeView>
#include <vector>

#include "text/MessageIds.h"
#include "text/Texts.h"

namespace qn {
namespace {

struct PrintedRow {
  QModelIndex index;
  int depth;
};

std::vector<PrintedRow> ShownRows(const QTreeView& view) {
  std::vector<PrintedRow> rows;
  for (QModelIndex index = view.model()->index(0, 0); index.isValid();
       index = view.indexBelow(index)) {
    int depth = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++depth;
    rows.push_back({index, depth});
  }
  return rows;
}

}  // namespace

QNPrintTreeResult PrintTree(QPrinter& printer, const QTreeView& view, const QNTexts& texts,
                            const std::function<bool(int, int)>& goOn) {
  const std::vector<PrintedRow> rows = ShownRows(view);
  QPainter painter;
  if (!painter.begin(&printer)) return QNPrintTreeResult::kStopped;
  // In points, so that it prints at the size it has on the screen.
  QFont font = view.font();
  if (font.pointSizeF() <= 0) font.setPointSizeF(9);
  painter.setFont(font);
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect page = painter.viewport();
  const int line = metrics.height() * 5 / 4;
  const int indent = metrics.height() * 3 / 2;
  const int footer = line * 2;
  const int perPage = std::max(1, (page.height() - footer) / line);
  const int pages = std::max<int>(1, (static_cast<int>(rows.size()) + perPage - 1) / perPage);
  int deepest = 0;
  for (const PrintedRow& row : rows) deepest = std::max(deepest, row.depth);
  if (pages > kMaxTreePages || (deepest + 1) * indent > page.width() / 2) {
    painter.end();
    return QNPrintTreeResult::kTooBig;
  }
  for (int p = 0; p < pages; ++p) {
    if (goOn && !goOn(p + 1, pages)) {
      painter.end();
      return QNPrintTreeResult::kStopped;
    }
    if (p > 0) printer.newPage();
    const std::size_t first = static_cast<std::size_t>(p) * perPage;
    const std::size_t last = std::min(rows.size(), first + perPage);
    for (std::size_t r = first; r < last; ++r) {
      const int y = page.top() + static_cast<int>(r - first) * line;
      const int x = page.left() + rows[r].depth * indent;
      const QIcon icon = rows[r].index.data(Qt::DecorationRole).value<QIcon>();
      icon.paint(&painter, QRect(x, y, metrics.height(), metrics.height()));
      painter.drawText(QRect(x + indent, y, page.right() - x - indent, line),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                       metrics.elidedText(rows[r].index.data().toString(), Qt::ElideRight,
                                          page.right() - x - indent));
    }
    painter.drawText(QRect(page.left(), page.bottom() - line, page.width(), line),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QString::fromStdString(texts.Format(kMsgPageOf, p + 1, pages)));
  }
  painter.end();
  return QNPrintTreeResult::kPrinted;
}

}  // namespace qn
