// Hostile decks and data files: long chains of constants, files beyond the limits read, line ends
// of every kind, logical units out of range, and runs stopped from outside.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "EngineTestSupport.h"

extern char** environ;

namespace talpix::test {
namespace {

using taltest::TempDir;

// CONSTANTS C0 .. C(n-1), each one more than the next; the last is `last`.
std::string ChainOfConstants(int n, const std::string& last) {
  std::string deck = "CONSTANTS " + std::to_string(n) + "\n";
  for (int k = 0; k + 1 < n; ++k) deck += "C" + std::to_string(k) + "=C" + std::to_string(k + 1) + "+1\n";
  return deck + "C" + std::to_string(n - 1) + "=" + last + "\n";
}

TEST(EngineLimits, LongChainsOfConstantsAreComputedOrRefusedWithoutDeepRecursion) {
  const int n = 100000;
  const std::string plot = "SIMULATION 0 1 1\nUNIT 1 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\nC0\nC\nEND\n";
  TempDir dir;
  EngineRun r = RunDeck(dir, "CHAIN.DCK", ChainOfConstants(n, "1") + plot);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto rows = DataRows(taltest::ReadFile(dir.file("CHAIN.PLT")));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][1], n);
  EngineRun cycle = RunDeck(dir, "CYCLE.DCK", ChainOfConstants(n, "C0") + plot);
  EXPECT_EQ(cycle.exitCode, 1);
  EXPECT_NE(cycle.err.find("CYCLE.DCK:2: error: the constant C0 cannot be computed before the run: C0 depends on itself"),
            std::string::npos);
}

TEST(EngineLimits, FilesBeyondTheirLimitsAreRefusedNamingFileAndLine) {
  TempDir dir;
  // A deck one byte beyond the limit (a sparse file: nothing is written to disk).
  std::string big = dir.write("BIG.DCK", "");
  std::filesystem::resize_file(big, DeckSizeLimit + 1);
  std::ostringstream out, err;
  EXPECT_EQ(RunEngine({big}, out, err), 2);
  EXPECT_NE(err.str().find("the deck " + big + " cannot be read: it holds 67108865 bytes, more than the 67108864 bytes read at most"),
            std::string::npos)
      << err.str();
  // Two rows and then a line longer than a data line may be: never a run on the two rows.
  dir.write("LONG.DAT", "1\n2\n" + std::string(DataLineLimit / 2, '3') + " " + std::string(DataLineLimit / 2, '4'));
  EngineRun r = RunDeck(dir, "LONG.DCK", "ASSIGN LONG.DAT 10\nSIMULATION 0 1 1\nUNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 1 0 1 0\nEND\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.listing.find("*** Error in line 5: data file " + dir.file("LONG.DAT") +
                           " line 3 is longer than the 1048576 characters read of a line"),
            std::string::npos)
      << r.err;
}

TEST(EngineLimits, EveryKindOfLineEndReadsLineByLine) {
  const std::string deck = "* lines\nASSIGN E.DAT 10\nSIMULATION 0 2 1\nUNIT 1 TYPE 9 D\nPARAMETERS 5\n10 1 0 1 1\n"
                           "UNIT 2 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\n1,1\nV\nEND\n";
  const std::string data = "head\n5\n6\n7\n";
  for (const std::string ending : {"\r", "\r\n", "\n"}) {
    auto withEnds = [&](std::string text) {
      std::string result;
      for (char c : text) result += c == '\n' ? ending : std::string(1, c);
      return result;
    };
    TempDir dir;
    dir.write("E.DAT", withEnds(data));
    EngineRun r = RunDeck(dir, "E.DCK", withEnds(deck));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.listing.find("   13  END\n"), std::string::npos) << r.listing;
    auto rows = DataRows(taltest::ReadFile(dir.file("E.PLT")));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][1], 7);
  }
}

TEST(EngineLimits, LogicalUnitsOutOfRangeAreSaidSo) {
  const std::string sim = "SIMULATION 0 1 1\n";
  struct Case {
    std::string deck;
    int line;
    std::string message;
  } cases[] = {
      {"ASSIGN A.DAT 1E10\n" + sim + "END\n", 1, "the logical unit 1E10 is out of range: logical units are whole numbers from 1 to 2147483647"},
      {"ASSIGN A.DAT 99999999999\n" + sim + "END\n", 1, "the logical unit 99999999999 is out of range"},
      {sim + "UNIT 1 TYPE 9 D\nPARAMETERS 5\nINF 1 0 1 0\nEND\n", 4, "the logical unit 1e+99 is out of range: logical units are whole numbers from 1 to 2147483647 (unit 1)"},
      {sim + "UNIT 1 TYPE 25 P\nPARAMETERS 4\n1 0 9 1E10\nINPUTS 1\nTIME\nT\nEND\n", 4, "the logical unit 1e+10 is out of range"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    EngineRun r = RunDeck(dir, "LU.DCK", c.deck);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.listing.find("*** Error in line " + std::to_string(c.line) + ": " + c.message), std::string::npos) << r.listing;
  }
}

// A run of a billion hours, plotted every 100 hours.
const std::string LongRun = "SIMULATION 0 1E9 1\nUNIT 1 TYPE 6 P\nPARAMETERS 5\n1 0 1 24 0\n"
                            "UNIT 2 TYPE 65 P\nPARAMETERS 3\n100 0 1E9\nINPUTS 1\n1,1\nV\nEND\n";

TEST(EngineLimits, ARunEndedFromOutsideClosesItsFilesAndSaysWhen) {
  TempDir dir;
  RunControl control;
  control.stepLimit = 201;
  std::string path = dir.write("S.DCK", LongRun);
  std::ostringstream out, err;
  EXPECT_EQ(RunEngine({path}, out, err, control), 1);
  EXPECT_EQ(err.str(), "The run was stopped at 201 h.\n");
  EXPECT_NE(taltest::ReadFile(dir.file("S.LST")).find("0 errors, 0 warnings. The run was stopped at 201 h.\n"), std::string::npos);
  EXPECT_EQ(DataRows(taltest::ReadFile(dir.file("S.PLT"))).size(), 3u);
}

TEST(EngineLimits, SigtermEndsTheStepAndTheRun) {
  TempDir dir;
  std::string deck = dir.write("SIG.DCK", LongRun), errors = dir.file("errors.txt");
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string program = TAL_ENGINE_PATH;
  char* argv[] = {program.data(), deck.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &files, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&files);
  const std::string started = "The run has started";
  for (int k = 0; k < 1000 && taltest::ReadFile(dir.file("SIG.LST")).find(started) == std::string::npos; ++k) usleep(10000);
  usleep(300000);
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::string listing = taltest::ReadFile(dir.file("SIG.LST"));
  auto at = listing.find("The run was stopped at ");
  ASSERT_NE(at, std::string::npos) << listing;
  std::string stopped = listing.substr(at, listing.find('\n', at) - at);
  EXPECT_EQ(taltest::ReadFile(errors), stopped + "\n");
  // Every row due up to the step stopped at is in the plot file, whole.
  double hours = std::stod(stopped.substr(std::string("The run was stopped at ").size()));
  std::string plot = taltest::ReadFile(dir.file("SIG.PLT"));
  ASSERT_FALSE(plot.empty());
  EXPECT_EQ(plot.back(), '\n');
  auto rows = DataRows(plot);
  EXPECT_EQ(rows.size(), static_cast<std::size_t>(hours / 100) + 1);
  EXPECT_EQ(rows.back()[0], std::floor(hours / 100) * 100);
}

}  // namespace
}  // namespace talpix::test
