#include <gtest/gtest.h>

#include "shell/AboutTexts.h"
#include "shell/DiagramFit.h"

using namespace tal;

TEST(AboutTexts, BothModes) {
  AboutTexts full = AboutTextsFor(false);
  EXPECT_EQ(full.caption, "About TALSHELL");
  EXPECT_EQ(full.title, "TALSHELL");
  EXPECT_EQ(full.subtitle, "An Environment Program for TALPIX");
  EXPECT_EQ(full.bits, "32-bit");
  EXPECT_EQ(full.version, "Version 2.015    06/09/99");
  AboutTexts talkit = AboutTextsFor(true);
  EXPECT_EQ(talkit.title, "TALKIT");
  EXPECT_EQ(talkit.subtitle, "An Editor Program for TALPIX");
  EXPECT_EQ(talkit.caption, "About TALSHELL");
}

TEST(DiagramFit, EachDirectionFitsOnItsOwn) {
  QSize screen(1280, 1024);
  QSize current(300, 200);
  EXPECT_EQ(FitDiagramClient({10, 50}, current, {640, 480}, screen), QSize(642, 482));
  EXPECT_EQ(FitDiagramClient({700, 50}, current, {640, 480}, screen), QSize(300, 482)) << "too wide from there";
  EXPECT_EQ(FitDiagramClient({10, 600}, current, {640, 480}, screen), QSize(642, 200)) << "too high from there";
  EXPECT_EQ(FitDiagramClient({640, 544}, current, {640, 480}, screen), current) << "exactly at the edge does not fit";
}
