// talbatch table new, set and show.
#include <gtest/gtest.h>

#include "TestSupport.h"

using taltest::RunTalbatch;
using taltest::TempDir;

namespace {
constexpr const char* Deck = "CONSTANTS 3\nAREA = 12.5\nTIN = 20\nFLOW = 0.35\nEND\n";
}

TEST(TableCommand, NewSetShow) {
  TempDir dir;
  dir.write("solar.dck", Deck);
  auto made = RunTalbatch({"table", "new", "solar.dck", "--runs", "5", "--vars", "area,FLOW"}, dir.path());
  // The deck's names are "AREA " and "FLOW " (with the blank before "="): named without it too.
  EXPECT_EQ(made.exitCode, 0) << made.err;
  EXPECT_EQ(made.out, dir.file("solar.TBL") + "\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("solar.TBL")).size(), 256u + 20 + 97 * 6 + 2 * (60 + 60) + 2);

  auto set = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"table", "set", "solar.TBL"});
    return RunTalbatch(args, dir.path());
  };
  EXPECT_EQ(set({"AREA", "--from", "10", "--last", "20", "--runs", "1:5"}).exitCode, 0);
  EXPECT_EQ(set({"flow ", "--from", "1", "--mult", "2", "--runs", "2:99"}).exitCode, 0);
  EXPECT_EQ(set({"FLOW ", "--clear", "--runs", "4:4"}).exitCode, 0);
  auto shown = RunTalbatch({"table", "show", "solar.TBL"}, dir.path());
  EXPECT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_EQ(shown.out,
            "\tAREA \tFLOW \n"
            "1\t10.00\tEnter value\n"
            "2\t12.50\t1.0000\n"
            "3\t15.00\t2.000\n"
            "4\t17.50\tEnter value\n"
            "5\t20.00\t8.000\n");
}

TEST(TableCommand, BadInputIsRefusedAndTheFileKept) {
  TempDir dir;
  dir.write("A.DCK", Deck);
  dir.write("PLAIN.DCK", "no constants\n");
  ASSERT_EQ(RunTalbatch({"table", "new", "A.DCK", "--runs", "2", "--vars", "TIN "}, dir.path()).exitCode, 0);
  const std::string before = taltest::ReadFile(dir.file("A.TBL"));
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"new", "A.DCK", "--runs", "10000", "--vars", "TIN "}, "the number of runs must be 1 to 9999, not \"10000\""},
      {{"new", "A.DCK", "--runs", "2", "--vars", "NOPE"}, "\"NOPE\" is not a constant of " + dir.file("A.DCK")},
      {{"new", "PLAIN.DCK", "--runs", "2", "--vars", "X"},
       "File " + dir.file("PLAIN.DCK") + " does not have any TALPIX Comment statements."},
      {{"set", "A.TBL", "TIN ", "--from", "1"}, "give --clear, or --from with one of --step, --last, --mult"},
      {{"set", "A.TBL", "TIN ", "--from", "x", "--step", "1"}, "\"x\" is not a number"},
      {{"set", "A.TBL", "TIN ", "--clear", "--runs", "3:4"}, "bad run range \"3:4\" for a table of 2 runs"},
      {{"set", "A.TBL", "AREA", "--clear"}, "\"AREA\" is not a variable of the table"},
      {{"show", "A.DCK"}, "File " + dir.file("A.DCK") + " is not a valid table file: it is too short."},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "table");
    auto r = RunTalbatch(args, dir.path());
    EXPECT_EQ(r.exitCode, 2) << c.err;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "talbatch table: " + c.err);
  }
  EXPECT_EQ(taltest::ReadFile(dir.file("A.TBL")), before);
}
