#pragma once

// Fixed ids on dialogs and their controls, and the translation a language file gives
// for them: a dialog (or a page of a tabbed dialog) carries its id, each control that
// shows a text carries its control id, and an installed language replaces the
// caption and those texts; without one the built-in captions stay.

class QWidget;

namespace qn {

class QNTexts;

void TagDialog(QWidget* dialog, int dialogId);
// Also names the control ("idc<id>"), so that tests and screenshots find it.
void TagControl(QWidget* control, int controlId);
// The label of a field carries the field's id plus this.
constexpr int kLabelIdOffset = 500;

// Replaces the caption and the texts of the tagged controls that belong to this
// dialog (not to a page inside it) where the installed language has them.
void TranslateDialog(QWidget* dialog, const QNTexts& texts);

}  // namespace qn
