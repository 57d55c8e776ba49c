// The sample engine on the demo system for a year: hourly steps (8,760 steps; goal under 0.2 s)
// and one-minute steps with a plot row at every step (525,600 steps, a plot file of about 74 MB;
// goal under 3 s), and hourly with a feedback loop that only the second solution of a step settles.
// The decks are the demo deck with its time step and plot interval (and tank transfer) changed.
// Decks of many names, each read and run for 10 steps (goal under 1 s each): 100,000 constants
// in one chain, each naming the next, and one equation over 100,000 constants.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "Engine.h"
#include "TestSupport.h"

namespace {

std::string DemoDeck(const std::string& step, const std::string& transfer = "0.15") {
  std::string deck = taltest::ReadFile(std::string(TAL_SOURCE_DIR) + "/demo/HOUSE.DCK");
  auto replace = [&](const std::string& from, const std::string& to) {
    auto at = deck.find(from);
    if (at != std::string::npos) deck.replace(at, from.size(), to);
  };
  replace("SIMULATION 1 8760 1", "SIMULATION 0 8760 " + step);
  replace("PARAMETERS 3\n1 0 100000", "PARAMETERS 3\n" + step + " 0 100000");  // the plot writer
  replace("KTANK=0.15", "KTANK=" + transfer);
  return deck;
}

void RunYear(benchmark::State& state, const std::string& step, const std::string& transfer = "0.15") {
  taltest::TempDir dir;
  std::filesystem::copy_file(std::string(TAL_SOURCE_DIR) + "/demo/WEATHER.DAT", dir.file("WEATHER.DAT"));
  std::string deck = dir.write("HOUSE.DCK", DemoDeck(step, transfer));
  for (auto _ : state) {
    std::ostringstream out, err;
    if (talpix::RunEngine({deck}, out, err) != 0) state.SkipWithError(err.str().c_str());
  }
  state.counters["plot_MB"] = static_cast<double>(std::filesystem::file_size(dir.file("HOUSE.PLT"))) / 1e6;
}

void BM_EngineYearHourly(benchmark::State& state) { RunYear(state, "1"); }
void BM_EngineYearMinutes(benchmark::State& state) { RunYear(state, "0.016666666666666666"); }
// The tank's transfer to the house raised to 1 kW/K: at hourly steps the loop through QTANK has a
// gain of about -2, which plain substitution cannot settle in 1,305 steps; each is solved again.
void BM_EngineYearHourlyRunawayLoop(benchmark::State& state) { RunYear(state, "1", "1"); }

void RunDeckText(benchmark::State& state, const std::string& text) {
  taltest::TempDir dir;
  std::string deck = dir.write("MANY.DCK", text + "SIMULATION 0 10 1\nEND\n");
  for (auto _ : state) {
    std::ostringstream out, err;
    if (talpix::RunEngine({deck}, out, err) != 0) state.SkipWithError(err.str().c_str());
  }
}

constexpr int ManyNames = 100000;

void BM_EngineChainOfConstants(benchmark::State& state) {
  std::string text = "CONSTANTS " + std::to_string(ManyNames) + "\n";
  for (int k = 0; k + 1 < ManyNames; ++k) text += "C" + std::to_string(k) + "=C" + std::to_string(k + 1) + "+1\n";
  RunDeckText(state, text + "C" + std::to_string(ManyNames - 1) + "=1\nEQUATIONS 1\nX=C0*TIME\n");
}

void BM_EngineEquationOverManyNames(benchmark::State& state) {
  std::string text = "CONSTANTS " + std::to_string(ManyNames) + "\n", sum = "X=TIME";
  for (int k = 0; k < ManyNames; ++k) {
    text += "N" + std::to_string(k) + "=" + std::to_string(k) + "\n";
    sum += "+N" + std::to_string(k);
  }
  RunDeckText(state, text + "EQUATIONS 1\n" + sum + "\n");
}

}  // namespace

BENCHMARK(BM_EngineChainOfConstants)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineEquationOverManyNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineYearHourly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineYearMinutes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EngineYearHourlyRunawayLoop)->Unit(benchmark::kMillisecond);
