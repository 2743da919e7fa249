#include "ui/DialogTexts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>

#include "text/Texts.h"
#include "ui/LanguageFont.h"

namespace qn {
namespace {

constexpr const char* kDialogProperty = "qnDialog";
constexpr const char* kControlProperty = "qnControl";

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

void TranslateDialog(QWidget* dialog, const QNTexts& texts) {
  const int dialogId = dialog->property(kDialogProperty).toInt();
  if (const auto caption = texts.DialogCaption(dialogId))
    dialog->setWindowTitle(QString::fromStdString(*caption));
  for (QWidget* control : dialog->findChildren<QWidget*>()) {
    const QVariant id = control->property(kControlProperty);
    if (!id.isValid() || OwningDialog(control) != dialog) continue;
    if (const auto text = texts.DialogItem(dialogId, id.toInt()))
      SetText(control, QString::fromStdString(*text));
  }
  ApplyDialogFont(*dialog, texts);
}

}  // namespace qn
