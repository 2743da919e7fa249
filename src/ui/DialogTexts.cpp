#include "ui/DialogTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVariant>
#include <QWizard>

#include "text/Texts.h"
#include "ui/LanguageFont.h"

namespace qn {
namespace {

constexpr const char* kDialogProperty = "qnDialog";
constexpr const char* kControlProperty = "qnControl";
constexpr const char* kItemsProperty = "qnItems";

bool HasTranslatedItems(const QWidget* control) {
  return control->property(kItemsProperty).toBool();
}

const QWidget* OwningDialog(const QWidget* control) {
  for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget())
    if (w->property(kDialogProperty).isValid()) return w;
  return nullptr;
}

void SetText(QWidget* control, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    group->setTitle(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setPlaceholderText(text);
  } else if (auto* lines = qobject_cast<QPlainTextEdit*>(control)) {
    lines->setPlaceholderText(text);
  } else if (auto* number = qobject_cast<QSpinBox*>(control)) {
    number->setSuffix(text);
  } else if (auto* fraction = qobject_cast<QDoubleSpinBox*>(control)) {
    fraction->setSuffix(text);
  } else if (auto* list = qobject_cast<QComboBox*>(control); list && HasTranslatedItems(list)) {
    const QStringList items = text.split('\n');
    for (int i = 0; i < list->count() && i < items.size(); ++i) list->setItemText(i, items[i]);
  }
}

}  // namespace

void TagDialog(QWidget* dialog, int dialogId) {
  dialog->setProperty(kDialogProperty, dialogId);
}

void TagControl(QWidget* control, int controlId) {
  control->setProperty(kControlProperty, controlId);
  control->setObjectName(QString("idc%1").arg(controlId));
}

int StandardButtonId(int standardButton) {
  // QMessageBox's standard buttons have the values of QDialogButtonBox's.
  switch (standardButton) {
    case QDialogButtonBox::Ok:
      return kIdcOk;
    case QDialogButtonBox::Cancel:
      return kIdcCancel;
    case QDialogButtonBox::Yes:
      return kIdcYes;
    case QDialogButtonBox::No:
      return kIdcNo;
    case QDialogButtonBox::Close:
      return kIdcClose;
    default:
      return 0;
  }
}

void TagButtons(QDialogButtonBox* buttons) {
  for (QAbstractButton* button : buttons->buttons())
    if (const int id = StandardButtonId(buttons->standardButton(button))) TagControl(button, id);
}

void TranslateItems(QComboBox* list) {
  list->setProperty(kItemsProperty, true);
}

void TranslateDialog(QWidget* dialog, const QNTexts& texts) {
  const int dialogId = DialogIdOf(dialog);
  if (const auto caption = texts.DialogCaption(dialogId))
    dialog->setWindowTitle(QString::fromStdString(*caption));
  if (auto* page = qobject_cast<QWizardPage*>(dialog))
    if (const auto title = texts.DialogItem(dialogId, kIdcPageTitle))
      page->setTitle(QString::fromStdString(*title));
  for (const auto& [control, id] : DialogControls(dialog))
    if (const auto text = texts.DialogItem(dialogId, id))
      SetText(control, QString::fromStdString(*text));
  ApplyDialogFont(*dialog, texts);
}

QString DialogText(const QNTexts& texts, const QNDialogText& text) {
  if (const auto translated = texts.DialogItem(text.dialog, text.control))
    return QString::fromStdString(*translated);
  return QString::fromUtf8(text.builtIn);
}

int DialogIdOf(const QWidget* dialog) {
  return dialog->property(kDialogProperty).toInt();
}

std::vector<std::pair<QWidget*, int>> DialogControls(QWidget* dialog) {
  std::vector<std::pair<QWidget*, int>> controls;
  for (QWidget* control : dialog->findChildren<QWidget*>()) {
    const QVariant id = control->property(kControlProperty);
    if (id.isValid() && OwningDialog(control) == dialog) controls.emplace_back(control, id.toInt());
  }
  return controls;
}

QString ControlText(const QWidget* control) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
  if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->placeholderText();
  if (const auto* lines = qobject_cast<const QPlainTextEdit*>(control))
    return lines->placeholderText();
  if (const auto* number = qobject_cast<const QSpinBox*>(control)) return number->suffix();
  if (const auto* fraction = qobject_cast<const QDoubleSpinBox*>(control))
    return fraction->suffix();
  if (const auto* list = qobject_cast<const QComboBox*>(control);
      list && HasTranslatedItems(list)) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items.join('\n');
  }
  return {};
}

}  // namespace qn
