#include "runs/ClusterSettings.h"

#include <charconv>
#include <regex>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

namespace {

bool ParseCount(const std::string& text, int& count) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, count);
  return error == std::errc() && stop == end && count >= 0;
}

// The time forms sbatch takes: minutes, minutes:seconds, hours:minutes:seconds, days-hours,
// days-hours:minutes and days-hours:minutes:seconds.
bool IsSlurmTime(const std::string& text) {
  static const std::regex forms(R"(\d+(:\d+){0,2}|\d+-\d+(:\d+){0,2})");
  return std::regex_match(text, forms);
}

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::string CheckClusterSettings(const ClusterSettings& settings) {
  if (!settings.timeLimit.empty() && !IsSlurmTime(settings.timeLimit))
    return "The time limit \"" + settings.timeLimit + "\" is not a time Slurm takes (for instance 01:30:00 or 2-00:00:00).";
  if (settings.maxParallel < 0) return "The number of runs at once cannot be negative.";
  if (HasLineBreak(settings.partition) || HasLineBreak(settings.sbatchOptions))
    return "The partition and the sbatch options must be one line each.";
  if (settings.partition.find_first_of(" \t") != std::string::npos)
    return "The partition name \"" + settings.partition + "\" cannot hold blanks.";
  return "";
}

ClusterSettings ReadClusterSettings(const std::string& programDir, std::vector<std::string>* problems) {
  ClusterSettings settings;
  const auto path = FindFileNoCase(programDir, ClusterSettingsFileName);
  if (!path) return settings;
  const auto bytes = ReadWholeFile(*path);
  if (!bytes) {
    if (problems) problems->push_back("The file " + *path + " cannot be read.");
    return settings;
  }
  for (const auto& line : SplitLines(*bytes)) {
    const auto equals = line.find('=');
    if (line.empty() || line.front() == '#' || equals == std::string::npos) continue;
    const std::string key = UpperShort(TrimShort(std::string_view(line).substr(0, equals), std::string::npos));
    const std::string value = TrimShort(std::string_view(line).substr(equals + 1), std::string::npos);
    ClusterSettings changed = settings;
    if (key == "PARTITION") changed.partition = value;
    else if (key == "TIME") changed.timeLimit = value;
    else if (key == "SBATCH_OPTIONS") changed.sbatchOptions = value;
    else if (key == "MAX_PARALLEL") {
      if (!ParseCount(value, changed.maxParallel)) {
        if (problems) problems->push_back(*path + ": \"" + line + "\" is not a number of runs.");
        continue;
      }
    }
    if (CheckClusterSettings(changed).empty()) settings = changed;
    else if (problems) problems->push_back(*path + ": \"" + line + "\" cannot be used. " + CheckClusterSettings(changed));
  }
  return settings;
}

std::string WriteClusterSettings(const std::string& programDir, const ClusterSettings& settings) {
  if (auto problem = CheckClusterSettings(settings); !problem.empty()) return problem;
  const std::string path = FindFileNoCase(programDir, ClusterSettingsFileName).value_or(JoinPath(programDir, ClusterSettingsFileName));
  std::string text = "# How TALSHELL sends table runs to a Slurm cluster.\n";
  text += "partition=" + settings.partition + "\n";
  text += "time=" + settings.timeLimit + "\n";
  text += "max_parallel=" + std::to_string(settings.maxParallel) + "\n";
  text += "sbatch_options=" + settings.sbatchOptions + "\n";
  return WriteFileAtomically(path, text);
}

}  // namespace tal
