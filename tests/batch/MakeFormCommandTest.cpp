#include <gtest/gtest.h>

#include <tuple>

#include "../core/generator/GeneratorData.h"
#include "TestSupport.h"

using taltest::ReadFile;
using taltest::RunTalbatch;
using taltest::TempDir;

namespace {

const char* Deck =
    "SIMULATION 0 24 1\nCONSTANTS 1\nAREA=7\n"
    "UNIT 1 TYPE 1 Collector\nPARAMETERS 2\n2.5 0.8\nINPUTS 2\n0,0 3,1\n20 0\n"
    "UNIT 2 TYPE 1 Second\nPARAMETERS 2\n3 0.5\nINPUTS 2\n0,0 0,0\n15 40\nEND\n";

}  // namespace

TEST(MakeFormCommand, GeneratesAFormThatShowsAndFillsInAndRefusesWhatCannotBeGenerated) {
  TempDir dir;
  gentest::WriteEngine(dir);
  dir.write("A.DCK", Deck);
  dir.write("B.DCK", "UNIT 1 TYPE 1\nPARAMETERS 2\nK K\nEND\n");
  for (auto [deck, select, error] : {std::tuple{"A.DCK", "--select=3:AREA", "the deck has no unit 3"},
                                     {"A.DCK", "--select=1:FLOW", "1:FLOW cannot become a form field"},
                                     {"B.DCK", "--all", "nothing to generate"}}) {
    std::vector<std::string> args{"make-form", deck, "-o", "N.TKD", select, "--program-dir", dir.file("eng")};
    auto r = RunTalbatch(args, dir.path());
    EXPECT_EQ(r.exitCode, 2) << error;
    EXPECT_NE(r.err.find(error), std::string::npos) << r.err;
    EXPECT_FALSE(taltest::Exists(dir.file("N.TKD")));
  }
  auto made = RunTalbatch({"make-form", "A.DCK", "--select", "1:AREA,2:FLOW", "--simulation-card", "--program-dir",
                           dir.file("eng"), "-o", "A.TKD"},
                          dir.path());
  ASSERT_EQ(made.exitCode, 0) << made.err;
  EXPECT_EQ(made.out, "constant AREA1=2.5\nconstant FLOW=40\nwrote A.TKD\n");
  auto shown = RunTalbatch({"form", "show", "A.TKD"}, dir.path());
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_NE(shown.out.find("\"Collector area                             \"  AREA1 = 2.5 m2  range 0.0 .. 100.0"),
            std::string::npos)
      << shown.out;
  EXPECT_NE(shown.out.find("LENGTH = \"Four weeks\""), std::string::npos);  // the list file resolves
  auto set = RunTalbatch({"form", "set", "A.TKD", "AREA1=12.5", "FLOW=100"}, dir.path());
  ASSERT_EQ(set.exitCode, 0) << set.err;
  std::string text = ReadFile(dir.file("A.TKD"));
  EXPECT_NE(text.find("\nAREA1= 1.2500000000000E+01\n*|Collector area"), std::string::npos) << text;
  EXPECT_NE(text.find("\nFLOW= 1.0000000000000E+02\n"), std::string::npos);
  EXPECT_NE(text.find("\nPARAMETERS  2\nAREA1 0.8 \nINPUTS  2\n0,0 3,1 \n20 0 \n"), std::string::npos);
}
