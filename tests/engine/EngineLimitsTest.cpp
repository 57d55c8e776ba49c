// Hostile decks: long chains of constants, line ends of every kind, and a run stopped by a signal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <regex>

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

TEST(EngineLimits, EveryKindOfLineEndReadsLineByLine) {
  const std::string deck = "* lines\nASSIGN E.DAT 10\nSIMULATION 0 2 1\nUNIT 1 TYPE 9 D\nPARAMETERS 5\n10 1 0 1 1\n"
                           "UNIT 2 TYPE 65 P\nPARAMETERS 3\n1 0 9\nINPUTS 1\n1,1\nV\nEND\n";
  const std::string data = "head\n5\n6\n7\n";
  for (const std::string ending : {"\r", "\r\n", "\n"}) {
    auto withEnds = [&](const std::string& text) { return std::regex_replace(text, std::regex("\n"), ending); };
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

TEST(EngineLimits, SigtermEndsTheStepAndTheRun) {
  TempDir dir;  // a run of a billion hours, plotted every 100 hours
  std::string deck = dir.write("SIG.DCK", "SIMULATION 0 1E9 1\nUNIT 1 TYPE 6 P\nPARAMETERS 5\n1 0 1 24 0\n"
                                          "UNIT 2 TYPE 65 P\nPARAMETERS 3\n100 0 1E9\nINPUTS 1\n1,1\nV\nEND\n");
  std::string program = TAL_ENGINE_PATH, errors = dir.file("errors.txt");
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  char* argv[] = {program.data(), deck.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &files, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&files);
  for (int k = 0; k < 1000 && taltest::ReadFile(dir.file("SIG.LST")).find("The run has started") == std::string::npos; ++k) usleep(10000);
  usleep(300000);
  ASSERT_EQ(kill(pid, SIGTERM), 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::string listing = taltest::ReadFile(dir.file("SIG.LST")), said = "The run was stopped at ";
  auto at = listing.find(said);
  ASSERT_NE(at, std::string::npos) << listing;
  std::string stopped = listing.substr(at, listing.find('\n', at) - at);
  EXPECT_EQ(taltest::ReadFile(errors), stopped + "\n");
  // Every row due up to the step stopped at is in the plot file, whole.
  double hours = std::stod(stopped.substr(said.size()));
  std::string plot = taltest::ReadFile(dir.file("SIG.PLT"));
  auto rows = DataRows(plot);
  EXPECT_EQ(plot.back(), '\n');
  EXPECT_EQ(rows.size(), static_cast<std::size_t>(hours / 100) + 1);
  EXPECT_EQ(rows.back()[0], std::floor(hours / 100) * 100);
}

}  // namespace
}  // namespace talpix::test
