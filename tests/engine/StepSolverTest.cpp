// How the engine solves a step: feedback loops that plain substitution cannot settle, values out
// of any physical range, the integrator's clock, and deck behaviours the step count relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <regex>

#include "EngineTestSupport.h"

namespace talpix::test {
namespace {

using taltest::TempDir;

// Loops whose gain makes every pass of plain substitution overshoot further (or need hundreds of
// passes): each step settles on its fixed point. The mass (capacity 1, no losses, Q = 1.5 (20 - T)
// at 1 h steps) has T1 = (T0 + 30) / 2.5: 12 C after the first step from 0, then on towards 20.
TEST(StepSolver, FeedbackLoopsSettleOnTheStepsFixedPoint) {
  const std::string plot = "UNIT 9 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\nA\nA\nEND\n";
  struct Case {
    std::string deck;
    double first;
    std::function<double(double)> next;
  } cases[] = {
      {"EQUATIONS 2\nQ=1.5*(20-[1,1])\nA=[1,1]\nSIMULATION 0 8 1\nUNIT 1 TYPE 1 Mass\nPARAMETERS 2\n1 0\nINPUTS 2\n0,0 Q\n"
       "0 0\nDERIVATIVES 1\n0\n" + plot, 0, [](double t) { return (t + 30) / 2.5; }},
      {"EQUATIONS 2\nA=1.5*B+1\nB=A\nSIMULATION 0 2 1\n" + plot, -2, [](double a) { return a; }},
      {"EQUATIONS 2\nA=10-0.99*B\nB=A\nSIMULATION 0 2 1\n" + plot, 10 / 1.99, [](double a) { return a; }},
      {"EQUATIONS 2\nA=5-0.5*B^2\nB=A\nSIMULATION 0 2 1\n" + plot, std::sqrt(11.0) - 1, [](double a) { return a; }},
  };
  for (const auto& c : cases) {
    TempDir dir;
    EngineRun r = RunDeck(dir, "LOOP.DCK", c.deck);
    ASSERT_EQ(r.exitCode, 0) << c.deck << r.err;
    EXPECT_NE(r.listing.find("0 errors, 0 warnings."), std::string::npos) << r.listing;
    double expected = c.first;
    for (const auto& row : DataRows(taltest::ReadFile(dir.file("LOOP.PLT")))) {
      EXPECT_NEAR(row[1], expected, 1e-5 * std::max(1.0, std::fabs(expected))) << c.deck << "t = " << row[0];
      expected = c.next(expected);
    }
  }
}

// A daily integrator of a run from hour 1: the sums printed at 48, 72 and 96 cover 24 hours
// each; the one at 24 covers hours 1 to 24, all the run has of that day.
TEST(StepSolver, ResettingIntegratorResetsOnTheClock) {
  for (const auto& [start, step] : {std::pair<std::string, std::string>{"1", "1"}, {"1", "0.25"}, {"0", "1"}, {"0", "0.25"}}) {
    TempDir dir;
    EngineRun r = RunDeck(dir, "SUM.DCK", "SIMULATION " + start + " 96 " + step +
                                              "\nUNIT 1 TYPE 24 Sums\nPARAMETERS 1\n24\nINPUTS 1\n0,0\n1\n"
                                              "UNIT 2 TYPE 25 Daily\nPARAMETERS 4\n24 24 1000 0\nINPUTS 1\n1,1\nHOURS\nEND\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto rows = DataRows(taltest::ReadFile(dir.file("SUM.OUT")));
    ASSERT_EQ(rows.size(), 4u) << start << " " << step;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      EXPECT_EQ(rows[k][0], 24.0 * (k + 1));
      EXPECT_NEAR(rows[k][1], k == 0 ? 24 - std::stod(start) : 24, 1e-9) << "start " << start << " step " << step;
    }
  }
}

// A step that does not converge goes on with what its last pass computed: the printed values
// satisfy the deck's equations, the one that closes the loop included.
TEST(StepSolver, AStepThatDoesNotConvergeGoesOnWithItsLastPass) {
  TempDir dir;
  EngineRun r = RunDeck(dir, "LOOP.DCK", "CONSTANTS 2\nMAXITER=4\nTOLERANCE=1E-12\nEQUATIONS 2\nX=SIN(50*Y)+2\nY=X*0.5\n"
                                         "SIMULATION 0 5 1\nUNIT 1 TYPE 25 P\nPARAMETERS 4\n1 0 9 0\nINPUTS 2\nX Y\nX Y\nEND\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.listing.find("the step did not converge in 4 iterations"), std::string::npos) << r.listing;
  auto rows = DataRows(taltest::ReadFile(dir.file("LOOP.OUT")));
  ASSERT_EQ(rows.size(), 6u);
  for (const auto& row : rows) EXPECT_NEAR(row[2], 0.5 * row[1], 1e-6 * row[2]) << "TIME " << row[0];
}

// Behaviours users rely on; the last: the listing names the first 20 steps that did not
// converge and counts them all.
TEST(StepSolver, DeckBehavioursBehindTheStepCount) {
  auto plot = [](const char* every) { return std::string("UNIT 1 TYPE 65 P\nPAR 3\n") + every + " 0 99\nINP 1\nX\nX\nEND\n"; };
  struct Case {
    std::string deck, listed;
    long warningLines;
    double lastTime, lastValue;  // the plot's last row
  } cases[] = {
      {"EQUATIONS 1\nX=TIME\nSIMULATION 0 0.3 0.1\n" + plot("0.1"), "(3 steps)", 0, 0.3, 0.3},  // 0.3/0.1 < 3 in binary
      {"CON 1\nK=2\nEQU 1\nX=K*TIME\nSIM 0 2 1\n" + plot("1"), "0 errors, 0 warnings. The run ended normally.", 0, 2, 4},
      {"EQUATIONS 1\nX=MIN(9,8,7,6,5,4,3,2,1,10,11,12,13,14,15,TIME+1)+MAX(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,TIME)\n"
       "SIMULATION 0 20 10\n" + plot("10"), "0 errors, 0 warnings.", 0, 20, 21},
      {"CONSTANTS 1\nMAXITER=2\nEQUATIONS 2\nX=B+1\nB=X\nSIMULATION 0 2.4 0.1\n" + plot("0.1"),
       "0 errors, 25 warnings. The run ended normally.", 20, 2.4, NAN},
  };
  for (const auto& c : cases) {
    TempDir dir;
    EngineRun r = RunDeck(dir, "B.DCK", c.deck);
    EXPECT_EQ(r.exitCode, 0) << c.deck << r.err;
    EXPECT_NE(r.listing.find(c.listed), std::string::npos) << r.listing;
    std::regex warning(R"(\*\*\* Warning at TIME)");
    EXPECT_EQ(std::distance(std::sregex_iterator(r.listing.begin(), r.listing.end(), warning), {}), c.warningLines);
    auto rows = DataRows(taltest::ReadFile(dir.file("B.PLT")));
    ASSERT_FALSE(rows.empty()) << c.deck;
    EXPECT_NEAR(rows.back()[0], c.lastTime, 1e-9) << c.deck;
    if (!std::isnan(c.lastValue)) {
      EXPECT_NEAR(rows.back()[1], c.lastValue, 1e-9) << c.deck;
    }
  }
}

}  // namespace
}  // namespace talpix::test
