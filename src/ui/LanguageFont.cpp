#include "ui/LanguageFont.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

#include "text/Texts.h"

namespace qn {
namespace {

// The low bits of pitch and family: fixed or variable pitch.
constexpr int kFixedPitch = 1;
constexpr int kVariablePitch = 2;

QFont::StyleHint FamilyHint(int family) {
  switch (family) {
    case 1:
      return QFont::Serif;
    case 2:
      return QFont::SansSerif;
    case 3:
      return QFont::Monospace;
    case 4:
      return QFont::Cursive;
    case 5:
      return QFont::Decorative;
    default:
      return QFont::AnyStyle;
  }
}

}  // namespace

QFont MergedFont(QFont font, const QNFontRecord& record) {
  if (!record.face.empty()) font.setFamily(QString::fromStdString(record.face));
  // A negative height is the characters' height, a positive one the cell's: either
  // way the nearest a pixel size can say.
  if (record.height != 0) font.setPixelSize(std::abs(std::clamp(record.height, -400, 400)));
  if (record.weight != 0)
    font.setWeight(static_cast<QFont::Weight>(std::clamp(record.weight, 1, 1000)));
  if (record.pitchAndFamily != 0) {
    const int pitch = record.pitchAndFamily & 3;
    if (pitch == kFixedPitch || pitch == kVariablePitch) font.setFixedPitch(pitch == kFixedPitch);
    if (const QFont::StyleHint hint = FamilyHint(record.pitchAndFamily >> 4);
        hint != QFont::AnyStyle)
      font.setStyleHint(hint);
  }
  return font;
}

void ApplyLanguageFont(QWidget& window, const QNFontRecord& record) {
  window.setFont(record.IsDefault() ? QFont() : MergedFont(QApplication::font(&window), record));
}

void ApplyDialogFont(QWidget& window, const QNTexts& texts) {
  const auto table = texts.Installed();
  if (table && !table->Font(QNLanguageFont::Dialogs).IsDefault())
    ApplyLanguageFont(window, table->Font(QNLanguageFont::Dialogs));
}

}  // namespace qn
