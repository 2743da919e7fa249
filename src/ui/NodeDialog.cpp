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
#include "ui/DialogIds.h"
#include "ui/DialogTextTable.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"

namespace qn {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QNDialogTextId StateName(int state) {
  switch (state) {
    case kStateTaken:
      return kTxtNodeStateTaken;
    case kStateDone:
      return kTxtNodeStateDone;
    case kStateFailed:
      return kTxtNodeStateFailed;
    default:
      return kTxtNodeStateNone;
  }
}

QLabel* ValueLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  label->setWordWrap(true);
  return label;
}

// A value's row of the form, its label tagged.
void AddValueRow(QFormLayout* form, const QString& label, int labelId, const QString& value,
                 QWidget* parent) {
  QLabel* shown = ValueLabel(value, parent);
  form->addRow(TaggedLabel(label, shown, labelId), shown);
}

}  // namespace

QNNodeDialog::QNNodeDialog(int kind, const QNTexts& texts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(kind == kNodeFolder ? tr("Folder Properties") : tr("Link Properties"));
  BuildCommon(texts, true);
  // A folder usually holds a page.
  if (kind == kNodeFolder) type_->setCurrentIndex(type_->findData(kCatHtml));
  TagDialog(this, kind == kNodeFolder ? kDlgAddFolder : kDlgAddLink);
  TranslateDialog(this, texts);
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

  AddValueRow(
      form_, tr("Saved as:"), kIdcNodeSavedAs,
      facts.localFile.empty() ? DialogText(texts, kTxtNodeNothingSaved) : FromStd(facts.localFile),
      this);
  AddValueRow(form_, tr("State:"), kIdcNodeState, DialogText(texts, StateName(facts.look.state)),
              this);
  AddValueRow(form_, tr("Size:"), kIdcNodeSize,
              FromStd(FormatSizeText(
                  texts, static_cast<std::uint64_t>(std::max<std::int64_t>(facts.size, 0)))),
              this);
  AddValueRow(form_, tr("Level:"), kIdcNodeLevel,
              facts.level == kUnset ? QString("-") : QString::number(facts.level), this);
  AddValueRow(
      form_, tr("Next download:"), kIdcNodeMark,
      DialogText(texts, facts.look.mark == kMarkSelected ? kTxtNodeSelected : kTxtNodeNotSelected),
      this);
  TagDialog(this, kDlgNodeProperties);
  TranslateDialog(this, texts);
}

void QNNodeDialog::BuildCommon(const QNTexts& texts, bool severalUrls) {
  form_ = new QFormLayout;
  title_ = new QLineEdit(this);
  form_->addRow(TaggedLabel(tr("&Title:"), title_, kIdcNodeTitle), title_);
  if (severalUrls) {
    urls_ = new QPlainTextEdit(this);
    urls_->setTabChangesFocus(true);
    urls_->setLineWrapMode(QPlainTextEdit::NoWrap);
    urls_->setPlaceholderText(tr("One address a line"));
    TagControl(urls_, kIdcNodeUrls);
    const QFontMetrics metrics(urls_->font());
    urls_->setMinimumSize(metrics.averageCharWidth() * 48, metrics.lineSpacing() * 5);
    form_->addRow(TaggedLabel(tr("&URL:"), urls_, kIdcNodeUrl), urls_);
  } else {
    url_ = new QLineEdit(this);
    url_->setMinimumWidth(QFontMetrics(url_->font()).averageCharWidth() * 48);
    form_->addRow(TaggedLabel(tr("&URL:"), url_, kIdcNodeUrl), url_);
  }
  type_ = new QComboBox(this);
  type_->addItem(DialogText(texts, kTxtNodeTypeUnknown), 0);
  for (std::size_t i = 0; i < kCategoryOrder.size(); ++i)
    type_->addItem(FromStd(texts.Text(kCategoryNameIds[i])), kCategoryOrder[i]);
  form_->addRow(TaggedLabel(tr("File t&ype:"), type_, kIdcNodeType), type_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
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
