// talbatch run: the engine of the settings' TALPIX directory on one deck, its output streamed,
// the attached result files listed, its exit status passed on.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "runs/SettingsFile.h"

using taltest::RunTalbatch;
using taltest::TempDir;

namespace {

// A program directory whose settings point the TALPIX directory at `talpixDir`.
void WriteSettings(const TempDir& dir, const std::string& talpixDir) {
  tal::SettingsRecord settings;
  settings.talpixDir = talpixDir;
  dir.write("prog/TALSHELL.DFT", tal::EncodeSettings(settings));
}

const char* Engine =
    "echo \"engine $# [$1]\"\necho 'engine warning' >&2\n"
    "b=\"${1%.*}\"; echo L > \"$b.LST\"; echo O > \"$b.OUT\"; echo O > \"$b.O01\"; echo P > \"$b.PLT\"\nexit 5\n";

}  // namespace

TEST(RunCommand, RunsTheEngineStreamsItsOutputAndListsTheResults) {
  TempDir dir;
  WriteSettings(dir, dir.file("engine"));
  dir.writeScript("engine/TALPIX32", Engine);
  std::string deck = dir.write("my work/A.DCK", "deck\n");
  auto r = RunTalbatch({"run", "A.DCK", "--program-dir", dir.file("prog")}, dir.file("my work"));
  EXPECT_EQ(r.exitCode, 5);  // the engine's
  EXPECT_EQ(r.out, "engine 1 [" + deck + "]\nlisting " + dir.file("my work/A.LST") + "\noutput " +
                       dir.file("my work/A.O01") + "\noutput " + dir.file("my work/A.OUT") + "\nplot " +
                       dir.file("my work/A.PLT") + "\n");
  EXPECT_EQ(r.err, "engine warning\n");
}

TEST(RunCommand, MissingTalpixDirectoryUsesTheProgramDirectory) {
  TempDir dir;
  WriteSettings(dir, dir.file("nowhere"));
  dir.writeScript("prog/TALPIX32", "echo ran\n");
  dir.write("A.DCK", "deck\n");
  auto r = RunTalbatch({"run", "A.DCK", "--program-dir", "prog"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ran\n");
}

TEST(RunCommand, EngineThatCannotStartGives127AndTheMessage) {
  TempDir dir;
  WriteSettings(dir, dir.file("engine"));
  dir.write("engine/.keep", "");
  dir.write("A.DCK", "deck\n");
  auto r = RunTalbatch({"run", dir.file("A.DCK"), "--program-dir", dir.file("prog")});
  EXPECT_EQ(r.exitCode, 127);
  EXPECT_EQ(r.err, "File " + dir.file("engine/TALPIX32") + " was not found.\n");
  EXPECT_EQ(r.out, "");
}

TEST(RunCommand, EngineEndedBySignalGivesOneAndStillListsTheResults) {
  TempDir dir;
  WriteSettings(dir, dir.file("engine"));
  dir.writeScript("engine/TALPIX32", "echo L > \"${1%.*}.LST\"\nkill -KILL $$\n");
  std::string deck = dir.write("A.DCK", "deck\n");
  auto r = RunTalbatch({"run", deck, "--program-dir", dir.file("prog")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "listing " + dir.file("A.LST") + "\n");
  EXPECT_EQ(r.err.rfind("talbatch run: TALPIX32 ended abnormally after ", 0), 0u) << r.err;
}

TEST(RunCommand, BadInput) {
  TempDir dir;
  dir.write("A.DCK", "deck\n");
  auto noSettings = RunTalbatch({"run", "A.DCK"}, dir.path());
  EXPECT_EQ(noSettings.exitCode, 2);
  EXPECT_EQ(noSettings.err,
            "talbatch run: Please copy the TALSHELL.DFT file into the " + dir.path() + " directory.\n");

  WriteSettings(dir, dir.path());
  auto noDeck = RunTalbatch({"run", "B.DCK", "--program-dir", dir.file("prog")}, dir.path());
  EXPECT_EQ(noDeck.exitCode, 2);
  EXPECT_EQ(noDeck.err, "talbatch run: B.DCK cannot be opened for reading\n");

  const std::pair<std::vector<std::string>, std::string> badUsages[] = {
      {{"run"}, "DECK is required"},
      {{"run", "A.DCK", "--program-dir"}, "--program-dir"},
      {{"run", "A.DCK", "B.DCK"}, "not expected: B.DCK"}};
  for (const auto& [args, named] : badUsages) {
    auto usage = RunTalbatch(args, dir.path());
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.starts_with("talbatch run: ")) << usage.err;
    EXPECT_NE(usage.err.find(named), std::string::npos) << usage.err;
    EXPECT_TRUE(usage.err.ends_with("\nusage: talbatch run DECK [--program-dir DIR]\n")) << usage.err;
  }
}
