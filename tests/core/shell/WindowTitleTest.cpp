#include <gtest/gtest.h>

#include "shell/WindowTitle.h"

using namespace tal;

TEST(WindowTitle, TheFileNameComesBeforeItsFolder) {
  struct Case {
    const char* path;
    const char* title;
  };
  const Case cases[] = {
      {"/work/demo/HOUSE.TBL", "HOUSE.TBL - /work/demo"},
      {"/HOUSE.TBL", "HOUSE.TBL - /"},
      {"work.d/A.B.TBL", "A.B.TBL - work.d"},
      {"HOUSE.TBL", "HOUSE.TBL"},
      {"Table", "Table"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FileNameFirstTitle(c.path), c.title) << c.path;
}
