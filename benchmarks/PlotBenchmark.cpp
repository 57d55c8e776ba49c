// Plots of long results: ReadPlt of a generated file of 525,600 rows by 10 columns (about 74 MB,
// values written like 2.854907E+01) against a plain std::from_chars pass over the same bytes; the
// whole talbatch plot of one column of it to PNG; and repainting a plot window of 10 curves of
// 525,600 points while it opens, moves its frame and resizes. Runs on the offscreen platform
// unless another is set.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "BenchmarkApplication.h"
#include "TestSupport.h"
#include "plot/PlotCurves.h"
#include "plot/PlotData.h"
#include "plot/PlotForm.h"
#include "support/Files.h"

namespace {

constexpr int Rows = 525600;  // a year of minutes
constexpr int Columns = 10;

using bench::Application;

struct YearFile {
  taltest::TempDir dir;
  std::string path;
  std::string bytes;
  YearFile() {
    std::string text = "TIME";
    for (int k = 2; k <= Columns; ++k) text += " T" + std::to_string(k);
    text += "\nmin";
    for (int k = 2; k <= Columns; ++k) text += " degC";
    text += "\n";
    text.reserve(static_cast<std::size_t>(Rows) * 142);
    char buffer[32];
    for (int r = 0; r < Rows; ++r) {
      for (int k = 0; k < Columns; ++k) {
        double v = k == 0 ? r : 20 + 10 * std::sin(r * 0.001 * (k + 1)) + k;
        std::snprintf(buffer, sizeof buffer, k == 0 ? "%.6E" : " %.6E", v);
        text += buffer;
      }
      text += '\n';
    }
    path = dir.write("YEAR.PLT", text);
    bytes = std::move(text);
  }
};

YearFile& Year() {
  static YearFile year;
  return year;
}

// The yardstick: every number of the file converted by std::from_chars, nothing else.
void BM_PlainFromCharsPass(benchmark::State& state) {
  const std::string& bytes = Year().bytes;
  for (auto _ : state) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    p = static_cast<const char*>(std::memchr(p, '\n', bytes.size())) + 1;
    p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))) + 1;
    double sum = 0;
    while (p < end) {
      while (p < end && static_cast<unsigned char>(*p) <= 32) ++p;
      const char* q = p;
      while (q < end && static_cast<unsigned char>(*q) > 32) ++q;
      double v = 0;
      std::from_chars(p, q, v);
      sum += v;
      p = q;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_PlainFromCharsPass)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadPltBytes(benchmark::State& state) {
  const std::string& bytes = Year().bytes;
  for (auto _ : state) {
    tal::TColumnTable table;
    tal::ReadPltBytes(bytes, table);
    benchmark::DoNotOptimize(table.ColMax.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadPltBytes)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadPltFile(benchmark::State& state) {
  for (auto _ : state) {
    tal::TColumnTable table;
    table.PltFileName = Year().path;
    tal::ReadPlt(table);
    benchmark::DoNotOptimize(table.ColMax.data());
  }
}
BENCHMARK(BM_ReadPltFile)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TalbatchPlotToPng(benchmark::State& state) {
  const std::string out = Year().dir.file("year.png");
  for (auto _ : state) {
    QProcess process;
    process.start(TAL_TALBATCH_PATH, {"plot", QString::fromStdString(Year().path), "-x", "TIME", "-y", "T2", "-o",
                                      QString::fromStdString(out)});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
      state.SkipWithError("talbatch plot failed");
      break;
    }
  }
}
BENCHMARK(BM_TalbatchPlotToPng)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Ten curves of the year, each one column against the minutes.
tal::TPlotInfo TenCurves() {
  tal::TColumnTable table;
  tal::ReadPltBytes(Year().bytes, table);
  tal::TPlotInfo info;
  info.XMax = Rows;
  info.YMin = 0;
  info.YMax = 40;
  info.XTicks = info.YTicks = 8;
  info.ShowLegend = 1;
  for (int k = 0; k < 10; ++k) {
    tal::TPlotLine line;
    line.LineNo = k + 1;
    line.YName = table.ColName[static_cast<std::size_t>(1 + k % (Columns - 1))];
    line.Color = k;
    line.PointCount = Rows;
    line.XValues = table.ColData[0];
    line.YValues = table.ColData[static_cast<std::size_t>(1 + k % (Columns - 1))];
    info.Lines.push_back(std::move(line));
  }
  return info;
}

// One whole repaint of the window's drawing surface, as the screen asks for it.
void Repaint(tal::TPlotForm& plot) {
  plot.canvas()->repaint();
}

void BM_PlotWindowRepaints(benchmark::State& state) {
  Application();
  static const tal::TPlotInfo info = TenCurves();
  tal::TPlotForm plot(nullptr);
  plot.info() = info;
  plot.resize(800, 600);
  plot.show();
  plot.PlotChanged();
  QApplication::processEvents();
  int step = 0;
  for (auto _ : state) {
    // Opening paints once; moving and sizing the frame repaint with it in a new place.
    tal::PlotFrame& frame = plot.frame();
    switch (step++ % 3) {
      case 0: break;
      case 1: frame.Left += 5, frame.Right += 5; break;
      case 2: frame.Right += 7, frame.Bottom += 3; break;
    }
    Repaint(plot);
  }
  state.counters["points"] = 10.0 * Rows;
}
BENCHMARK(BM_PlotWindowRepaints)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

namespace {

// A window of ten curves of the year at 800 by 600, painted once.
struct TenCurveWindow {
  bool started = (Application(), true);  // the application exists before the window
  tal::TPlotForm plot{nullptr};
  explicit TenCurveWindow(const tal::TPlotInfo& info) {
    plot.info() = info;
    plot.resize(800, 600);
    plot.show();
    plot.PlotChanged();
    QApplication::processEvents();
    Repaint(plot);
  }
};

// Only the frame moves, or the window is exposed: the reductions of the curves are drawn again.
void BM_PlotRepaintMovedOrExposed(benchmark::State& state) {
  static const tal::TPlotInfo info = TenCurves();
  TenCurveWindow window(info);
  int step = 0;
  for (auto _ : state) {
    tal::PlotFrame& frame = window.plot.frame();
    if (step++ % 2 == 0) frame.Left += 5, frame.Right += 5;
    Repaint(window.plot);
  }
}
BENCHMARK(BM_PlotRepaintMovedOrExposed)->Unit(benchmark::kMillisecond)->Iterations(30);

// One wheel step in or out around the middle, or one arrow key, and the repaint it brings.
void BM_PlotZoomOrPanStep(benchmark::State& state) {
  static const tal::TPlotInfo info = TenCurves();
  TenCurveWindow window(info);
  const tal::PlotFrame f = window.plot.frame();
  const QPoint middle((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2);
  int step = 0;
  for (auto _ : state) {
    switch (step++ % 4) {
      case 0: window.plot.ZoomAt(middle, 0.8, true, true); break;
      case 1: window.plot.PanSteps(1, 0); break;
      case 2: window.plot.PanSteps(-1, 0); break;
      case 3: window.plot.ZoomAt(middle, 1.25, true, true); break;
    }
    Repaint(window.plot);
  }
}
BENCHMARK(BM_PlotZoomOrPanStep)->Unit(benchmark::kMillisecond)->Iterations(40);

// 1,000 rows added to a plotted file of 525,600 rows: read, added to ten curves and drawn.
void BM_PlotAppendRows(benchmark::State& state) {
  Application();
  taltest::TempDir dir;
  const std::string path = dir.write("LIVE.PLT", Year().bytes);
  tal::TColumnTable table;
  table.PltFileName = path;
  tal::ReadPlt(table);
  tal::TPlotInfo info;
  info.XMax = 600000, info.YMax = 40, info.XTicks = 6, info.YTicks = 8;
  tal::CurveChoice choice;
  for (int k = 1; k < Columns; ++k) choice.yColumns.push_back(k);
  choice.yColumns.push_back(1);
  choice.toRowText = std::to_string(table.RowCount);
  tal::AddCurves(table, choice, info);
  table = {};
  TenCurveWindow window(info);
  int row = Rows;
  for (auto _ : state) {
    state.PauseTiming();
    {
      std::string rows;
      char buffer[32];
      for (int r = 0; r < 1000; ++r, ++row) {
        for (int k = 0; k < Columns; ++k) {
          std::snprintf(buffer, sizeof buffer, k == 0 ? "%.6E" : " %.6E", k == 0 ? row : 25.0 + k);
          rows += buffer;
        }
        rows += '\n';
      }
      std::ofstream(path, std::ios::app | std::ios::binary) << rows;
    }
    state.ResumeTiming();
    if (!window.plot.PollDataFiles()) {
      state.SkipWithError("no rows were added");
      break;
    }
    Repaint(window.plot);
  }
}
BENCHMARK(BM_PlotAppendRows)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
