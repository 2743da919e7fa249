// The windows' tests run on Qt's offscreen platform, in one application object that
// lives on main's stack: Qt must be torn down before the program's static objects.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  Q_INIT_RESOURCE(icons);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
