#include "ui/PrjWizPage.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/DialogTexts.h"
#include "ui/WizardIds.h"

namespace qn {

QNPrjWizPage::QNPrjWizPage(int page, const QString& caption, QNPrjWizState& state)
    : state_(state), layout_(new QVBoxLayout(this)) {
  setWindowTitle(caption);
  TagDialog(this, kDlgPrjWizPage0 + page);
}

void QNPrjWizPage::AddIntro(const QString& text) {
  auto* intro = new QLabel(text, this);
  intro->setWordWrap(true);
  TagControl(intro, kIdcWizIntro);
  layout_->addWidget(intro);
  layout_->addSpacing(intro->fontMetrics().height() / 2);
}

QRadioButton* QNPrjWizPage::AddChoice(QButtonGroup* group, int id, const QString& text,
                                      int controlId, QWidget* parent) {
  auto* button = new QRadioButton(text, parent);
  TagControl(button, controlId);
  group->addButton(button, id);
  return button;
}

}  // namespace qn
