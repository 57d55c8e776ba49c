// The engine run on small decks: physics against exact results, the controller's band,
// convergence, the listing's messages and the files it leaves.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <regex>

#include "EngineTestSupport.h"

namespace talpix::test {
namespace {

using taltest::TempDir;

// A mass of capacity C losing UA to surroundings at 10 C, starting at 90 C, plotted every step.
std::string CoolingDeck(const std::string& c, const std::string& ua, const std::string& step, const std::string& stop) {
  return "* cooling of a mass\nCONSTANTS 2\nCAP=" + c + "\nLOSS=" + ua + "\nSIMULATION 0 " + stop + " " + step +
         "\nUNIT 1 TYPE 1 Mass\nPARAMETERS 2\nCAP LOSS\nINPUTS 2\n0,0 0,0\n10 0\nDERIVATIVES 1\n90\n"
         "UNIT 2 TYPE 65 Plot\nPARAMETERS 3\n" + step + " 0 1000\nINPUTS 1\n1,1\nT\nEND\n";
}

TEST(EngineRun, ThermalMassCoolsAsTheExactExponential) {
  TempDir dir;
  EngineRun r = RunDeck(dir, "COOL.DCK", CoolingDeck("2", "0.5", "0.25", "20"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto rows = DataRows(taltest::ReadFile(dir.file("COOL.PLT")));
  ASSERT_EQ(rows.size(), 81u);
  // The file holds 7 significant digits: within 1e-5 K of 10 + 80 exp(-t UA/C) at every step.
  for (const auto& row : rows) EXPECT_NEAR(row[1], 10 + 80 * std::exp(-row[0] * 0.25), 1e-5) << "t = " << row[0];
}

TEST(EngineRun, StiffMassSettlesWithoutOvershoot) {
  // Time constant 0.01 h with 1 h steps: an explicit method would swing wildly.
  TempDir dir;
  EngineRun r = RunDeck(dir, "STIFF.DCK", CoolingDeck("0.01", "1", "1", "10"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto rows = DataRows(taltest::ReadFile(dir.file("STIFF.PLT")));
  ASSERT_EQ(rows.size(), 11u);
  for (std::size_t k = 1; k < rows.size(); ++k) EXPECT_NEAR(rows[k][1], 10, 1e-9);
}

TEST(EngineRun, ControllerKeepsItsStateInsideTheDeadBand) {
  // Measured temperatures one per hour; set point 20, band 2: switch points 19 and 21.
  const std::string data = "22\n20.5\n19.5\n18.5\n19.5\n20.5\n21.5\n20.5\n";
  struct Case {
    int mode;
    std::vector<double> expected;
  } cases[] = {{1, {0, 0, 0, 1, 1, 1, 0, 0}}, {2, {1, 1, 1, 0, 0, 0, 1, 1}}};
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("T.DAT", data);
    std::string deck = "ASSIGN T.DAT 10\nSIMULATION 0 7 1\nUNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 1 0 1 0\n"
                       "UNIT 2 TYPE 2 Controller\nPARAMETERS 2\n2 " + std::to_string(c.mode) +
                       "\nINPUTS 2\n1,1 0,0\n0 20\nUNIT 3 TYPE 65 Plot\nPARAMETERS 3\n1 0 100\nINPUTS 2\n1,1 2,1\nT ON\nEND\n";
    EngineRun r = RunDeck(dir, "BAND.DCK", deck);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto rows = DataRows(taltest::ReadFile(dir.file("BAND.PLT")));
    ASSERT_EQ(rows.size(), c.expected.size());
    for (std::size_t k = 0; k < rows.size(); ++k) EXPECT_EQ(rows[k][2], c.expected[k]) << "mode " << c.mode << " hour " << k;
  }
}

TEST(EngineRun, ConvergenceFailureIsReportedAndCounted) {
  TempDir dir;
  // A = B + 1 with B = A has no fixed point: every pass adds 1, whatever the scheme.
  EngineRun r = RunDeck(dir, "LOOP.DCK", "CONSTANTS 1\nMAXITER=7\nEQUATIONS 2\nA=B+1\nB=A\nSIMULATION 2 5 1\nEND\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.listing.find("*** Warning at TIME = 2: the step did not converge in 7 iterations (B still changes)"), std::string::npos)
      << r.listing;
  EXPECT_NE(r.listing.find("  steps not converged:    4\n"), std::string::npos) << r.listing;
  EXPECT_NE(r.listing.find("\n0 errors, 4 warnings. The run ended normally.\n"), std::string::npos) << r.listing;
  const std::string last = "LOOP.DCK: warning: 4 steps did not converge (first at 2 h)\n";
  ASSERT_GE(r.err.size(), last.size()) << r.err;
  EXPECT_EQ(r.err.substr(r.err.size() - last.size()), last) << r.err;
}

TEST(EngineRun, EveryDeckErrorNamesItsLineAndFailsTheRun) {
  const std::string sim = "SIMULATION 0 1 1\n";
  const std::string mass = "UNIT 1 TYPE 1 Mass\nPARAMETERS 2\n1 1\nINPUTS 2\n0,0 0,0\n0 0\nDERIVATIVES 1\n20\n";
  struct Case {
    std::string deck;
    int line;
    std::string message;
  } cases[] = {
      {sim + "EQUATIONS 1\nX=QHET+1\nEND\n", 3, "X=QHET+1: unknown name QHET"},
      {sim + "FROBNICATE 3\nEND\n", 2, "unknown statement FROBNICATE"},
      {sim + "CONSTANTS 2\nA=1\nUNIT 1 TYPE 6 P\nEND\n", 4, "CONSTANTS 2 of line 2 expects entry 2 as NAME=expression here"},
      {sim + "CONSTANTS 1\nA=1\nB=2\nEND\n", 4, "\"B=2\" stands outside a CONSTANTS or EQUATIONS block"},
      {sim + "CONSTANTS 1\nA=1\nEQUATIONS 1\nA=2\nEND\n", 5, "A is defined twice: first in line 3"},
      {sim + "CONSTANTS 1\nTIME=1\nEND\n", 3, "TIME is a word of the deck language and cannot be defined"},
      {sim + "CONSTANTS 1\nA=TIME\nEND\n", 3, "the constant A cannot be computed before the run: TIME changes during the run"},
      {sim + "CONSTANTS 2\nA=B\nB=A\nEND\n", 3, "the constant A cannot be computed before the run"},
      {sim + "UNIT 1 TYPE 77 X\nEND\n", 2, "unit 1: TYPE 77 is not known"},
      {sim + "UNIT 1 TYPE 1 Mass\nPARAMETERS 1\n1\nINPUTS 2\n0,0 0,0\n0 0\nEND\n", 2, "unit 1 (thermal mass) takes 2 parameters; the deck gives 1"},
      {sim + "UNIT 1 TYPE 1 Mass\nPARAMETERS 2\n1 1 1\nEND\n", 4, "line 4 holds more parameter values than the 2 that line 3 declares"},
      {sim + "UNIT 1 TYPE 1 Mass\nPARAMETERS 2\n1 1\nINPUTS 2\n0,0 0;0\n0 0\nDERIVATIVES 1\n20\nEND\n", 6, "unit 1 input 2: \"0;0\""},
      {sim + "CONSTANTS 1\nQ=1\nUNIT 1 TYPE 1 Mass\nPARAMETERS 2\n1 1\nINPUTS 2\n0,0 2*Q\n0 0\nDERIVATIVES 1\n20\nEND\n", 8,
       "unit 1 input 2: \"2*Q\" is not a connection (unit,output, 0,0, or a name)"},
      {sim + "UNIT 1 TYPE 1 Mass\nPARAMETERS 2\n1 1\nINPUTS 2\n0,0 0,0\n0 0\nEND\n", 2, "unit 1 (thermal mass) needs DERIVATIVES 1"},
      {sim + "UNIT 1 TYPE 1 Mass\nPARAMETERS 2\n0 1\nINPUTS 2\n0,0 0,0\n0 0\nDERIVATIVES 1\n20\nEND\n", 4, "the heat capacity of unit 1 must be above 0"},
      {sim + mass + "EQUATIONS 1\nX=[7,1]\nEND\n", 11, "[7,1]: the deck has no unit 7"},
      {sim + mass + "EQUATIONS 1\nX=[1,5]\nEND\n", 11, "[1,5]: unit 1 (thermal mass) has 2 outputs"},
      {sim + mass + mass + "END\n", 10, "unit 1 is defined twice: first in line 2"},
      {sim + "UNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 1 0 1 0\nEND\n", 4, "unit 1: no ASSIGN line gives a file to logical unit 10"},
      {sim + "ASSIGN NONE.DAT 10\nUNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 1 0 1 0\nEND\n", 5, "NONE.DAT cannot be read"},
      {sim + "ASSIGN BAD.DAT 10\nUNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 1 0 1 0\nEND\n", 5, "BAD.DAT line 2: \"x3\" is not a number"},
      {sim + "ASSIGN A.DAT 10\nASSIGN B.DAT 10\nEND\n", 3, "logical unit 10 is assigned twice: first in line 2"},
      {sim + "UNIT 1 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\nTIME\nT\nUNIT 2 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\nTIME\nT\nEND\n", 8,
       "unit 2: a deck has one plot writer (TYPE 65), and unit 1 is one already"},
      {"SIMULATION 0 1 0\nEND\n", 1, "the time step must be above 0"},
      {"SIMULATION 5 1 1\nEND\n", 1, "the stop time 1 lies before the start time 5"},
      {"SIMULATION 0 1\nEND\n", 1, "SIMULATION takes three values"},
      {"SIMULATION 0 1 1\nSIMULATION 0 1 1\nEND\n", 2, "SIMULATION is given twice: first in line 1"},
      {"CONSTANTS 1\nA=1\nEND\n", 0, "the deck has no SIMULATION line"},
      {sim + "PARAMETERS 2\nEND\n", 2, "PARAMETERS stands outside a UNIT block"},
      {sim + "EQUATIONS 1\nX=1/(TIME-1)\nEND\n", 3, "at TIME = 1: X: division by zero"},
      {"EQUATIONS 1\nX=10^TIME\nSIMULATION 0 40 1\nEND\n", 2, "at TIME = 31: X is 1e+31, beyond 1E30 in size"},
      {"EQUATIONS 1\nQ=EXP(TIME)\nSIMULATION 0 80 1\nUNIT 1 TYPE 1 M\nPARAMETERS 2\n1 0\nINPUTS 2\n0,0 Q\n0 0\nDERIVATIVES 1\n0\n", 4,
       "at TIME = 69: output 1 of unit 1 (thermal mass) is 1.46"},  // the mass sums e^t: past 1E30 before Q
      {sim + std::string("* a\0b\n", 6) + "END\n", 2, "the line holds a NUL byte: the deck is not a text file"},
      {"ASSIGN A.DAT 1E10\n" + sim + "END\n", 1, "the logical unit 1E10 is out of range: logical units are whole numbers from 1 to 2147483647"},
      {sim + "UNIT 1 TYPE 9 D\nPARAMETERS 5\nINF 1 0 1 0\nEND\n", 4, "the logical unit 1e+99 is out of range"},
      {sim + "UNIT 1 TYPE 25 P\nPARAMETERS 4\n1 0 9 1E10\nINPUTS 1\nTIME\nT\nEND\n", 4, "the logical unit 1e+10 is out of range"},
      {"ASSIGN LONG.DAT 10\n" + sim + "UNIT 1 TYPE 9 D\nPARAMETERS 5\n10 1 0 1 0\nEND\n", 5,
       "LONG.DAT line 3 is longer than the 1048576 characters read of a line"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("BAD.DAT", "1\nx3\n");
    // Two rows, then a line beyond those read: never a run on the two rows.
    if (c.deck.find("LONG.DAT") != std::string::npos) dir.write("LONG.DAT", "1\n2\n" + std::string(DataLineLimit, '3') + " 4\n");
    EngineRun r = RunDeck(dir, "ERR.DCK", c.deck);
    EXPECT_EQ(r.exitCode, 1) << c.message;
    std::string listed = c.line > 0 ? "*** Error in line " + std::to_string(c.line) + ": " : "*** Error: ";
    EXPECT_NE(r.listing.find(listed), std::string::npos) << c.message << "\n" << r.listing;
    EXPECT_NE(r.listing.find(c.message), std::string::npos) << c.message << "\n" << r.listing;
    std::string reported = c.line > 0 ? ":" + std::to_string(c.line) + ": error: " : ": error: ";
    EXPECT_NE(r.err.find(reported), std::string::npos) << c.message << "\n" << r.err;
  }
}

TEST(EngineRun, ListingEchoesTheDeckWithItsMessagesInPlace) {
  TempDir dir;
  EngineRun r = RunDeck(dir, "ECHO.DCK", "* heading\nSIMULATION 0 2 1\nEQUATIONS 1\nX=Y\nEND\n");
  EXPECT_NE(r.listing.find("    3  EQUATIONS 1\n    4  X=Y\n*** Error in line 4: X=Y: unknown name Y\n    5  END\n"),
            std::string::npos)
      << r.listing;
  EXPECT_NE(r.listing.find("1 error, 0 warnings. The run was stopped by the error above."), std::string::npos);
}

TEST(EngineRun, PlotFileHasNamesUnitsAndRowsInExponentialForm) {
  TempDir dir;
  EngineRun r = RunDeck(dir, "FMT.DCK", CoolingDeck("2", "0.5", "1", "3"));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string plot = taltest::ReadFile(dir.file("FMT.PLT"));
  std::istringstream in(plot);
  std::string names, units, row;
  std::getline(in, names);
  std::getline(in, units);
  EXPECT_EQ(names, "          TIME             T");
  EXPECT_EQ(units, "             h             C");  // starts with a blank: never taken for data
  std::getline(in, row);
  EXPECT_EQ(row, "  0.000000E+00  9.000000E+01");
  std::regex layout("( +-?[0-9]\\.[0-9]{6}E[+-][0-9]{2})+");
  for (int n = 0; std::getline(in, row); ++n) EXPECT_TRUE(std::regex_match(row, layout)) << row;
}

TEST(EngineRun, CommandLineAndUnreadableDeckExitWithTwo) {
  std::ostringstream out, err;
  EXPECT_EQ(RunEngine({}, out, err), 2);
  EXPECT_EQ(err.str(), "usage: TALPIX32 DECK [/N]\n");
  TempDir dir;
  std::ostringstream out2, err2;
  EXPECT_EQ(RunEngine({dir.file("MISSING.DCK")}, out2, err2), 2);
  EXPECT_NE(taltest::ReadFile(dir.file("MISSING.LST")).find("cannot be read: No such file or directory"), std::string::npos);
  std::ostringstream out3, err3;
  EXPECT_EQ(RunEngine({dir.path()}, out3, err3), 2);  // a folder is not a deck, and gets no listing
  EXPECT_FALSE(taltest::Exists(dir.path() + ".LST"));
  std::string big = dir.write("BIG.DCK", "");
  std::filesystem::resize_file(big, DeckSizeLimit + 1);  // sparse: nothing is written to disk
  EXPECT_EQ(RunEngine({big}, out3, err3), 2);
  EXPECT_NE(err3.str().find("cannot be read: it holds 67108865 bytes, more than the 67108864 bytes read at most"), std::string::npos);
}

}  // namespace
}  // namespace talpix::test

namespace talpix::test {
namespace {

TEST(EngineRun, DataReaderInterpolatesAndRepeatsItsRows) {
  TempDir dir;
  dir.write("D.DAT", "header\n5, 50\n6\t60\n7 70\n");
  EngineRun r = RunDeck(dir, "DATA.DCK", "ASSIGN D.DAT 10\nSIMULATION 0 4 0.5\nUNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 2 0 1 1\n"
                                         "UNIT 2 TYPE 65 Plot\nPARAMETERS 3\n0.5 0 9\nINPUTS 2\n1,1 1,2\nA B\nEND\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto rows = DataRows(taltest::ReadFile(dir.file("DATA.PLT")));
  // Hours 0 to 2 are the rows; after the last row the data start again from the first.
  const double expected[] = {5, 5.5, 6, 6.5, 7, 6, 5, 5.5, 6};
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t k = 0; k < rows.size(); ++k) {
    EXPECT_DOUBLE_EQ(rows[k][1], expected[k]) << "t = " << rows[k][0];
    EXPECT_DOUBLE_EQ(rows[k][2], 10 * expected[k]) << "t = " << rows[k][0];
  }
}

// A printer prints the steps on its interval from its start, within its window; an interval
// shorter than the step prints every step. Its rows hold every input, however many.
TEST(EngineRun, PrintersPrintTheStepsOnTheirInterval) {
  struct Case {
    const char* simulation;  // start stop step
    const char* printer;     // interval from to
    std::vector<double> times;
  } cases[] = {
      {"0 100 1", "24 0 100", {0, 24, 48, 72, 96}},
      {"0 10 1", "1.5 0 10", {0, 3, 6, 9}},
      {"0 3 0.1", "1 0.5 3", {0.5, 1.5, 2.5}},
      {"0 3 0.25", "1 0.5 2.6", {0.5, 1.5, 2.5}},
      {"0 3 1", "0.5 0 3", {0, 1, 2, 3}},
      {"0 3 0.3", "0.9 0 3", {0, 0.9, 1.8, 2.7}},
      {"-10 10 1", "4 -6 10", {-6, -2, 2, 6, 10}},
      {"10000000 10000030 0.1", "10 10000000 20000000", {1e7, 1e7 + 10, 1e7 + 20, 1e7 + 30}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineRun r = RunDeck(dir, "P.DCK", std::string("SIMULATION ") + c.simulation + "\nUNIT 1 TYPE 25 P\nPARAMETERS 4\n" +
                                            c.printer + " 0\nINPUTS 1\nTIME\nT\nEND\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto rows = DataRows(taltest::ReadFile(dir.file("P.OUT")));
    ASSERT_EQ(rows.size(), c.times.size()) << c.simulation << " / " << c.printer;
    for (std::size_t k = 0; k < rows.size(); ++k) EXPECT_NEAR(rows[k][0], c.times[k], 1e-6) << c.simulation << " / " << c.printer;
  }
  TempDir dir;
  std::string inputs = "UNIT 1 TYPE 25 P\nPARAMETERS 4\n1 0 9 0\nINPUTS 40\n", names;
  for (int k = 0; k < 40; ++k) {
    inputs += "TIME ";
    names += "T" + std::to_string(k) + " ";
  }
  ASSERT_EQ(RunDeck(dir, "WIDE.DCK", "SIMULATION 0 3 1\n" + inputs + "\n" + names + "\nEND\n").exitCode, 0);
  auto rows = DataRows(taltest::ReadFile(dir.file("WIDE.OUT")));
  ASSERT_EQ(rows.size(), 4u);
  for (const auto& row : rows) EXPECT_EQ(row, std::vector<double>(41, row[0]));
}

TEST(EngineRun, TraceListsTheUnitInItsWindowOnly) {
  TempDir dir;
  EngineRun r = RunDeck(dir, "TR.DCK", "SIMULATION 0 4 1\nUNIT 1 TYPE 6 P\nPARAMETERS 5\n2 0 1 4 0\nTRACE 1 2\nEND\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.listing.find("TRACE unit 1 at TIME = 1: inputs; outputs 1\nTRACE unit 1 at TIME = 2: inputs; outputs -1\n"),
            std::string::npos)
      << r.listing;
  EXPECT_EQ(r.listing.find("TRACE unit 1 at TIME = 3"), std::string::npos);
}

TEST(EngineRun, ResultNamesThatAreNotRegularFilesAreRefused) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("X.PLT"));
  EngineRun r = RunDeck(dir, "X.DCK", "SIMULATION 0 1 1\nUNIT 1 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\nTIME\nT\nEND\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.listing.find("*** Error in line 2: " + dir.file("X.PLT") + " cannot be written: it is not a regular file"),
            std::string::npos)
      << r.listing;
}

}  // namespace
}  // namespace talpix::test

namespace talpix::test {
namespace {

TEST(EngineRun, LinesOfOnlyACommentAreCommentsWhereverTheyStand) {
  const std::string mass = "UNIT 1 TYPE 1 Mass\nPARAMETERS 2\n! capacity and loss\n1 1\nINPUTS 2\n   ! connections\n0,0 0,0\n"
                           "!\n0 0\nDERIVATIVES 1\n! start\n20\n! after the unit\n";
  struct Case {
    std::string deck;
    int exitCode;
  } cases[] = {
      {"! note\nCONSTANTS 1\nA=1\nSIMULATION 0 1 1\nEND\n", 0},
      {"CONSTANTS 2\n! first\nA=1\n  !\nB=2\nSIMULATION 0 1 1\nEND\n", 0},
      {"SIMULATION 0 1 1\n" + mass + "END\n", 0},
      {"SIMULATION 0 1 1\nUNIT X TYPE 1\n! after a bad card\nPARAMETERS 2\n! more\nEND\n", 1},
      {"SIMULATION 0 1 1\nEQUATIONS 1\n!\nX=TIME\n!\nEND\n! after the end\n", 0},
  };
  for (const auto& c : cases) {
    TempDir dir;
    EngineRun r = RunDeck(dir, "C.DCK", c.deck);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.deck << r.listing;
    EXPECT_EQ(r.listing.find("unknown statement"), std::string::npos) << r.listing;
  }
}

}  // namespace
}  // namespace talpix::test
