// talbatch table run: every run through the engine, the exit status and the runs that failed.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"

using taltest::RunTalbatch;
using taltest::TempDir;

namespace {

class TableRunCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunTalbatch({"settings", "set", dir.path(), "talpix_dir=" + dir.file("bin")}).exitCode, 0);
    dir.writeScript("bin/TALPIX32",
                    "echo \"$*\" >> \"$(dirname \"$0\")/calls.txt\"\n"
                    "deck=\"$1\"; cp \"$deck\" \"${deck%.*}.LST\"\n"
                    "case \"$deck\" in *A2.TMP) exit 4;; esac\n");
    dir.write("work/a.dck", "CONSTANTS 1\nP = 1\nASSIGN A.OUT 12\n");
    ASSERT_EQ(RunTalbatch({"table", "new", "a.dck", "--runs", "4", "--vars", "P"}, dir.file("work")).exitCode, 0);
  }
  taltest::ProcessResult Run(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"table", "run", "a.TBL", "--program-dir", dir.path()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTalbatch(args, dir.file("work"));
  }
  TempDir dir;
};

}  // namespace

TEST_F(TableRunCommand, RunsEveryRowAndNamesTheFailures) {
  ASSERT_EQ(RunTalbatch({"table", "set", "a.TBL", "P", "--from", "1", "--step", "1"}, dir.file("work")).exitCode, 0);
  auto r = Run({"-j", "2"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(r.err, "talbatch table: Run 3 of 4 did not end with exit status 0; the run log lists every run.\n");
  EXPECT_NE(r.out.find("run 3: TALPIX32 ended with exit status 4"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  " + dir.file("work/A3.LST")), std::string::npos) << r.out;
  EXPECT_NE(taltest::ReadFile(dir.file("work/A1.LST")).find("P=2.0000E+00"), std::string::npos);
  EXPECT_FALSE(taltest::Exists(dir.file("work/A1.TMP"))) << "run decks are deleted";
  const std::string calls = taltest::ReadFile(dir.file("bin/calls.txt"));
  EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 4);
  EXPECT_NE(calls.find(dir.file("work/A3.TMP") + " /N\n"), std::string::npos) << calls;
}

TEST_F(TableRunCommand, AnUndefinedCellStopsBeforeAnyEngineStarts) {
  ASSERT_EQ(RunTalbatch({"table", "set", "a.TBL", "P", "--from", "1", "--step", "1", "--runs", "1:3"}, dir.file("work")).exitCode, 0);
  auto r = Run({});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, "Parameter in the col #1, run #4 isn't defined\n");
  EXPECT_FALSE(taltest::Exists(dir.file("bin/calls.txt")));
  EXPECT_EQ(Run({"-j", "0"}).exitCode, 2);
}

TEST_F(TableRunCommand, ADeckNamedLikeARunDeckIsKeptAndUnassignedVariablesAreNamed) {
  dir.write("work/H.TMP", "CONSTANTS 1\nP = 1\n");
  ASSERT_EQ(RunTalbatch({"table", "new", "H.TMP", "--runs", "2", "--vars", "P"}, dir.file("work")).exitCode, 0);
  ASSERT_EQ(RunTalbatch({"table", "set", "H.TBL", "P", "--from", "1", "--step", "1"}, dir.file("work")).exitCode, 0);
  auto r = RunTalbatch({"table", "run", "H.TBL", "--program-dir", dir.path()}, dir.file("work"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("File " + dir.file("work/H.TMP") + " is the deck of this table"), std::string::npos) << r.err;
  EXPECT_EQ(taltest::ReadFile(dir.file("work/H.TMP")), "CONSTANTS 1\nP = 1\n");
  EXPECT_FALSE(taltest::Exists(dir.file("bin/calls.txt")));

  dir.write("work/a.dck", "CONSTANTS 1\nPX = 1\nASSIGN A.OUT 12\n");  // P is gone from the deck
  ASSERT_EQ(RunTalbatch({"table", "set", "a.TBL", "P", "--from", "1", "--step", "1"}, dir.file("work")).exitCode, 0);
  r = Run({});
  EXPECT_EQ(r.err.find("The deck " + dir.file("work/a.dck") + " has no line NAME = value for the table variable P,"), 0u)
      << r.err;
  EXPECT_NE(taltest::ReadFile(dir.file("bin/calls.txt")), "") << "a warning: the runs go on";
}
