// quillorne: the desktop program.
#include <QApplication>
#include <string>
#include <vector>

#include "ui/DesktopApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationVersion(QUILLORNE_VERSION);
  const std::vector<std::string> args(argv + 1, argv + argc);
  qn::QNDesktopApp program;
  return program.Run(args);
}
