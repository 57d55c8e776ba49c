// talbatch table results: the grid as CSV from the runs' files, the table's choice file, and the
// exit statuses of unknown columns and statistics and of runs without their file.
#include <gtest/gtest.h>

#include "TestSupport.h"

using taltest::RunTalbatch;

TEST(TableResultsCommand, CollectsOrSaysWhatIsMissing) {
  taltest::TempDir dir;
  dir.write("HOUSE.DCK", "CONSTANTS 2\nPHEAT = 6\nKTANK = 0.15\n");
  ASSERT_EQ(RunTalbatch({"table", "new", "HOUSE.DCK", "--runs", "2", "--vars", "PHEAT,KTANK"}, dir.path()).exitCode, 0);
  ASSERT_EQ(RunTalbatch({"table", "set", "HOUSE.TBL", "PHEAT", "--from", "3", "--step", "3"}, dir.path()).exitCode, 0);
  ASSERT_EQ(RunTalbatch({"table", "set", "HOUSE.TBL", "KTANK", "--from", "0.5", "--step", "0.25"}, dir.path()).exitCode, 0);
  dir.write("HOUSE.PLT", "TIME QAUX TTANK\nh KW C\n0 0 40\n1 2 44\n2 4 42\n");
  const std::string header = "run,PHEAT,KTANK,QAUX:integral,TTANK:max\n";
  const std::string firstRun = "1,3,0.5,4,44\n";

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;  // a part of standard error
  };
  const std::vector<Case> cases = {
      {{"--collect", "QAUX:integral, TTANK:max"}, 1, header + firstRun + "2,6,0.75,,\n",
       "run 2: Run 2 left no plot or output file (HOUSE1.PLT, HOUSE1.O*)."},
      {{"--collect", "QAUX:average"}, 2, "", "unknown statistic \"average\""},
      {{"--collect", "QSOL:sum"}, 2, "", "no file of the runs holds a column QSOL"},
      {{}, 2, "", "give --collect, or keep the choice in"},
      {{"--no-such-option"}, 2, "", "--no-such-option"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"table", "results", "HOUSE.TBL"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto result = RunTalbatch(args, dir.path());
    EXPECT_EQ(result.exitCode, c.status) << c.err << "\n" << result.err;
    EXPECT_EQ(result.out, c.out) << c.err;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
  }

  // The table's choice file, once every run has its file; the CSV written to a file.
  dir.write("HOUSE.TRS", "QAUX:integral\nTTANK:max\n");
  dir.write("house1.plt", "TIME QAUX TTANK\nh KW C\n0 1 30\n2 1 31\n");
  auto written = RunTalbatch({"table", "results", "HOUSE.TBL", "-o", "out.csv"}, dir.path());
  EXPECT_EQ(written.exitCode, 0) << written.err;
  EXPECT_EQ(taltest::ReadFile(dir.file("out.csv")), header + firstRun + "2,6,0.75,2,31\n");

  auto help = RunTalbatch({"table", "results", "--help"}, dir.path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("talbatch table results FILE.TBL [--collect"), std::string::npos);
}
