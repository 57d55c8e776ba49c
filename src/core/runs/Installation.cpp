#include "runs/Installation.h"

#include <algorithm>
#include <cstdlib>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

namespace {

std::string Trim(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

Installation ReadInstallation(const std::string& programDir) {
  Installation installation;
  auto path = FindFileNoCase(programDir, InstallationFileName);
  auto bytes = path ? ReadWholeFile(*path) : std::nullopt;
  if (!bytes) return installation;
  for (const auto& raw : SplitLines(*bytes)) {
    std::string line = Trim(raw);
    std::size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || line[0] == ';' || equals == std::string::npos) continue;
    std::string key = Trim(line.substr(0, equals));
    std::string value = Trim(line.substr(equals + 1));
    if (EqualNoCase(key, "FrontEnd"))
      installation.merodinFrontEnd = EqualNoCase(value, "MERODIN");
    else if (EqualNoCase(key, "Website") && !value.empty())
      installation.website = value;
    else if (EqualNoCase(key, "ParallelRuns"))
      installation.parallelRuns = std::max(0, std::atoi(value.c_str()));
  }
  return installation;
}

}  // namespace tal
