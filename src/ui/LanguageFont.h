#pragma once

// The fonts a language asks for: its record merged into a window's own font. Only
// the face, the height, the weight and the pitch and family count: the character set
// means nothing to Unicode fonts.

#include <QFont>

class QWidget;

namespace qn {

class QNTexts;
struct QNFontRecord;

// `font` with every field of `record` that is not its keep value.
QFont MergedFont(QFont font, const QNFontRecord& record);

// Sets the window's font to its class's font merged with `record`, or back to the
// font it inherits when the record keeps everything.
void ApplyLanguageFont(QWidget& window, const QNFontRecord& record);

// Gives a dialog, page or sheet the dialog font of the installed language, when it
// names one.
void ApplyDialogFont(QWidget& window, const QNTexts& texts);

}  // namespace qn
