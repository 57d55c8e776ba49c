#include "plot/PlotLiveData.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "plot/PlotData.h"

namespace tal {

namespace {

// The bytes of `name` from `offset` to its end; false when it cannot be read.
bool ReadFrom(const std::string& name, std::int64_t offset, std::string& bytes) {
  QFile file(QString::fromLocal8Bit(name.c_str()));
  if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) return false;
  const QByteArray data = file.readAll();
  bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
  return true;
}

std::string LastLineOf(std::string_view whole) {
  constexpr std::size_t Kept = 256;
  std::size_t start = whole.size() < 2 ? 0 : whole.rfind('\n', whole.size() - 2);
  start = start == std::string_view::npos || whole.size() < 2 ? 0 : start + 1;
  start = std::max(start, whole.size() > Kept ? whole.size() - Kept : 0);
  return std::string(whole.substr(start));
}

// Adds rows `firstRow` on (1-based rows of the file, `rows[column][i]` being row firstRow + i) to a
// curve that reaches the end of its file; a part row read before its line was whole goes first.
void AddRows(TPlotLine& line, const std::vector<std::vector<double>>& rows, std::int32_t firstRow, std::int32_t count,
             DataExtent& added) {
  const std::int32_t held = std::clamp(line.Source.WholeRows - line.FromRow + 1, 0, std::max(line.PointCount, 0));
  line.XValues.resize(static_cast<std::size_t>(held));
  line.YValues.resize(static_cast<std::size_t>(held));
  const auto& xs = rows[static_cast<std::size_t>(line.XCol)];
  const auto& ys = rows[static_cast<std::size_t>(line.YCol)];
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t row = firstRow + i;
    if (row <= line.Source.WholeRows || row < line.FromRow) continue;
    line.XValues.push_back(xs[static_cast<std::size_t>(i)]);
    line.YValues.push_back(ys[static_cast<std::size_t>(i)]);
    added.Add(xs[static_cast<std::size_t>(i)], ys[static_cast<std::size_t>(i)]);
  }
  line.PointCount = static_cast<std::int32_t>(line.XValues.size());
}

bool Close(Real a, Real b, Real span) { return std::fabs(static_cast<double>(a - b)) <= 1e-9 * std::fabs(static_cast<double>(span)); }

bool IsProposed(const AxisRange& axis, double min, double max, double positiveMin) {
  const AxisRange proposed = ProposeAxis(axis, min, max, positiveMin);
  const Real span = axis.Max - axis.Min;
  return min <= max && Close(axis.Min, proposed.Min, span) && Close(axis.Max, proposed.Max, span);
}

}  // namespace

bool IsProposedX(const AxisRange& axis, const DataExtent& e) { return IsProposed(axis, e.XMin, e.XMax, e.XMinPositive); }
bool IsProposedY(const AxisRange& axis, const DataExtent& e) { return IsProposed(axis, e.YMin, e.YMax, e.YMinPositive); }

TPlotDataFollower::Outcome TPlotDataFollower::Poll(TPlotInfo& info) {
  Outcome out;
  std::map<std::string, std::vector<TPlotLine*>> byFile;
  for (TPlotLine& line : info.Lines)
    if (!line.Source.File.empty() && !rewritten_.count(line.Source.File)) byFile[line.Source.File].push_back(&line);
  for (auto& [file, lines] : byFile) {
    // Read on from where the curve read longest ago stopped.
    const CurveSource from = (*std::min_element(lines.begin(), lines.end(), [](const TPlotLine* a, const TPlotLine* b) {
                               return a->Source.WholeBytes < b->Source.WholeBytes;
                             }))->Source;
    std::int64_t readTo = 0;
    for (const TPlotLine* line : lines) readTo = std::max(readTo, line->Source.WholeBytes);
    std::error_code ec;
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(file, ec));
    if (ec || size == readTo) continue;  // gone, or nothing new: the curves stay as they are
    const auto lastLength = static_cast<std::int64_t>(from.LastLine.size());
    std::string bytes;
    const bool shorter = size < readTo;
    if (shorter || !ReadFrom(file, from.WholeBytes - lastLength, bytes) ||
        bytes.compare(0, from.LastLine.size(), from.LastLine) != 0) {
      rewritten_.insert(file);
      out.rewritten.push_back(file);
      continue;
    }
    const std::size_t wholeEnd = bytes.rfind('\n');
    if (wholeEnd == std::string::npos || wholeEnd + 1 <= from.LastLine.size()) continue;  // no whole line yet
    const std::string_view whole(bytes.data(), wholeEnd + 1);
    std::vector<std::vector<double>> rows(static_cast<std::size_t>(std::max(from.Columns, 1)));
    const std::int32_t count = ReadPltRows(whole.substr(from.LastLine.size()), rows);
    const CurveSource now{file, from.WholeBytes + static_cast<std::int64_t>(whole.size() - from.LastLine.size()),
                          from.WholeRows + count, LastLineOf(whole), from.Columns};
    for (TPlotLine* line : lines) {
      const bool reachesEnd = line->ToRow >= line->Source.WholeRows;
      const bool columnsRead = line->XCol >= 0 && line->YCol >= 0 && line->XCol < from.Columns && line->YCol < from.Columns;
      if (reachesEnd && columnsRead) {
        AddRows(*line, rows, from.WholeRows + 1, count, out.added);
        line->ToRow = line->FileRows = now.WholeRows;
        out.grown = true;
      }
      line->Source = now;
    }
  }
  return out;
}

std::string ReloadCurves(TPlotInfo& info) {
  const bool anyFile = std::any_of(info.Lines.begin(), info.Lines.end(), [](const TPlotLine& l) { return !l.Source.File.empty(); });
  if (!anyFile) return "This plot was opened from a plot file: it names no data file to read again.";
  const DataExtent before = CurvesExtent(info);
  PlotRanges ranges = RangesOf(info);
  const bool xProposed = IsProposedX(ranges.X, before), yProposed = IsProposedY(ranges.Y, before);
  std::map<std::string, TColumnTable> tables;
  std::string messages;
  auto note = [&](const std::string& text) {
    if (messages.find(text) == std::string::npos) messages += (messages.empty() ? "" : "\n") + text;
  };
  for (TPlotLine& line : info.Lines) {
    const std::string file = line.Source.File;
    if (file.empty()) continue;
    auto it = tables.find(file);
    if (it == tables.end()) {
      TColumnTable table;
      table.PltFileName = file;
      const ReadPltResult read = ReadPlt(table);
      if (!read.error.empty()) note(read.error);
      it = tables.emplace(file, std::move(table)).first;
    }
    const TColumnTable& table = it->second;
    if (table.ColCount == 0) continue;
    const int x = table.ColumnIndex(line.XName), y = table.ColumnIndex(line.YName);
    for (const auto& [index, name] : {std::pair{x, line.XName}, std::pair{y, line.YName}})
      if (index < 0) note(file + " has no column named \"" + name + "\" any more.");
    if (x < 0 || y < 0) continue;
    const bool toEnd = line.ToRow >= line.FileRows;
    const std::int32_t from = std::max(line.FromRow, 1);
    const std::int32_t to = toEnd ? table.RowCount : std::min(line.ToRow, table.RowCount);
    const auto& xs = table.ColData[static_cast<std::size_t>(x)];
    const auto& ys = table.ColData[static_cast<std::size_t>(y)];
    line.XValues.assign(xs.begin() + std::min(from - 1, to), xs.begin() + std::max(to, 0));
    line.YValues.assign(ys.begin() + std::min(from - 1, to), ys.begin() + std::max(to, 0));
    line.PointCount = static_cast<std::int32_t>(line.XValues.size());
    line.FromRow = from;
    line.ToRow = std::max(to, from);
    line.FileRows = table.RowCount;
    line.XCol = x, line.YCol = y;
    line.Source = {file, table.WholeLineBytes, table.WholeLineRows, table.LastWholeLine, table.ColCount};
  }
  const DataExtent after = CurvesExtent(info);
  if (xProposed) ranges.X = ProposeAxis(ranges.X, after.XMin, after.XMax, after.XMinPositive);
  if (yProposed) ranges.Y = ProposeAxis(ranges.Y, after.YMin, after.YMax, after.YMinPositive);
  SetRanges(info, ranges);
  return messages;
}

}  // namespace tal
