// Shared main of the test programs: a Qt application on the offscreen platform
// (set here, before the application exists, because test discovery runs the
// programs without the test environment), test-mode settings, a pinned locale.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
