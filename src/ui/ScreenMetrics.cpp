#include "ui/ScreenMetrics.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

namespace qn {

QNScreenMetrics CurrentScreenMetrics() {
  QNScreenMetrics metrics;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    metrics.width = area.width();
    metrics.height = area.height();
  }
  const QStyle* style = QApplication::style();
  metrics.frameBorder = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  const int button = style->pixelMetric(QStyle::PM_TitleBarButtonSize);
  metrics.captionButtonWidth = button;
  metrics.captionButtonHeight = button;
  return metrics;
}

}  // namespace qn
