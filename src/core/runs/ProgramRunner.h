#pragma once
// Starting outside programs, never through a shell. The engine, form commands and application
// links are started and waited for while the windows keep working (`RunProgramOK`); the compiler,
// user commands and utilities are started and left running (`StartProgram`).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runs/EngineOutput.h"

namespace tal {

// A program and its arguments, each argument passed as it is (blanks and quotes included).
struct ProgramCommand {
  std::string program;
  std::vector<std::string> arguments;

  bool empty() const { return program.empty(); }
  // The command as a user would type it, arguments holding blanks or quotes in double quotes;
  // used for the run log and messages.
  std::string text() const;
};

// Splits a configured command line into program and arguments with shell-like quoting (blanks
// separate, double quotes group, "" inside quotes is one quote), then adds each of `appended`
// as one argument: a deck or source file name stays whole whatever it holds.
ProgramCommand CommandFromLine(std::string_view line, const std::vector<std::string>& appended = {});

// Why a program could not be started, as the number shown to the user: 2 the file was not found,
// 3 its folder was not found, 13 it is not an executable file; other numbers are the system's.
// 0 when nothing speaks against starting it. `workingDir` is the folder it would start in
// ("" = the current one); names without a folder are looked up on PATH.
int StartFailureCode(const ProgramCommand& command, const std::string& workingDir = "");

// "File " + program + " was not found." for code 2, else "Error " + code +
// " encountered while trying to call " + program.
std::string RunFailureMessage(const ProgramCommand& command, int code);

enum class RunEnd {
  NotStarted,  // the program could not be started
  Finished,    // it ended by itself (any exit status)
  Crashed,     // it ended through a signal it did not ask for
  Stopped,     // the user stopped it
};

struct RunOutcome {
  RunEnd end = RunEnd::NotStarted;
  int exitCode = 0;        // for Finished
  int failureCode = 0;     // for NotStarted: the number of StartFailureCode
  double seconds = 0;      // from start to end
  std::string program;     // the program's file name, for summaries
  std::string reason;      // for Crashed, when known: why it ended ("Slurm: TIMEOUT, reason TimeLimit")
};

// One line for the status bar: how the run ended and how long it took (to the millisecond below
// ten seconds: "after 0.034 s", then to a tenth: "after 12.5 s").
std::string DescribeOutcome(const RunOutcome& outcome);

struct RunOptions {
  std::string workingDirectory;  // "" = TALSHELL's current working directory
  // Called with each piece of output as it arrives (besides the run log).
  std::function<void(std::string_view)> standardOutput;
  std::function<void(std::string_view)> standardError;
  // Called with each "progress TIME START STOP" line of the standard output. Such lines are taken
  // out of the output: neither the run log nor `standardOutput` sees them.
  std::function<void(const ProgressReport&)> progress = nullptr;
  // The program and what it starts form a process group of their own, so Stop ends all of them.
  // Off for talbatch, where the engine shares the terminal's interrupt key with it.
  bool ownProcessGroup = true;
};

class WatchedProgram;

// A program started and watched without waiting for it: `finished` is called from the event loop
// with its outcome when it ends. It takes part in the run log and in Stop like a program waited for.
// Several can run at once (a table's parallel runs). RunProgram is one of these and a wait.
class ProgramRun {
 public:
  ProgramRun(const ProgramCommand& command, const RunOptions& options);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Starts the program; false when it could not be started (the outcome says why, and
  // `finished` is not called).
  bool Start(std::function<void(const RunOutcome&)> finished = {});
  bool running() const;
  const RunOutcome& outcome() const;
  // Waits up to `milliseconds` without the event loop (for when the application is quitting) and
  // ends a stopped program by force once its grace period is over.
  void WaitWithoutEvents(int milliseconds);

 private:
  WatchedProgram* watched_;
};

// Starts the program and returns only when it has ended, processing the program's pending
// events meanwhile (windows repaint, menus and the Stop command work). Shows nothing; the output
// goes to the run log and to the options' receivers. Needs a Qt application object.
RunOutcome RunProgram(const ProgramCommand& command, const RunOptions& options = {});

// RunProgram, then, when the program could not be started, the failure message (error box, OK,
// beep). True when the program was started, whatever its exit status.
bool RunProgramOK(const ProgramCommand& command);
bool RunProgramOK(const std::string& commandLine);

// What the user hears of a program started and left running.
enum class StartedProgram {
  Utility,  // a program with windows of its own: its end is only logged
  Command,  // a compile, a rebuild or a user command: a non-zero exit status brings the run log forward
};

// Starts the program and leaves it running. Its output and how it ended go to the run log and
// the status bar (RunMonitor) while the windows go on working. Returns 0 when it started, else
// the number for the caller's failure message.
int StartProgram(const ProgramCommand& command, const std::string& workingDir = "",
                 StartedProgram kind = StartedProgram::Utility);

// When TALSHELL ends, the output of a program still running is no longer shown. A utility goes on
// with its windows; a compile, rebuild or user command still running is asked about: these are
// their names (oldest first), the question, and stopping them (asked to end, ended by force after
// the grace period of Stop; waited for without the event loop).
std::vector<std::string> CommandsStillRunning();
std::string CommandsStillRunningQuestion(const std::vector<std::string>& names);
void StopCommandsStillRunning();

}  // namespace tal
