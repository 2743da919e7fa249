#include "ui/ColorScheme.h"

#include <QApplication>
#include <QStyleFactory>
#include <cstring>

namespace qn {

bool IsDarkPalette(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() <
         palette.color(QPalette::WindowText).lightness();
}

QPalette DarkPalette() {
  const QColor window(45, 47, 51);
  const QColor base(30, 31, 34);
  const QColor text(230, 232, 235);
  const QColor dimmed(128, 132, 138);
  const QColor highlight(47, 111, 181);
  QPalette palette;
  palette.setColor(QPalette::Window, window);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Base, base);
  palette.setColor(QPalette::AlternateBase, window);
  palette.setColor(QPalette::ToolTipBase, window);
  palette.setColor(QPalette::ToolTipText, text);
  palette.setColor(QPalette::PlaceholderText, dimmed);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Button, window);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::BrightText, QColor(255, 120, 120));
  palette.setColor(QPalette::Light, window.lighter(150));
  palette.setColor(QPalette::Midlight, window.lighter(125));
  palette.setColor(QPalette::Mid, window.darker(125));
  palette.setColor(QPalette::Dark, window.darker(160));
  palette.setColor(QPalette::Shadow, Qt::black);
  palette.setColor(QPalette::Highlight, highlight);
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Link, QColor(122, 172, 230));
  palette.setColor(QPalette::LinkVisited, QColor(178, 150, 230));
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, dimmed);
  palette.setColor(QPalette::Disabled, QPalette::Highlight, window.lighter(130));
  return palette;
}

void ApplyColorScheme(const char* requested) {
  if (requested && std::strcmp(requested, "light") == 0) return;
  const bool dark =
      (requested && std::strcmp(requested, "dark") == 0) || IsDarkPalette(QApplication::palette());
  if (!dark) return;
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(DarkPalette());
}

}  // namespace qn
