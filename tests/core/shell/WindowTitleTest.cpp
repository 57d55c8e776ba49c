#include <gtest/gtest.h>

#include "shell/WindowTitle.h"

TEST(WindowTitle, TheFileNameComesBeforeItsFolder) {
  const char* const cases[][2] = {{"/work/demo/HOUSE.TBL", "HOUSE.TBL - /work/demo"}, {"/HOUSE.TBL", "HOUSE.TBL - /"},
                                  {"work.d/A.B.TBL", "A.B.TBL - work.d"}, {"HOUSE.TBL", "HOUSE.TBL"}, {"", ""}};
  for (auto [path, title] : cases) EXPECT_EQ(tal::FileNameFirstTitle(path), title) << path;
}
