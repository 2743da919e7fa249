#include "ui/LabelFor.h"

#include <QLabel>

#include "ui/DialogTexts.h"

namespace qn {

QLabel* LabelFor(const QString& text, QWidget* field, int fieldId) {
  auto* label = new QLabel(text, field->parentWidget());
  label->setBuddy(field);
  TagControl(label, fieldId + kLabelIdOffset);
  return label;
}

}  // namespace qn
