// The window tests share one QApplication, made before any test runs on main's stack
// (Qt must be torn down before the program's static objects); the page view needs the
// shared OpenGL contexts set before it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>

// LeakSanitizer reads these when a sanitized build ends: the libraries behind the page
// view and the fonts keep what they allocate until the process ends, and none of their
// stacks reaches Quillorne's code; a leak of our own is still reported.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6WebEngineCore.so\nleak:libudev.so\nleak:libfontconfig.so\n";
}

static void InitIcons() {
  Q_INIT_RESOURCE(icons);
}

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  InitIcons();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
