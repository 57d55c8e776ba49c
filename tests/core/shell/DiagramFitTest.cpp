#include <gtest/gtest.h>

#include "shell/DiagramFit.h"

using namespace tal;

TEST(DiagramFit, EachDirectionFitsOnItsOwn) {
  QSize screen(1280, 1024);
  QSize current(300, 200);
  EXPECT_EQ(FitDiagramClient({10, 50}, current, {640, 480}, screen), QSize(642, 482));
  EXPECT_EQ(FitDiagramClient({700, 50}, current, {640, 480}, screen), QSize(300, 482)) << "too wide from there";
  EXPECT_EQ(FitDiagramClient({10, 600}, current, {640, 480}, screen), QSize(642, 200)) << "too high from there";
  EXPECT_EQ(FitDiagramClient({640, 544}, current, {640, 480}, screen), current) << "exactly at the edge does not fit";
}
