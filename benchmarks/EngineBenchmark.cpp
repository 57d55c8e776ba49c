// The sample engine on the demo system for a year: hourly steps (8,760 steps; goal under 0.2 s)
// and one-minute steps with a plot row at every step (525,600 steps, a plot file of about 74 MB;
// goal under 3 s). The decks are the demo deck with its time step and plot interval changed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "Engine.h"
#include "TestSupport.h"

namespace {

std::string DemoDeck(const std::string& step) {
  std::string deck = taltest::ReadFile(std::string(TAL_SOURCE_DIR) + "/demo/HOUSE.DCK");
  auto replace = [&](const std::string& from, const std::string& to) {
    auto at = deck.find(from);
    if (at != std::string::npos) deck.replace(at, from.size(), to);
  };
  replace("SIMULATION 1 8760 1", "SIMULATION 0 8760 " + step);
  replace("PARAMETERS 3\n1 0 100000", "PARAMETERS 3\n" + step + " 0 100000");  // the plot writer
  return deck;
}

void RunYear(benchmark::State& state, const std::string& step) {
  taltest::TempDir dir;
  std::filesystem::copy_file(std::string(TAL_SOURCE_DIR) + "/demo/WEATHER.DAT", dir.file("WEATHER.DAT"));
  std::string deck = dir.write("HOUSE.DCK", DemoDeck(step));
  for (auto _ : state) {
    std::ostringstream out, err;
    if (talpix::RunEngine({deck}, out, err) != 0) state.SkipWithError(err.str().c_str());
  }
  state.counters["plot_MB"] = static_cast<double>(std::filesystem::file_size(dir.file("HOUSE.PLT"))) / 1e6;
}

void BM_EngineYearHourly(benchmark::State& state) { RunYear(state, "1"); }
void BM_EngineYearMinutes(benchmark::State& state) { RunYear(state, "0.016666666666666666"); }

}  // namespace

BENCHMARK(BM_EngineYearHourly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineYearMinutes)->Unit(benchmark::kMillisecond)->Iterations(3);
