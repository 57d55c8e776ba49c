#pragma once
// How table runs are sent to a Slurm cluster: the text file "TALSHELL.CLU" beside TALSHELL.DFT,
// one "key=value" per line (lines starting with "#" and lines without "=" are ignored):
//
//   partition=compute            the partition the job array goes to ("" = the cluster's default)
//   time=01:00:00                the time limit of each run ("" = the partition's default)
//   max_parallel=8               at most this many runs at once (0 = as many as the cluster allows)
//   sbatch_options=--qos=short   further sbatch options, split like a command line
//
// The binary settings file keeps its layout; a missing cluster file means the defaults.
#include <string>
#include <vector>

namespace tal {

inline constexpr const char* ClusterSettingsFileName = "TALSHELL.CLU";

struct ClusterSettings {
  std::string partition;
  std::string timeLimit;
  int maxParallel = 0;
  std::string sbatchOptions;

  bool operator==(const ClusterSettings&) const = default;
};

// The settings of `programDir`; defaults when the file is missing. A line that cannot be used
// (a bad number or time) is skipped and named in `problems` when given.
ClusterSettings ReadClusterSettings(const std::string& programDir, std::vector<std::string>* problems = nullptr);
// Writes the file safely; "" on success, else the message naming the file.
std::string WriteClusterSettings(const std::string& programDir, const ClusterSettings& settings);

// "" when `settings` can be used, else what is wrong (a time limit Slurm would refuse, a
// negative count, a line break in a text).
std::string CheckClusterSettings(const ClusterSettings& settings);

}  // namespace tal
