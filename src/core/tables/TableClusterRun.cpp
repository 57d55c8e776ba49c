#include "tables/TableClusterRun.h"

#include "runs/Calculate.h"
#include "runs/RunMonitor.h"
#include "shell/ResultFiles.h"

namespace tal {

namespace {

std::vector<std::string> WordsOf(const std::string& line) {
  if (line.empty()) return {};
  ProgramCommand command = CommandFromLine(line);
  std::vector<std::string> words = {command.program};
  words.insert(words.end(), command.arguments.begin(), command.arguments.end());
  return words;
}

RunOutcome OutcomeOf(const ClusterTask& task, bool cancelled) {
  RunOutcome outcome;
  outcome.program = EngineProgramName;
  outcome.seconds = task.seconds;
  if (task.exitCode >= 0) {
    outcome.end = RunEnd::Finished;
    outcome.exitCode = task.exitCode;
  } else {
    outcome.end = cancelled ? RunEnd::Stopped : RunEnd::Crashed;
    if (!task.reason.empty()) outcome.reason = "Slurm: " + task.reason;
  }
  return outcome;
}

}  // namespace

ClusterTableRunReport RunTableDecksOnCluster(const std::vector<std::string>& runDecks,
                                             const ClusterTableRunSettings& settings,
                                             const std::string& sequentialReason) {
  ClusterSettings cluster = settings.cluster;
  if (!sequentialReason.empty()) {
    cluster.maxParallel = 1;
    RunMonitor::instance().appendOutput(sequentialReason + "\n");
  }
  ClusterTaskCommands commands{WordsOf(settings.beforeCommand), WordsOf(settings.afterCommand)};
  ClusterJob job(settings.engine, runDecks, settings.workingDirectory, cluster, commands);
  ClusterTableRunReport result;
  ClusterRunOptions options;
  options.progress = settings.progress;
  options.stopRequested = settings.stopRequested;
  options.pollMilliseconds = settings.pollMilliseconds;
  options.ended = [&](int run, const ClusterTask& task) {
    TableRunResult ended{run, OutcomeOf(task, job.cancelled()), {}, {}};
    std::string log;
    for (const ResultFile& file : FindResultFiles(task.deck)) {
      ended.resultFiles.push_back(file.path);
      log += "   " + ResultKindName(file.kind) + " " + file.path + "\n";
    }
    RunMonitor::instance().appendOutput(log);
    result.report.results.push_back(std::move(ended));
  };
  const ClusterRunResult run = RunOnCluster(job, options);
  result.submitError = run.error;
  result.jobId = job.jobId();
  result.report.stopped = run.stopped;
  return result;
}

}  // namespace tal
