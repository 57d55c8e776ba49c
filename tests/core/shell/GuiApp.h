#pragma once
// Fonts, text layout and painting need a QGuiApplication; the core tests make one on the
// offscreen platform when a test first needs it.
#include <QGuiApplication>
#include <clocale>
#include <gtest/gtest.h>

namespace taltest {

inline void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "talcore_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
  std::setlocale(LC_NUMERIC, "C");  // as the programs do after creating their application
}

// Creates the application before every test of a suite that lays out or paints text.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

}  // namespace taltest
