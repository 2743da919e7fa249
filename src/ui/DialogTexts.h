#pragma once

// Fixed ids on dialogs and their controls, and the translation a language file gives
// for them: a dialog (or a page of a tabbed dialog) carries its id, each control that
// shows a text carries its control id, and an installed language replaces the
// caption and those texts; without one the built-in captions stay.

#include <QString>
#include <utility>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QWidget;

namespace qn {

class QNTexts;

void TagDialog(QWidget* dialog, int dialogId);
// Also names the control ("idc<id>"), so that tests and screenshots find it.
void TagControl(QWidget* control, int controlId);
// The label of a field carries the field's id plus this.
constexpr int kLabelIdOffset = 500;

// The customary ids of the standard buttons, the same in every dialog.
enum QNButtonId : int {
  kIdcOk = 1,
  kIdcCancel = 2,
  kIdcYes = 6,
  kIdcNo = 7,
  kIdcClose = 8,
  // Not a button: the heading a wizard page shows above its controls.
  kIdcPageTitle = 1999,
};
// The id of a standard button of QDialogButtonBox or QMessageBox, 0 for the others.
int StandardButtonId(int standardButton);
// Tags the standard buttons a button box holds with those ids.
void TagButtons(QDialogButtonBox* buttons);
// Marks a tagged list whose items are the program's own words (not names, not data),
// so that the language gives them: one item a line.
void TranslateItems(QComboBox* list);

// Replaces the caption, a wizard page's heading and the texts of the tagged controls
// that belong to this dialog (not to a page inside it) where the installed language
// has them.
void TranslateDialog(QWidget* dialog, const QNTexts& texts);

// A text a dialog shows that is not the fixed text of one of its controls: a caption
// or a button text it switches to while it runs, a message, a column heading. The
// language names it by (dialog, control) like a control's text.
struct QNDialogText {
  int dialog;
  int control;
  const char* builtIn;
};
// The installed language's text, else the built-in one.
QString DialogText(const QNTexts& texts, const QNDialogText& text);

// What a translation covers, for whoever checks one: a widget's dialog id (0 when it
// is not a tagged dialog), the tagged controls that belong to it with their ids, and
// the text a control shows (its caption, a field's placeholder, a number's unit, the
// items of a list marked with TranslateItems).
int DialogIdOf(const QWidget* dialog);
std::vector<std::pair<QWidget*, int>> DialogControls(QWidget* dialog);
QString ControlText(const QWidget* control);

}  // namespace qn
