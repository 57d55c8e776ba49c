// Starting outside programs: command lines without a shell, the start-failure messages, waiting
// while events are processed, Stop, the run log, and programs left running.
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "runs/ProgramRunner.h"
#include "runs/RunMonitor.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using taltest::TempDir;

namespace {

// A program that writes each argument on a line of its own, then its working directory.
const char* RecordArguments = "for a in \"$@\"; do echo \"arg:$a\"; done > \"$(dirname \"$0\")/args.txt\"\n"
                              "echo \"cwd:$(pwd)\" >> \"$(dirname \"$0\")/args.txt\"\n";

class ProgramRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override { taltest::EnsureQtApplication(); }
  TempDir dir;
};

}  // namespace

TEST(CommandLine, SplitsLikeAShellButKeepsAppendedNamesWhole) {
  ProgramCommand c = CommandFromLine("\"/opt/my tools/fl32\" /c  -O2", {"/work/a b/X.FOR"});
  EXPECT_EQ(c.program, "/opt/my tools/fl32");
  EXPECT_EQ(c.arguments, (std::vector<std::string>{"/c", "-O2", "/work/a b/X.FOR"}));

  EXPECT_TRUE(CommandFromLine("   ").empty());
  // Bytes outside ASCII pass through the split unchanged.
  EXPECT_EQ(CommandFromLine("/bin/\xE9t\xE9 x").program, "/bin/\xE9t\xE9");
}

TEST(CommandLine, TextReadsBackAsTheSameCommand) {
  ProgramCommand c{"/opt/a b/prog", {"plain", "with blank", "say \"hi\""}};
  ProgramCommand back = CommandFromLine(c.text());
  EXPECT_EQ(back.program, c.program);
  EXPECT_EQ(back.arguments, c.arguments);
}

TEST_F(ProgramRunnerTest, StartFailureCodesNameTheReason) {
  std::string tool = dir.writeScript("tool", "exit 0\n");
  std::string plain = dir.write("plain.txt", "not a program\n");
  EXPECT_EQ(StartFailureCode({tool, {}}), 0);
  EXPECT_EQ(StartFailureCode({"sh", {"-c", "true"}}), 0);  // found on PATH
  EXPECT_EQ(StartFailureCode({dir.file("missing"), {}}), 2);
  EXPECT_EQ(StartFailureCode({"no-such-program-anywhere-xyz", {}}), 2);
  EXPECT_EQ(StartFailureCode({dir.file("nofolder/tool"), {}}), 3);
  EXPECT_EQ(StartFailureCode({plain, {}}), 13);
  EXPECT_EQ(StartFailureCode({dir.path(), {}}), 13);  // a folder is not a program
  EXPECT_EQ(StartFailureCode({"", {}}), 2);
  EXPECT_EQ(StartFailureCode({"./tool", {}}, dir.path()), 0);  // relative to the folder it starts in
}

TEST_F(ProgramRunnerTest, NotStartableProgramsAreReportedAndReturnFalse) {
  ScriptedInteraction user;
  std::string missing = dir.file("TALPIX32");
  EXPECT_FALSE(RunProgramOK(ProgramCommand{missing, {"deck.dck"}}));
  std::string plain = dir.write("NOTEXEC", "x");
  EXPECT_FALSE(RunProgramOK(plain + " arg"));
  ASSERT_EQ(user.messages().size(), 2u);
  EXPECT_EQ(user.messages()[0], "File " + missing + " was not found.");
  EXPECT_EQ(user.messages()[1], "Error 13 encountered while trying to call " + plain);
  EXPECT_EQ(user.prompts()[0].kind, ErrorOk);
  EXPECT_EQ(user.beeps(), 2);
  EXPECT_EQ(RunMonitor::instance().lastSummary().toStdString(), "NOTEXEC could not be started (error 13)");
}

TEST_F(ProgramRunnerTest, RunsWithoutShellAndReturnsAfterTheProgramEnded) {
  ScriptedInteraction user;
  std::string engine = dir.writeScript("bin dir/engine", std::string(RecordArguments) +
                                                             "sleep 0.3\necho done > \"$(dirname \"$0\")/end.txt\"\nexit 3\n");
  RunOutcome outcome = RunProgram({engine, {"a b.dck", "$HOME", "*"}}, {dir.path(), {}, {}});
  EXPECT_EQ(outcome.end, RunEnd::Finished);
  EXPECT_EQ(outcome.exitCode, 3);
  EXPECT_TRUE(taltest::Exists(dir.file("bin dir/end.txt")));  // the call waited for the end
  EXPECT_EQ(taltest::ReadFile(dir.file("bin dir/args.txt")),
            "arg:a b.dck\narg:$HOME\narg:*\ncwd:" + dir.path() + "\n");
  EXPECT_TRUE(user.messages().empty());
  // The exit status is reported, not judged: RunProgramOK is true for any status.
  EXPECT_TRUE(RunProgramOK(ProgramCommand{engine, {}}));
}

TEST_F(ProgramRunnerTest, EventsAreProcessedWhileTheProgramRuns) {
  std::string engine = dir.writeScript("slow", "sleep 2\n");
  int ticks = 0;
  bool endedBeforeFirstTick = true;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(200);
  QElapsedTimer clock;
  clock.start();
  RunOutcome outcome = RunProgram({engine, {}});
  endedBeforeFirstTick = ticks == 0;
  EXPECT_EQ(outcome.end, RunEnd::Finished);
  EXPECT_GE(clock.elapsed(), 1900);
  EXPECT_FALSE(endedBeforeFirstTick);
  EXPECT_GE(ticks, 5);  // about ten ticks of 200 ms in two seconds
}

TEST_F(ProgramRunnerTest, StopEndsTheProgramAndWhatItStarted) {
  std::string marker = dir.file("child-survived");
  // The engine starts a helper of its own; Stop must end both.
  std::string engine = dir.writeScript("long", "(sleep 3; touch '" + marker + "') &\nsleep 30\n");
  auto& monitor = RunMonitor::instance();
  bool waitingSeen = false;
  QTimer::singleShot(300, [&] {
    waitingSeen = monitor.waiting();
    monitor.stop();
  });
  QElapsedTimer clock;
  clock.start();
  RunOutcome outcome = RunProgram({engine, {}});
  EXPECT_EQ(outcome.end, RunEnd::Stopped);
  EXPECT_TRUE(waitingSeen);
  EXPECT_FALSE(monitor.waiting());
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_TRUE(monitor.lastSummary().startsWith("long was stopped after "));
  EXPECT_FALSE(taltest::WaitUntil([&] { return taltest::Exists(marker); }, 3500));
}

TEST_F(ProgramRunnerTest, AProgramIgnoringTheStopRequestIsEndedByForce) {
  std::string engine = dir.writeScript("stubborn", "trap '' TERM\nsleep 30 & wait\nsleep 30\n");
  QTimer::singleShot(300, [] { RunMonitor::instance().stop(); });
  QElapsedTimer clock;
  clock.start();
  RunOutcome outcome = RunProgram({engine, {}});
  EXPECT_EQ(outcome.end, RunEnd::Stopped);
  EXPECT_GE(clock.elapsed(), RunMonitor::StopGraceMilliseconds);
  EXPECT_LT(clock.elapsed(), RunMonitor::StopGraceMilliseconds + 5000);
}

TEST_F(ProgramRunnerTest, OutputGoesToTheLogAndTheReceivers) {
  auto& monitor = RunMonitor::instance();
  monitor.clearLog();
  std::string engine = dir.writeScript("talk", "echo 'to out'\necho 'to err' >&2\nexit 4\n");
  std::string out, err;
  RunOptions options;
  options.standardOutput = [&](std::string_view s) { out += s; };
  options.standardError = [&](std::string_view s) { err += s; };
  RunOutcome outcome = RunProgram({engine, {"x y"}}, options);
  EXPECT_EQ(out, "to out\n");
  EXPECT_EQ(err, "to err\n");
  EXPECT_EQ(outcome.exitCode, 4);
  std::string log = monitor.log().toStdString();
  EXPECT_EQ(log.rfind("> " + engine + " \"x y\"\n", 0), 0u) << log;
  EXPECT_NE(log.find("to out\n"), std::string::npos);
  EXPECT_NE(log.find("to err\n"), std::string::npos);
  EXPECT_NE(log.find("\n-- talk ended with exit status 4 after "), std::string::npos) << log;

  // Output without a final newline still leaves the summary on a line of its own.
  monitor.clearLog();
  RunProgram({dir.writeScript("quiet", "printf 'no newline'\n"), {}});
  log = monitor.log().toStdString();
  EXPECT_NE(log.find("\nno newline\n-- quiet ended with exit status 0 after "), std::string::npos) << log;
}

TEST(RunSummary, SaysHowTheRunEndedAndHowLongItTook) {
  struct Case {
    RunEnd end;
    double seconds;
    const char* text;
  } cases[] = {
      {RunEnd::Finished, 12.34, "TALPIX32 ended with exit status 1 after 12.3 s"},
      {RunEnd::Finished, 0.0344, "TALPIX32 ended with exit status 1 after 0.034 s"},  // not "0.0 s"
      {RunEnd::Finished, 9.9994, "TALPIX32 ended with exit status 1 after 9.999 s"},
      {RunEnd::Crashed, 2.34, "TALPIX32 ended abnormally after 2.340 s"},
      {RunEnd::Stopped, 10.0, "TALPIX32 was stopped after 10.0 s"},
  };
  for (const auto& c : cases) {
    RunOutcome o;
    o.program = "TALPIX32";
    o.end = c.end;
    o.exitCode = 1;
    o.seconds = c.seconds;
    EXPECT_EQ(DescribeOutcome(o), c.text);
  }
}

TEST_F(ProgramRunnerTest, StartedProgramsAreLeftRunning) {
  std::string tool = dir.writeScript("tool", std::string(RecordArguments) + "sleep 1\ntouch \"$(dirname \"$0\")/finished\"\n");
  std::string work = dir.file("work");
  dir.write("work/.keep", "");
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(StartProgram({tool, {"one arg"}}, work), 0);
  EXPECT_LT(clock.elapsed(), 900);  // did not wait for it
  ASSERT_TRUE(taltest::WaitUntil([&] { return taltest::Exists(dir.file("finished")); }));
  EXPECT_EQ(taltest::ReadFile(dir.file("args.txt")), "arg:one arg\ncwd:" + work + "\n");
  EXPECT_EQ(StartProgram({dir.file("absent"), {}}), 2);
  EXPECT_EQ(StartProgram({tool, {}}, dir.file("no-such-folder")), 3);
}
