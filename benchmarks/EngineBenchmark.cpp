// The sample engine on the demo system for a year: hourly steps (8,760 steps; goal under 0.2 s)
// and one-minute steps with a plot row at every step (525,600 steps, a plot file of about 74 MB;
// goal under 3 s), and hourly with a feedback loop that only the second solution of a step settles.
// The decks are the demo deck with its time step and plot interval (and tank transfer) changed.
// Decks of many names, each read and run for 10 steps (goal under 1 s each): 100,000 constants
// in one chain, each naming the next, and one equation over 100,000 constants.
//
// The cost of the engine's generality: the demo system written out by hand as one loop (the same
// weather, units, equations, exponential integration, substitution to the same tolerance and the
// same plot and printer rows) beside the engine on the demo deck, both a year at one-minute steps,
// each as processor nanoseconds per unit per iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <time.h>

#include "Engine.h"
#include "UnitTypes.h"
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

// ---- the demo system by hand

constexpr int DemoUnits = 10;
const std::string OneMinute = "0.016666666666666666";

double Advance(double x0, double a, double b, double dt) {
  double z = b * dt;
  double phi = z == 0 ? 1.0 : std::expm1(z) / z;
  return x0 + (a + b * x0) * dt * phi;
}

struct Thermostat {
  double band;
  bool on = false;
  double current = 0;
  double Compute(double value, double setPoint, int iteration) {
    if (iteration <= 5) {
      bool next = on;
      if (value < setPoint - band / 2) next = true;
      else if (value > setPoint + band / 2) next = false;
      current = next ? 1 : 0;
    }
    return current;
  }
};

// Rows of 14-character columns, written a megabyte at a time.
struct RowFile {
  std::FILE* file;
  std::string pending;
  explicit RowFile(const std::string& path) : file(std::fopen(path.c_str(), "wb")) {}
  ~RowFile() {
    std::fwrite(pending.data(), 1, pending.size(), file);
    std::fclose(file);
  }
  void Row(std::initializer_list<double> values) {
    for (double v : values) {
      char num[40];
      int n = talpix::FormatResultNumber(v, num);
      pending.append(static_cast<std::size_t>(std::max(1, 14 - n)), ' ');
      pending.append(num, static_cast<std::size_t>(n));
    }
    pending += '\n';
    if (pending.size() >= (1u << 20)) {
      std::fwrite(pending.data(), 1, pending.size(), file);
      pending.clear();
    }
  }
};

// The year of HOUSE.DCK at `step` hours; returns the iterations (passes) taken.
long HandWrittenYear(const std::string& folder, double step) {
  std::vector<double> weather;  // TAMB, GSOL per hour from hour 1
  {
    std::ifstream in(folder + "/WEATHER.DAT");
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    for (double t, g; in >> t >> g;) weather.insert(weather.end(), {t, g});
  }
  const std::size_t rows = weather.size() / 2;
  const double pheat = 6, ktank = 0.15, qint = 0.3, tolerance = 1e-6;
  Thermostat houseStat{1}, pump{10};
  RowFile plot(folder + "/HAND.PLT"), daily(folder + "/HAND.OUT");
  // The values a pass reads before it computes them, and everything a pass computes.
  double on = 0, ttank = 40, troom = 20, qsol = 0, pumpOn = 0;
  double house0 = 20, tank0 = 40, sums0[3] = {0, 0, 0};
  long passes = 0;
  const long steps = std::lround(8760 / step);
  for (long k = 0; k <= steps; ++k) {
    const double time = k * step, dt = k ? step : 0;
    double qtank = 0, qaux = 0, tamb = 0, gsol = 0, tset = 0, sums[3] = {0, 0, 0};
    double before[12];
    for (int iteration = 1; iteration <= 50; ++iteration) {
      ++passes;
      double now[12];
      qtank = on * std::min(pheat, std::max(0.0, ktank * (ttank - troom)));
      qaux = on * pheat - qtank;
      const double qhouse = qtank + qaux + qint, qcharge = qsol - qtank;
      double pos = std::fmod(time - 1, static_cast<double>(rows));
      if (pos < 0) pos += static_cast<double>(rows);
      std::size_t i = std::min(static_cast<std::size_t>(pos), rows - 1), j = (i + 1) % rows;
      double f = pos - static_cast<double>(i);
      tamb = weather[2 * i] + f * (weather[2 * j] - weather[2 * i]);
      gsol = weather[2 * i + 1] + f * (weather[2 * j + 1] - weather[2 * i + 1]);
      double phase = (time - 7) / 24;
      tset = phase - std::floor(phase) < 0.5 ? 21 : 17;
      troom = Advance(house0, (qhouse + 0.2 * tamb) / 12, -0.2 / 12, dt);
      const double houseLoss = 0.2 * (troom - tamb);
      on = houseStat.Compute(troom, tset, iteration);
      qsol = pumpOn >= 0.5 ? std::max(0.0, 6 * (0.75 * gsol - 4.5 * (ttank - tamb)) / 1000.0) : 0.0;
      const double tout = ttank + qsol / 0.15, efficiency = gsol > 0 ? qsol * 1000.0 / (6 * gsol) : 0.0;
      ttank = Advance(tank0, (qcharge + 0.004 * 20) / 0.5, -0.004 / 0.5, dt);
      const double tankLoss = 0.004 * (ttank - 20);
      pumpOn = pump.Compute(ttank, 85, iteration);
      const double in7[3] = {qsol, qtank, qaux};
      for (int s = 0; s < 3; ++s) sums[s] = Advance(sums0[s], in7[s], 0, dt);
      double computed[12] = {qtank, qaux, qhouse, qcharge, troom, houseLoss, on, tout, qsol, efficiency, ttank, pumpOn};
      std::copy(computed, computed + 12, now);
      bool settled = iteration > 1;
      for (int v = 0; v < 12 && settled; ++v)
        settled = std::fabs(now[v] - before[v]) / std::max(1.0, std::fabs(now[v])) <= tolerance;
      std::copy(now, now + 12, before);
      (void)tankLoss;
      if (settled) break;
    }
    houseStat.on = on > 0.5;
    pump.on = pumpOn > 0.5;
    if (std::fabs(time / 24 - std::round(time / 24)) <= 1e-6 * step / 24) daily.Row({time, tamb, troom, ttank, sums[0], sums[1], sums[2]});
    plot.Row({time, tamb, gsol, troom, tset, ttank, on, qsol, qtank, qaux});
    house0 = troom;
    tank0 = ttank;
    std::copy(sums, sums + 3, sums0);
  }
  return passes;
}

// state.range(0): 0 the hand-written loop, 1 the engine.
void BM_EngineAgainstHandLoopYearMinutes(benchmark::State& state) {
  taltest::TempDir dir;
  std::filesystem::copy_file(std::string(TAL_SOURCE_DIR) + "/demo/WEATHER.DAT", dir.file("WEATHER.DAT"));
  std::string deck = dir.write("HOUSE.DCK", DemoDeck(OneMinute));
  long iterations = 0;
  double seconds = 0;
  // Processor time of this thread, which a busy machine stretches less than the clock on the wall.
  auto cpuSeconds = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  };
  for (auto _ : state) {
    const double began = cpuSeconds();
    if (state.range(0) == 0) {
      iterations = HandWrittenYear(dir.path(), std::stod(OneMinute));
    } else {
      std::ostringstream out, err;
      if (talpix::RunEngine({deck}, out, err) != 0) state.SkipWithError(err.str().c_str());
      // The line "N steps, M iterations, T s" after the progress lines.
      const std::string text = out.str();
      const auto steps = text.find(" steps, ");
      if (steps != std::string::npos) iterations = std::stol(text.substr(steps + 8));
    }
    seconds += cpuSeconds() - began;
  }
  state.counters["iterations"] = static_cast<double>(iterations);
  state.counters["ns_per_unit_iteration"] =
      seconds / static_cast<double>(state.iterations()) / static_cast<double>(DemoUnits * iterations) * 1e9;
}
BENCHMARK(BM_EngineAgainstHandLoopYearMinutes)->ArgName("engine")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK(BM_EngineChainOfConstants)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineEquationOverManyNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineYearHourly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineYearMinutes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EngineYearHourlyRunawayLoop)->Unit(benchmark::kMillisecond);
