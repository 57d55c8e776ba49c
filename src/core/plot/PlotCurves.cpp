#include "plot/PlotCurves.h"

#include <charconv>

#include "support/Text.h"

namespace tal {

bool ParseIntegerField(const std::string& text, int& value) {
  std::string t = TrimShort(text);
  const char* begin = t.data();
  const char* end = begin + t.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return begin != end && ec == std::errc() && ptr == end;
}

CurveRows ChooseCurveRows(const std::string& fromRowText, const std::string& toRowText, int rowCount) {
  CurveRows rows;
  int from = 0;
  rows.fromRow = ParseIntegerField(fromRowText, from) && from > 0 ? from : 1;
  if (rows.fromRow > rowCount) {
    rows.check = CurveRowsCheck::FromRowBeyondRows;
    return rows;
  }
  int to = 0;
  if (!ParseIntegerField(toRowText, to)) {
    rows.check = CurveRowsCheck::ToRowNotInteger;
    return rows;
  }
  rows.toRow = to <= rowCount && to > rows.fromRow ? to : rowCount;
  return rows;
}

CurveRowsCheck AddCurves(const TColumnTable& table, const CurveChoice& choice, TPlotInfo& info) {
  CurveRows rows = ChooseCurveRows(choice.fromRowText, choice.toRowText, table.RowCount);
  if (rows.check != CurveRowsCheck::Ok) return rows.check;
  const int first = info.LineCount() + 1;
  int k = first;
  const auto x = static_cast<std::size_t>(choice.xColumn);
  for (int yColumn : choice.yColumns) {
    const auto y = static_cast<std::size_t>(yColumn);
    TPlotLine line;
    line.LineNo = k;
    line.FileRows = table.RowCount;
    line.XCol = choice.xColumn;
    line.YCol = yColumn;
    line.XName = table.ColName[x];
    line.XUnit = table.ColUnit[x];
    line.YName = table.ColName[y];
    line.YUnit = table.ColUnit[y];
    if (k == 1) {
      info.XLabel = (line.XName + " " + line.XUnit).substr(0, MaxAxisLabelLength);
      info.YLabel = (line.YName + " " + line.YUnit).substr(0, MaxAxisLabelLength);
    }
    line.FromRow = rows.fromRow;
    line.ToRow = rows.toRow;
    line.LineStyle = choice.lineStyle;
    line.Symbol = choice.symbol == 0 ? 0 : choice.symbol + (k - first);
    line.Color = choice.color + (k - first);
    line.Smooth = choice.smooth ? 1 : 0;
    line.PointCount = rows.toRow - rows.fromRow + 1;
    const auto from = static_cast<std::ptrdiff_t>(rows.fromRow - 1);
    const auto to = static_cast<std::ptrdiff_t>(rows.toRow);
    line.XValues.assign(table.ColData[x].begin() + from, table.ColData[x].begin() + to);
    line.YValues.assign(table.ColData[y].begin() + from, table.ColData[y].begin() + to);
    line.Source = {table.PltFileName, table.WholeLineBytes, table.WholeLineRows, table.LastWholeLine, table.ColCount};
    info.Lines.push_back(std::move(line));
    ++k;
  }
  return CurveRowsCheck::Ok;
}

}  // namespace tal
