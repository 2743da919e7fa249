#include "ui/LabelFor.h"

#include <QLabel>

#include "ui/DialogTexts.h"

namespace qn {

QLabel* LabelFor(const QString& text, QWidget* field, int fieldId) {
  return TaggedLabel(text, field, fieldId + kLabelIdOffset);
}

QLabel* TaggedLabel(const QString& text, QWidget* field, int labelId) {
  auto* label = new QLabel(text, field->parentWidget());
  label->setBuddy(field);
  TagControl(label, labelId);
  return label;
}

}  // namespace qn
