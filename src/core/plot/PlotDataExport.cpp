#include "plot/PlotDataExport.h"

#include <algorithm>
#include <numeric>

#include "plot/PlotPointer.h"
#include "support/Files.h"

namespace tal {

namespace {

std::string Cell(const std::string& text, char separator) {
  if (separator != ',' || text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Heading(const std::string& name, const std::string& unit) { return unit.empty() ? name : name + " [" + unit + "]"; }

std::size_t PointsOf(const TPlotLine& line) {
  return std::min({static_cast<std::size_t>(std::max(line.PointCount, 0)), line.XValues.size(), line.YValues.size()});
}

// One curve's points by X, ascending; of points with the same X the first one.
std::vector<std::size_t> ByX(const TPlotLine& line) {
  std::vector<std::size_t> order(PointsOf(line));
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return line.XValues[a] < line.XValues[b]; });
  order.erase(std::unique(order.begin(), order.end(),
                          [&](std::size_t a, std::size_t b) { return line.XValues[a] == line.XValues[b]; }),
              order.end());
  return order;
}

}  // namespace

std::string PlotDataTable(const TPlotInfo& info, char separator, bool visibleOnly) {
  if (info.Lines.empty()) return "";
  const TPlotLine& first = info.Lines.front();
  std::string out = Cell(Heading(first.XName, first.XUnit), separator);
  for (const TPlotLine& line : info.Lines) out += separator + Cell(Heading(line.YName, line.YUnit), separator);
  out += '\n';
  const double low = static_cast<double>(info.XMin), high = static_cast<double>(info.XMax);
  auto wanted = [&](double x) { return !visibleOnly || (x >= low && x <= high); };
  auto addRow = [&](double x, const std::vector<const double*>& ys) {
    out += PlotValueText(x);
    for (const double* y : ys) {
      out += separator;
      if (y) out += PlotValueText(*y);
    }
    out += '\n';
  };

  const bool sharedX = std::all_of(info.Lines.begin(), info.Lines.end(), [&](const TPlotLine& line) {
    return PointsOf(line) == PointsOf(first) && std::equal(line.XValues.begin(), line.XValues.begin() + PointsOf(line), first.XValues.begin());
  });
  std::vector<const double*> ys(info.Lines.size());
  if (sharedX) {
    for (std::size_t i = 0; i < PointsOf(first); ++i) {
      if (!wanted(first.XValues[i])) continue;
      for (std::size_t k = 0; k < info.Lines.size(); ++k) ys[k] = &info.Lines[k].YValues[i];
      addRow(first.XValues[i], ys);
    }
    return out;
  }
  // Every X of any curve once, ascending: the curves walked side by side in X order.
  std::vector<std::vector<std::size_t>> orders;
  for (const TPlotLine& line : info.Lines) orders.push_back(ByX(line));
  std::vector<std::size_t> at(info.Lines.size(), 0);
  for (;;) {
    bool any = false;
    double x = 0;
    for (std::size_t k = 0; k < orders.size(); ++k) {
      if (at[k] >= orders[k].size()) continue;
      const double v = info.Lines[k].XValues[orders[k][at[k]]];
      if (!any || v < x) x = v;
      any = true;
    }
    if (!any) return out;
    for (std::size_t k = 0; k < orders.size(); ++k) {
      const bool here = at[k] < orders[k].size() && info.Lines[k].XValues[orders[k][at[k]]] == x;
      ys[k] = here ? &info.Lines[k].YValues[orders[k][at[k]]] : nullptr;
      if (here) ++at[k];
    }
    if (wanted(x)) addRow(x, ys);
  }
}

std::string ExportPlotData(const std::string& fileName, const TPlotInfo& info, bool visibleOnly) {
  return WriteFileAtomically(fileName, PlotDataTable(info, ',', visibleOnly));
}

}  // namespace tal
