#include "tables/TableResultsPlot.h"

#include <algorithm>

#include "plot/PlotData.h"
#include "plot/PlotZoom.h"
#include "support/Text.h"

namespace tal {

namespace {

// Names and units of a curve are kept at the length a plot file holds.
std::string Cut(const std::string& text, std::size_t length) { return text.substr(0, std::min(text.size(), length)); }

void FitAxes(TPlotInfo& info) {
  info.XLabel = Cut(info.Lines.empty() ? "" : TrimShort(info.Lines[0].XName + " " + info.Lines[0].XUnit), MaxAxisLabelLength);
  info.YLabel = Cut(info.Lines.empty() ? "" : TrimShort(info.Lines[0].YName + " " + info.Lines[0].YUnit), MaxAxisLabelLength);
  if (!info.Lines.empty()) SetRanges(info, FitRanges(info));
}

TPlotLine Curve(int number, std::vector<double> x, std::vector<double> y) {
  TPlotLine line;
  line.LineNo = number;
  line.PointCount = static_cast<std::int32_t>(x.size());
  line.FileRows = line.PointCount;
  line.FromRow = 1;
  line.ToRow = line.PointCount;
  line.XValues = std::move(x);
  line.YValues = std::move(y);
  return line;
}

}  // namespace

std::optional<int> ResultsAxisNamed(const TableResults& results, const std::string& name) {
  const std::string wanted = TrimShort(name);
  if (EqualNoCase(wanted, "RUN")) return RunNumberAxis;
  for (std::size_t v = 0; v < results.variableNames.size(); ++v)
    if (EqualNoCase(results.variableNames[v], wanted)) return static_cast<int>(v);
  return std::nullopt;
}

TPlotInfo ResultsPlot(const TableResults& results, std::size_t choice, int axis, std::string& error) {
  std::vector<std::pair<double, double>> points;
  for (const ResultRow& row : results.rows) {
    const ResultCell& cell = row.cells[choice];
    if (!cell.value) continue;
    if (axis == RunNumberAxis) {
      points.emplace_back(row.run, *cell.value);
    } else if (std::string x = results.VariableText(row.run, axis); !x.empty()) {
      points.emplace_back(static_cast<double>(results.variableValues[static_cast<std::size_t>(row.run - 1)][static_cast<std::size_t>(axis)]),
                          *cell.value);
    }
  }
  TPlotInfo info;
  const std::string name = results.choices[choice].Text();
  if (points.empty()) {
    error = "No run has a value of " + name + " to plot.";
    return info;
  }
  std::stable_sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<double> x, y;
  for (const auto& [px, py] : points) {
    x.push_back(px);
    y.push_back(py);
  }
  TPlotLine line = Curve(1, std::move(x), std::move(y));
  line.XName = axis == RunNumberAxis ? "Run" : Cut(results.variableNames[static_cast<std::size_t>(axis)], MaxColumnNameLength);
  line.YName = Cut(name, MaxColumnNameLength);
  line.YUnit = Cut(results.units[choice], MaxColumnNameLength);
  line.LineStyle = 1;
  line.Symbol = 1;
  line.Color = 1;
  info.Lines.push_back(std::move(line));
  FitAxes(info);
  return info;
}

int OverlayColor(int k) {
  // The colour table without black (the frame's colour) and without the second yellow.
  static constexpr int Distinct[] = {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 6, 14};
  constexpr int count = static_cast<int>(std::size(Distinct));
  return Distinct[((k % count) + count) % count];
}

TPlotInfo RunsOverlayPlot(const std::vector<RunCurve>& curves, const std::string& column) {
  TPlotInfo info;
  for (const RunCurve& run : curves) {
    if (!run.reason.empty() || info.LineCount() == MaxPlotLines) continue;
    TPlotLine line = Curve(info.LineCount() + 1, run.time, run.values);
    line.XName = "TIME";
    line.XUnit = "h";
    line.YName = run.name;  // the legend's text: the run's variables
    line.YUnit = Cut(run.unit, MaxColumnNameLength);
    line.LineStyle = 1;
    line.Color = OverlayColor(info.LineCount());
    info.Lines.push_back(std::move(line));
  }
  if (!info.Lines.empty()) {
    FitAxes(info);
    info.YLabel = Cut(TrimShort(column + " " + info.Lines[0].YUnit), MaxAxisLabelLength);
  }
  info.ShowLegend = 1;
  return info;
}

}  // namespace tal
