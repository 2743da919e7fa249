#include "ui/ExtensionDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/DialogIds.h"
#include "ui/DialogTexts.h"
#include "ui/LabelFor.h"

namespace qn {

QNExtensionDialog::QNExtensionDialog(const QNTexts& texts, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(this)) {
  setWindowTitle(tr("Add Extension"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  TagButtons(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TaggedLabel(tr("E&xtension (without the dot):"), name_, kIdcExtName));
  layout->addWidget(name_);
  layout->addWidget(buttons);
  TagDialog(this, kDlgAddExtension);
  TranslateDialog(this, texts);
}

QString QNExtensionDialog::Name() const {
  return name_->text();
}

}  // namespace qn
