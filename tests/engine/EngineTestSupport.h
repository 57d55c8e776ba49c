#pragma once
// Runs the engine in process on a deck written into a temporary folder.
#include <sstream>
#include <string>
#include <vector>

#include "Engine.h"
#include "TestSupport.h"

namespace talpix::test {

struct EngineRun {
  int exitCode = -1;
  std::string out, err, listing;
};

inline EngineRun RunDeck(const taltest::TempDir& dir, const std::string& name, const std::string& deck,
                         std::vector<std::string> extra = {}) {
  std::string path = dir.write(name, deck);
  std::ostringstream out, err;
  std::vector<std::string> args{path};
  args.insert(args.end(), extra.begin(), extra.end());
  EngineRun r;
  r.exitCode = RunEngine(args, out, err);
  r.out = out.str();
  r.err = err.str();
  std::string base = path.substr(0, path.rfind('.'));
  r.listing = taltest::ReadFile(base + ".LST");
  return r;
}

// The numbers of the data rows of a plot or output file (after its names and units lines).
inline std::vector<std::vector<double>> DataRows(const std::string& text) {
  std::vector<std::vector<double>> rows;
  std::istringstream in(text);
  std::string line;
  for (int n = 0; std::getline(in, line); ++n) {
    if (n < 2) continue;
    std::istringstream fields(line);
    std::vector<double> row;
    for (double v; fields >> v;) row.push_back(v);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace talpix::test
