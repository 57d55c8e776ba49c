#include <gtest/gtest.h>

#include "TestSupport.h"
#include "support/Program.h"

using namespace tal;

TEST(Program, ModeFromPathInAnyLetterCase) {
  EXPECT_TRUE(DetermineProgramInfo("/opt/TalKit/bin/shell", "/", "").talkitMode);
  EXPECT_TRUE(DetermineProgramInfo("./talkit", "/home/u/ws", "").talkitMode);
  ProgramInfo full = DetermineProgramInfo("./talshell", "/home/u/ws", "");
  EXPECT_FALSE(full.talkitMode);
  EXPECT_EQ(full.path, "/home/u/ws/talshell");
  EXPECT_EQ(full.directory, "/home/u/ws");
}

TEST(Program, BareNameIsLookedUpOnPath) {
  taltest::TempDir dir;
  dir.writeScript("bin/talkit", "exit 0\n");
  ProgramInfo info = DetermineProgramInfo("talkit", "/elsewhere", "/nonexistent:" + dir.path() + "/bin");
  EXPECT_EQ(info.directory, dir.path() + "/bin");
  EXPECT_TRUE(info.talkitMode);
}
