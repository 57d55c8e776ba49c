// The engine's switch file: reading the seven switches and rewriting it with its backup.
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "runs/EngineConfig.h"

using namespace tal;
using taltest::TempDir;

namespace {
const std::string Sample =
    "TALPIX 14 CONFIGURATION\n"
    "y  display status\n"
    "N  header\n"
    "Yes labels\n"
    "n\n"
    "\n"
    "x  connections\n"
    "Y  warnings\n"
    "extra line the engine does not read\n";

EngineSwitches Switches(std::initializer_list<int> on) {
  EngineSwitches s{};
  for (int i : on) s[static_cast<std::size_t>(i)] = true;
  return s;
}
}  // namespace

TEST(EngineConfig, SwitchesAreOnWhenTheirLineStartsWithYInEitherCase) {
  TempDir dir;
  dir.write("CNFGTL.TAL", Sample);
  auto switches = ReadEngineSwitches(dir.path());
  ASSERT_TRUE(switches);
  EXPECT_EQ(*switches, Switches({0, 2, 6}));
  EXPECT_EQ(EngineSwitchCaptions()[0], std::string("Display Simulation Status"));
  EXPECT_EQ(EngineSwitchCaptions()[6], std::string("Print Warning Messages"));
}

TEST(EngineConfig, ShortFilesMissingFilesAndLetterCaseOfTheName) {
  TempDir dir;
  EXPECT_FALSE(ReadEngineSwitches(dir.path()));
  EXPECT_EQ(MissingEngineConfigMessage(), "Please put the CNFGTL.TAL file in the TALSHELL directory");
  dir.write("cnfgtl.tal", "first\r\nY\r\ny");  // found without regard to case; lines 4 to 8 missing
  auto switches = ReadEngineSwitches(dir.path());
  ASSERT_TRUE(switches);
  EXPECT_EQ(*switches, Switches({0, 1}));
}

TEST(EngineConfig, RewriteSwitchesTheFirstCharacterKeepsTheRestAndKeepsABackup) {
  TempDir dir;
  dir.write("CNFGTL.TAL", Sample);
  dir.write("CNFGTL.BAK", "an older backup\n");
  ASSERT_EQ(RewriteEngineConfig(dir.path(), Switches({0, 1, 3, 5})), "");
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")),
            "TALPIX 14 CONFIGURATION\n"
            "Y  display status\n"  // lower-case y written back as Y
            "Y  header\n"
            "Nes labels\n"
            "Y\n"
            "N\n"  // an empty line keeps its switch as a letter of its own
            "Y  connections\n"
            "N  warnings\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.BAK")), Sample);
  // Reading back gives what was written.
  EXPECT_EQ(ReadEngineSwitches(dir.path()), Switches({0, 1, 3, 5}));
}

TEST(EngineConfig, UnchangedSwitchesWriteNothingAChangedOneNormalisesTheLetters) {
  TempDir dir;
  const std::string shortFile = "line one\r\ny\r\nn\r\n";
  dir.write("CNFGTL.TAL", shortFile);
  ASSERT_EQ(RewriteEngineConfig(dir.path(), *ReadEngineSwitches(dir.path())), "");
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")), shortFile);
  EXPECT_FALSE(taltest::Exists(dir.file("CNFGTL.BAK")));

  ASSERT_EQ(RewriteEngineConfig(dir.path(), Switches({0, 6})), "");
  // Line ends of the file are kept; missing lines are written as off.
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")), "line one\r\nY\r\nN\r\nN\r\nN\r\nN\r\nN\r\nY\r\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.BAK")), shortFile);
}

TEST(EngineConfig, AFailedRewriteLeavesTheFileWhole) {
  TempDir dir;
  dir.write("CNFGTL.TAL", Sample);
  std::filesystem::create_directory(dir.file("CNFGTL.BAK"));  // the backup cannot be written
  dir.write("CNFGTL.BAK/keep", "");
  std::string error = RewriteEngineConfig(dir.path(), Switches({}));
  EXPECT_NE(error.find(dir.file("CNFGTL.BAK")), std::string::npos) << error;
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")), Sample);

  TempDir empty;
  EXPECT_NE(RewriteEngineConfig(empty.path(), Switches({})).find("CNFGTL.TAL"), std::string::npos);
  EXPECT_FALSE(taltest::Exists(empty.file("CNFGTL.TAL")));
}
