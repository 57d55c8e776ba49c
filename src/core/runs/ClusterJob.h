#pragma once
// Runs of a table sent to a Slurm cluster as one job array: task i runs the engine on run deck i
// in the table's folder, which the cluster's nodes must share. The job is followed with squeue
// (and scontrol for tasks that ended without leaving their exit status) and cancelled with
// scancel. Every program is started without a shell; the one script the job runs names the
// engine and the decks in single quotes, so no name is ever read as shell text.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runs/ClusterSettings.h"

namespace tal {

enum class ClusterTaskState { Pending, Running, Finished, Failed };

struct ClusterTask {
  std::string deck;
  ClusterTaskState state = ClusterTaskState::Pending;
  int exitCode = -1;   // the engine's exit status once known
  double seconds = 0;  // how long the task ran, once known
  std::string reason;  // why a task failed without an exit status ("CANCELLED", "TIMEOUT", ...)
  std::string output;  // what the engine printed, read when the task has ended
};

struct ClusterCounts {
  int pending = 0;
  int running = 0;
  int finished = 0;
  int failed = 0;
};

// "12 runs: 3 pending, 2 running, 6 finished, 1 failed"
std::string DescribeCounts(const ClusterCounts& counts);

// The message naming the Slurm commands that are not installed; "" when all are there.
std::string MissingSlurmCommandsMessage();

// `word` in single quotes for bash, a quote inside written as '\''.
std::string QuoteForShell(std::string_view word);

// Programs run around each engine run of a task (a form deck's before and after commands).
struct ClusterTaskCommands {
  std::vector<std::string> before;  // program and arguments; empty for none
  std::vector<std::string> after;
};

// The bash script of the job array. Task i runs `engine` with run deck i and "/N" as its two
// arguments (between the before and after commands when given), its output and exit status left
// in `statusDir` as run-i.out and run-i.status.
std::string ClusterJobScript(const std::string& engine, const std::vector<std::string>& decks,
                             const std::string& statusDir, const ClusterTaskCommands& commands = {});

// How Slurm ended a task, from the state and reason that scontrol or sacct give: "CANCELLED",
// "TIMEOUT, reason TimeLimit"; "ENDED WITHOUT AN EXIT STATUS" when Slurm names no state.
std::string SlurmEndDescription(const std::string& state, const std::string& reason);

// The --output file of the tasks in `statusDir`, one per task (slurm-%a.txt). sbatch reads "%" as
// the start of a replacement symbol, so a "%" of the folder's name is written "%%"; a backslash
// switches every replacement off, so a folder name holding one gets a file for all tasks.
std::string SlurmOutputPattern(const std::string& statusDir);

// The arguments of sbatch for an array of `count` tasks.
std::vector<std::string> SbatchArguments(const ClusterSettings& settings, int count, const std::string& workDir,
                                         const std::string& statusDir, const std::string& script);

class ClusterJob {
 public:
  ClusterJob(std::string engine, std::vector<std::string> decks, std::string workDir, ClusterSettings settings,
             ClusterTaskCommands commands = {});
  ~ClusterJob();  // removes the job's own folder (script, outputs, statuses)
  ClusterJob(const ClusterJob&) = delete;
  ClusterJob& operator=(const ClusterJob&) = delete;

  // Writes the job script into a folder of its own inside the work folder and submits it.
  // "" when the job was accepted, else the message to show; nothing was submitted then.
  std::string submit();
  // Asks Slurm where the tasks stand and reads the statuses of those that ended. False when
  // squeue did not answer; the tasks keep their states then.
  bool poll();
  // Cancels the whole array; the tasks that have not ended become failed ("CANCELLED").
  void cancel();

  bool finished() const;
  bool cancelled() const { return cancelled_; }
  ClusterCounts counts() const;
  const std::vector<ClusterTask>& tasks() const { return tasks_; }
  const std::string& jobId() const { return jobId_; }
  const std::string& jobFolder() const { return jobFolder_; }

 private:
  void readEndedTask(int index);
  void askWhyEnded(int index);

  std::string engine_;
  std::string workDir_;
  ClusterSettings settings_;
  ClusterTaskCommands commands_;
  std::vector<ClusterTask> tasks_;
  std::vector<int> unlistedPolls_;  // polls in a row a task was neither listed nor had its status
  std::string jobFolder_;
  std::string jobId_;
  bool cancelled_ = false;
};

struct ClusterRunOptions {
  std::function<void(const ClusterCounts&)> progress{};  // after every poll
  std::function<void(int run, const ClusterTask&)> ended{};  // once for each run, when it has ended
  std::function<bool()> stopRequested{};  // asked after every poll besides the Stop command
  int pollMilliseconds = 1000;
};

struct ClusterRunResult {
  std::string error;  // submitting failed: the message (nothing ran)
  bool stopped = false;
};

// Submits the job and follows it until every task has ended, keeping the program's events
// going between polls. The run log gets the submission, and each run's number and exit status
// (with the output of the runs that failed); the Stop command cancels the array.
ClusterRunResult RunOnCluster(ClusterJob& job, const ClusterRunOptions& options = {});

}  // namespace tal
