// Collecting a study's results: four statistics of two columns from 100 and from 1,000 runs whose
// plot files hold a year at hourly steps (8,760 rows of 10 columns, as the demo deck writes them).
// One generated file is linked under every run's name, so the disk holds it once; every run's file
// is still read and parsed.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "TestSupport.h"
#include "tables/TableResults.h"

namespace {

std::string YearOfHours() {
  std::string text = "TIME TAMB GSOL TROOM TSET TTANK HEATER QSOL QTANK QAUX\nh C W/M2 C C C - KW KW KW\n";
  char line[256];
  for (int hour = 1; hour <= 8760; ++hour) {
    const double t = hour;
    std::snprintf(line, sizeof line,
                  "%14.6E%14.6E%14.6E%14.6E%14.6E%14.6E%14.6E%14.6E%14.6E%14.6E\n", t, 10 * std::sin(t / 1000),
                  std::fmax(0, 500 * std::sin(t / 3.8)), 20 + std::sin(t), 20.0, 40 + 5 * std::cos(t / 50), hour % 2 * 1.0,
                  std::fmax(0, 3 * std::sin(t / 3.8)), 1.5, 2 + std::cos(t / 24));
    text += line;
  }
  return text;
}

struct Study {
  taltest::TempDir dir;
  tal::TableModel table;
  explicit Study(int runs) : table(runs, {"PHEAT", "KTANK"}) {
    table.deckFileName = dir.write("HOUSE.DCK", "CONSTANTS 2\nPHEAT=6\nKTANK=0.15\n");
    const std::string first = dir.write("HOUSE.PLT", YearOfHours());
    for (int run = 1; run <= runs; ++run) {
      table.setValue(1, run, run);
      table.setValue(2, run, 0.01L * run);
      if (run > 1) std::filesystem::create_hard_link(first, dir.file("HOUSE" + std::to_string(run - 1) + ".PLT"));
    }
  }
};

void BM_CollectTableResults(benchmark::State& state) {
  Study study(static_cast<int>(state.range(0)));
  using tal::Statistic;
  const std::vector<tal::ResultChoice> choices = {{"QAUX", Statistic::Integral}, {"QAUX", Statistic::Maximum},
                                                  {"TTANK", Statistic::Mean}, {"TTANK", Statistic::Minimum}};
  for (auto _ : state) {
    tal::TableResults results = tal::CollectTableResults(study.table, choices);
    if (!results.RunsWithoutFiles().empty()) state.SkipWithError("a run's file was not read");
    benchmark::DoNotOptimize(results);
  }
}
BENCHMARK(BM_CollectTableResults)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
