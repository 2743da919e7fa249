#include "ui/NodeDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "records/DocTree.h"
#include "settings/FileTypes.h"
#include "text/SizeText.h"
#include "text/Texts.h"

namespace qn {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString StateName(int state) {
  switch (state) {
    case kStateTaken:
      return QObject::tr("Being downloaded");
    case kStateDone:
      return QObject::tr("Downloaded");
    case kStateFailed:
      return QObject::tr("Failed");
    default:
      return QObject::tr("Not downloaded yet");
  }
}

QLabel* ValueLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  label->setWordWrap(true);
  return label;
}

}  // namespace

QNNodeDialog::QNNodeDialog(int kind, const QNTexts& texts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(kind == kNodeFolder ? tr("Folder Properties") : tr("Link Properties"));
  BuildCommon(texts, true);
  // A folder usually holds a page.
  if (kind == kNodeFolder) type_->setCurrentIndex(type_->findData(kCatHtml));
}

QNNodeDialog::QNNodeDialog(const QNNodeFacts& facts, bool editable, const QNTexts& texts,
                           QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Node Properties"));
  BuildCommon(texts, false);
  title_->setText(FromStd(facts.title));
  url_->setText(FromStd(facts.url));
  url_->setCursorPosition(0);
  const int type = type_->findData(facts.look.type);
  type_->setCurrentIndex(type >= 0 ? type : 0);
  for (QWidget* field :
       {static_cast<QWidget*>(title_), static_cast<QWidget*>(url_), static_cast<QWidget*>(type_)})
    field->setEnabled(editable);

  form_->addRow(
      tr("Saved as:"),
      ValueLabel(facts.localFile.empty() ? tr("(nothing saved)") : FromStd(facts.localFile), this));
  form_->addRow(tr("State:"), ValueLabel(StateName(facts.look.state), this));
  form_->addRow(
      tr("Size:"),
      ValueLabel(FromStd(FormatSizeText(
                     texts, static_cast<std::uint64_t>(std::max<std::int64_t>(facts.size, 0)))),
                 this));
  form_->addRow(
      tr("Level:"),
      ValueLabel(facts.level == kUnset ? QString("-") : QString::number(facts.level), this));
  form_->addRow(
      tr("Next download:"),
      ValueLabel(facts.look.mark == kMarkSelected ? tr("Selected") : tr("Not selected"), this));
}

void QNNodeDialog::BuildCommon(const QNTexts& texts, bool severalUrls) {
  form_ = new QFormLayout;
  title_ = new QLineEdit(this);
  form_->addRow(tr("&Title:"), title_);
  if (severalUrls) {
    urls_ = new QPlainTextEdit(this);
    urls_->setTabChangesFocus(true);
    urls_->setLineWrapMode(QPlainTextEdit::NoWrap);
    urls_->setPlaceholderText(tr("One address a line"));
    const QFontMetrics metrics(urls_->font());
    urls_->setMinimumSize(metrics.averageCharWidth() * 48, metrics.lineSpacing() * 5);
    form_->addRow(tr("&URL:"), urls_);
  } else {
    url_ = new QLineEdit(this);
    url_->setMinimumWidth(QFontMetrics(url_->font()).averageCharWidth() * 48);
    form_->addRow(tr("&URL:"), url_);
  }
  type_ = new QComboBox(this);
  type_->addItem(tr("Not known yet"), 0);
  for (std::size_t i = 0; i < kCategoryOrder.size(); ++i)
    type_->addItem(FromStd(texts.Text(kCategoryNameIds[i])), kCategoryOrder[i]);
  form_->addRow(tr("File t&ype:"), type_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form_);
  layout->addWidget(buttons);
}

QNNodeEdit QNNodeDialog::Edit() const {
  QNNodeEdit edit;
  edit.title = title_->text().trimmed().toStdString();
  edit.type = type_->currentData().toInt();
  if (url_) {
    edit.urls.push_back(url_->text().trimmed().toStdString());
    return edit;
  }
  for (const QString& line : urls_->toPlainText().split('\n', Qt::SkipEmptyParts)) {
    const QString url = line.trimmed();
    if (!url.isEmpty()) edit.urls.push_back(url.toStdString());
  }
  return edit;
}

}  // namespace qn
