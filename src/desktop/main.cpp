// quillorne: the desktop program.
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/DesktopApp.h"

int main(int argc, char** argv) {
  // The page view's engine refuses to start its sandbox for the superuser; run as
  // root (a container, a CI machine) it works without one.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  // The page view draws with OpenGL contexts shared with the window's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QApplication::setApplicationVersion(QUILLORNE_VERSION);
  const std::vector<std::string> args(argv + 1, argv + argc);
  qn::QNDesktopApp program;
  return program.Run(args);
}
