#include "ui/LogPane.h"

#include <QFontDatabase>

#include "records/DownloadLog.h"

namespace qn {
namespace {

// The log's lines end in "\r\n"; the pane shows them as plain lines.
QString ForDisplay(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  shown.remove(QLatin1Char('\r'));
  return shown;
}

}  // namespace

QNLogPane::QNLogPane(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("LogPane");
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setAccessibleName(tr("Download log"));
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

QSize QNLogPane::sizeHint() const {
  constexpr int kLines = 6;
  const int frame = 2 * frameWidth() + static_cast<int>(2 * document()->documentMargin());
  return {QPlainTextEdit::sizeHint().width(), kLines * fontMetrics().lineSpacing() + frame};
}

void QNLogPane::OnLogText(const std::string& text) {
  if (text.empty()) {
    ShowText({});
    return;
  }
  if (shown_ + text.size() > kLogPaneLimit) return;
  shown_ += text.size();
  // At the end, whatever the user clicked on, and kept in view there.
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(ForDisplay(text));
  setTextCursor(end);
  ensureCursorVisible();
}

void QNLogPane::ShowText(const std::string& text) {
  shown_ = text.size();
  setPlainText(ForDisplay(text));
  moveCursor(QTextCursor::End);
  ensureCursorVisible();
}

}  // namespace qn
