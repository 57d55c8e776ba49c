#pragma once
// The runs of a table sent to a Slurm cluster as one job array, reported as a table run on this
// computer is: each run's exit status and result files, the failed runs, whether Stop ended it.
#include <functional>
#include <string>
#include <vector>

#include "runs/ClusterJob.h"
#include "tables/TableRunner.h"

namespace tal {

struct ClusterTableRunSettings {
  std::string engine;
  std::string workingDirectory;  // the table's folder, shared with the cluster's nodes
  ClusterSettings cluster;
  std::string beforeCommand;     // form deck commands around every run ("" for none)
  std::string afterCommand;
  std::function<void(const ClusterCounts&)> progress;
  std::function<bool()> stopRequested;
  int pollMilliseconds = 1000;
};

struct ClusterTableRunReport {
  std::string submitError;  // the cluster did not take the job: the message; nothing ran
  std::string jobId;
  TableRunReport report;
};

// Runs `runDecks` (run r is runDecks[r - 1]) on the cluster. The runs go one at a time when
// `sequentialReason` is not empty (the deck's shared outputs, the form's commands).
ClusterTableRunReport RunTableDecksOnCluster(const std::vector<std::string>& runDecks,
                                             const ClusterTableRunSettings& settings,
                                             const std::string& sequentialReason = "");

}  // namespace tal
