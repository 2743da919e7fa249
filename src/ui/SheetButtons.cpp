#include "ui/SheetButtons.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QWizard>

#include "text/MessageIds.h"
#include "text/Texts.h"
#include "ui/LanguageFont.h"

namespace qn {

void TranslateSheetButtons(QWidget& sheet, const QNTexts& texts) {
  const auto text = [&texts](int id) { return QString::fromStdString(texts.Text(id)); };
  if (auto* wizard = qobject_cast<QWizard*>(&sheet)) {
    wizard->setButtonText(QWizard::BackButton, text(kMsgWizardBack));
    wizard->setButtonText(QWizard::NextButton, text(kMsgWizardNext));
    wizard->setButtonText(QWizard::FinishButton, text(kMsgWizardFinish));
    wizard->setButtonText(QWizard::CancelButton, text(kMsgCancel));
    wizard->setButtonText(QWizard::HelpButton, text(kMsgHelp));
  }
  for (auto* box : sheet.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel))
      cancel->setText(text(kMsgCancel));
    if (QPushButton* help = box->button(QDialogButtonBox::Help)) help->setText(text(kMsgHelp));
  }
  ApplyDialogFont(sheet, texts);
}

}  // namespace qn
