// Draws an SVG icon as a PNG of one size: RenderIcon SVG SIZE PNG.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 4) {
    std::fputs("usage: qn_render_icon SVG SIZE PNG\n", stderr);
    return 2;
  }
  const int size = QString(argv[2]).toInt();
  QImageReader reader(QString::fromLocal8Bit(argv[1]));
  reader.setScaledSize(QSize(size, size));
  const QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "qn_render_icon: %s\n", qPrintable(reader.errorString()));
    return 1;
  }
  const QString target = QString::fromLocal8Bit(argv[3]);
  QDir().mkpath(QFileInfo(target).absolutePath());
  return image.save(target, "PNG") ? 0 : 1;
}
