#pragma once

// The buttons of the wizards and sheets in the installed language: "< Back",
// "Next >", "Finish", "Cancel" and "Help" come from the string table (65076 to
// 65080), and the sheet takes the language's dialog font.

class QWidget;

namespace qn {

class QNTexts;

// For a wizard, its own buttons; for another sheet, the Cancel and Help buttons of
// its button boxes.
void TranslateSheetButtons(QWidget& sheet, const QNTexts& texts);

}  // namespace qn
