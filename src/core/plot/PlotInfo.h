#pragma once
// The description of one plot (axes, titles, formats, legend) and its curves, each holding its own
// copy of the values it draws. A plot window owns one; ".SPF" files store it whole.
#include <QColor>
#include <cstdint>
#include <string>
#include <vector>

#include "support/Numbers.h"

namespace tal {

inline constexpr int MaxPlotLines = 50;
inline constexpr std::size_t MaxAxisLabelLength = 30;

// Number format of an axis's tick labels: fixed ("F") or exponent ("E") with Digits decimals.
struct TAxisFormat {
  std::uint8_t Fixed = 1;
  std::int16_t Digits = 0;
  RealFormat format() const { return {Fixed != 0, Digits}; }
  bool operator==(const TAxisFormat&) const = default;
};

// Where a curve's values were read from, kept in memory only (plot files do not hold it): the data
// file and how much of it lay in whole lines then, so that rows an engine adds later can be added
// to the curve. A curve is the same curve whatever file it came from.
struct CurveSource {
  std::string File;              // full name; "" for a curve read from a plot file
  std::int64_t WholeBytes = 0;   // bytes of the file up to the end of its last whole line
  std::int32_t WholeRows = 0;    // rows read from those bytes
  std::string LastLine;          // the last whole line (at most 256 bytes of its end), its line end included
  std::int32_t Columns = 0;      // values the reader takes from each row
  bool operator==(const CurveSource&) const { return true; }
};

struct TPlotLine {
  std::int32_t PointCount = 0;
  std::int32_t FileRows = 0;
  std::int32_t RowsAdjustable = 0;
  std::int32_t LineNo = 0;
  std::int32_t XCol = 0;  // 0-based column indexes of the data file
  std::int32_t YCol = 0;
  std::string XName, YName, XUnit, YUnit;  // at most 20 characters each
  std::int32_t FromRow = 0;
  std::int32_t ToRow = 0;
  std::int32_t LineStyle = 1;  // 0 none, 1 solid, 2 solid 2 pixels wide, 3 broken
  std::int32_t Symbol = 0;     // 0 none, 1..15 (above 15 counts round again)
  std::int32_t Color = 0;      // colour table number
  std::uint8_t Smooth = 0;     // kept and saved; the drawing does not use it
  // The values, each one as a 6-byte real holds it; PointCount of each.
  std::vector<double> XValues, YValues;
  CurveSource Source;
  bool operator==(const TPlotLine&) const = default;
};

struct TPlotInfo {
  std::string XLabel, YLabel;  // at most 30 characters each
  Real XMin = 0, YMin = 0, XMax = 1, YMax = 1;
  std::uint8_t XGrid = 0, YGrid = 0;
  std::int32_t XMinorTicks = 1, YMinorTicks = 1;
  std::int32_t XTicks = 5, YTicks = 5;
  std::uint8_t XLog = 0, YLog = 0;
  TAxisFormat XFormat, YFormat;
  std::uint8_t ShowLegend = 0;
  // Labels of an X axis of TIME in hours: 0 hours, 1 days, 2 months of a year (TimeAxis.h). Kept in
  // the byte after ShowLegend, 0 in files written before.
  std::uint8_t XTimeLabels = 0;
  std::vector<TPlotLine> Lines;  // LineCount = Lines.size(), at most 50
  int LineCount() const { return static_cast<int>(Lines.size()); }
  bool operator==(const TPlotInfo&) const = default;
};

// Line styles, symbols and colours of the setup and Modify Plot spins.
inline constexpr int MaxLineStyle = 3;
inline constexpr int MaxSymbol = 15;
inline constexpr int MaxColor = 15;

// The colour of a colour table number; any other number is black.
QColor PlotColor(int number);
// A symbol number above 15 counts round again (16 draws as 1); 0 and below draw nothing.
int EffectiveSymbol(int symbol);
// The spin of the setup and Modify Plot dialogs: the down arrow adds one, the up arrow takes one
// away, both wrapping within 0..max.
int SpinDown(int tag, int max);
int SpinUp(int tag, int max);

// A logarithmic axis needs a positive minimum (and a maximum above it).
bool AxisRangeValid(Real min, Real max, bool logarithmic);

}  // namespace tal
