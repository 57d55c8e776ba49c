// Window tests run headless on the offscreen platform with scripted answers.
#include <clocale>
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after creating its application
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
