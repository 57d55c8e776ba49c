// talbatch run and talbatch table run show the progress of the engines as one line on standard
// error, written over as the run goes on, when that is a terminal; nothing when it is not.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>

#include "BatchCommand.h"
#include "TestSupport.h"
#include "TerminalProgress.h"

using taltest::RunTalbatch;
using taltest::TempDir;

namespace {

// The engine tells half its run, says something on either channel, then tells its end.
const char* TalkingEngine = "echo 'progress 4380 0 8760'\necho said\necho 'progress 8760 0 8760'\n"
                            "echo L > \"${1%.*}.LST\"\n";

struct Batch {
  int status;
  std::string out, err;
};

Batch RunInProcess(const std::vector<std::string>& args, bool terminal) {
  taltest::EnsureQtApplication();
  std::ostringstream out, err;
  tal::batch::BatchIo io{out, err, terminal};
  int status = tal::batch::RunBatch(args, io);
  return {status, out.str(), err.str()};
}

// talbatch as its own process with standard error on a pseudo-terminal: what the terminal got.
std::string ErrorOnATerminal(const std::vector<std::string>& args) {
  int terminal = -1, side = -1;
  if (openpty(&terminal, &side, nullptr, nullptr, nullptr) != 0) return "openpty failed";
  std::vector<char*> argv{const_cast<char*>(TAL_TALBATCH_PATH)};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(side, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(side);
  std::string got;
  char buffer[4096];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) got.append(buffer, static_cast<std::size_t>(n));
  close(terminal);  // read ends with EIO once the program has closed its side
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? got : "exit status " + std::to_string(status) + ": " + got;
}

}  // namespace

TEST(ProgressLine, RunShowsOneUpdatingLineOnATerminalOnly) {
  TempDir dir;
  ASSERT_EQ(RunTalbatch({"settings", "set", dir.path(), "talpix_dir=" + dir.file("bin")}).exitCode, 0);
  dir.writeScript("bin/TALPIX32", TalkingEngine);
  const std::string deck = dir.write("A.DCK", "deck\n");
  const std::vector<std::string> args{"run", deck, "--program-dir", dir.path()};

  auto piped = RunTalbatch(args);
  EXPECT_EQ(piped.exitCode, 0);
  EXPECT_EQ(piped.out, "said\nlisting " + dir.file("A.LST") + "\n");
  EXPECT_EQ(piped.err, "") << "nothing on standard error when it is not a terminal";

  auto terminal = RunInProcess(args, true);
  EXPECT_EQ(terminal.status, 0);
  EXPECT_EQ(terminal.out, piped.out);
  // The half, taken away for the engine's line, the end (shown at once), taken away at the end.
  const std::regex line("\r\\[#{10} {10}\\]  50%  4380 of 8760 h simulated(, about \\d+ s left)?\x1b\\[K"
                        "\r\x1b\\[K"
                        "\r\\[#{20}\\] 100%  8760 of 8760 h simulated\x1b\\[K"
                        "\r\x1b\\[K");
  EXPECT_TRUE(std::regex_match(terminal.err, line)) << terminal.err;
  const std::string onATerminal = ErrorOnATerminal(args);
  EXPECT_TRUE(std::regex_match(onATerminal, line)) << onATerminal;
}

TEST(ProgressLine, TableRunCountsRunsDoneRunningAndLeft) {
  TempDir dir;
  ASSERT_EQ(RunTalbatch({"settings", "set", dir.path(), "talpix_dir=" + dir.file("bin")}).exitCode, 0);
  // A pause first: the line is written over at most ten times a second.
  dir.writeScript("bin/TALPIX32", "sleep 0.2\necho 'progress 1 0 2'\necho oops >&2\n");
  dir.write("work/a.dck", "CONSTANTS 1\nP = 1\n");
  ASSERT_EQ(RunTalbatch({"table", "new", "a.dck", "--runs", "2", "--vars", "P"}, dir.file("work")).exitCode, 0);
  ASSERT_EQ(RunTalbatch({"table", "set", "a.TBL", "P", "--from", "1", "--step", "1"}, dir.file("work")).exitCode, 0);
  const std::vector<std::string> args{"table", "run", dir.file("work/a.TBL"), "-j", "1", "--program-dir", dir.path()};

  EXPECT_EQ(RunTalbatch(args).err, "") << "nothing on standard error when it is not a terminal";
  auto terminal = RunInProcess(args, true);
  EXPECT_EQ(terminal.status, 0) << terminal.err;
  for (const char* shown : {"  0%  Runs: 0 done, 1 running, 1 left", " 25%  Runs: 0 done, 1 running, 1 left",
                            "Runs: 1 done, 0 running, 1 left", "Runs: 2 done, 0 running, 0 left"})
    EXPECT_NE(terminal.err.find(shown), std::string::npos) << shown << " in " << terminal.err;
  EXPECT_EQ(terminal.err.substr(terminal.err.size() - 4), "\r\x1b[K") << "the line goes at the end";
}

TEST(ProgressLine, LineFitsATerminalOfTheUsualWidth) {
  tal::ProgressView view{true, 0.426, std::string(100, 'x')};
  const std::string line = tal::batch::TerminalProgressLine(view);
  EXPECT_EQ(line.size(), 79u);
  EXPECT_EQ(line.substr(0, 29), "[########            ]  42%  ");
  EXPECT_EQ(tal::batch::TerminalProgressLine({false, 0, "busy"}), "busy");
}
