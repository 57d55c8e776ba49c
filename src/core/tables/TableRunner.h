#pragma once
// Running the run decks of a table through the engine ("TALPIX32 RUNDECK /N"), one after another
// or several at once, each run wrapped in the form deck's before and after commands when it has
// them. Stop (RunMonitor) ends the engines that run and starts no further run.
#include <functional>
#include <string>
#include <vector>

#include "runs/EngineOutput.h"
#include "runs/ProgramRunner.h"

namespace tal {

struct TableRunSettings {
  std::string engine;           // the engine executable
  int jobs = 1;                 // engines at once
  std::string beforeCommand;    // form deck commands around every run ("" for none)
  std::string afterCommand;
  RunOptions options;           // working folder, output receivers, process group
  // Called with a run's number before it starts and when it has finished.
  std::function<void(int run)> started;
  std::function<void(int run)> finished;
  // Called with the progress lines of each run's engine (its run number and the report).
  std::function<void(int run, const ProgressReport&)> progress;
};

struct TableRunResult {
  int run = 0;
  RunOutcome outcome;
  std::vector<std::string> resultFiles;  // what the run left beside its run deck
  std::vector<Problem> problems;         // what its engine reported on standard error
};

struct TableRunReport {
  std::vector<TableRunResult> results;  // the runs that ended, in the order they ended
  bool stopped = false;                 // the user stopped the table run
  // A program could not be started: the table run ended there; this is its message.
  std::string notStartedMessage;
  // The runs that ended otherwise than with exit status 0, in run order.
  std::vector<int> FailedRuns() const;
};

// Runs `runDecks` (run r is runDecks[r - 1]). Each finished run's result files are written to the
// run log with its number and exit status.
TableRunReport RunTableDecks(const std::vector<std::string>& runDecks, const TableRunSettings& settings);

// The problems of every run for the Problems window, in run order and at most
// RunTranscript::ProblemLimit: each text starts with its run ("Run 3: ..."), and a problem the
// engine placed in its run deck, or nowhere, is placed in the table's `deck`, whose lines the run
// deck keeps one for one (the run decks are gone once the table has run).
std::vector<Problem> TableRunProblems(const TableRunReport& report, const std::vector<std::string>& runDecks,
                                      const std::string& deck);

// "Runs 2, 5 of 8 failed" style summary: "" when every run ended with exit status 0.
std::string FailedRunsSummary(const TableRunReport& report, int total);

// Why the runs must go one at a time although more engines were allowed ("" when they need not):
// the deck assigns outputs that every run would write, or the form deck runs commands around each run.
std::string SequentialReason(const std::vector<std::string>& sharedOutputs, bool formCommands);

// The number of engines at once: `setting` when positive, else the number of cores.
int ParallelRuns(int setting);

}  // namespace tal
