#pragma once
// Fonts, text layout and painting need a QGuiApplication; the core tests make one on the
// offscreen platform when a test first needs it.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace taltest {

// Creates the application before every test of a suite that lays out or paints text.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureQtApplication(); }
};

}  // namespace taltest
