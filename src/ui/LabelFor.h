#pragma once

// The label of a field: its mnemonic moves the focus to the field, and it carries
// the field's id plus kLabelIdOffset for translations.

#include <QLabel>
#include <QString>

class QWidget;

namespace qn {

QLabel* LabelFor(const QString& text, QWidget* field, int fieldId);
// The same with an id of the label's own.
QLabel* TaggedLabel(const QString& text, QWidget* field, int labelId);

}  // namespace qn
