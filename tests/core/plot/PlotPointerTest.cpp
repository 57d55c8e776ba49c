#include <gtest/gtest.h>

#include "plot/PlotData.h"
#include "plot/PlotLiveData.h"
#include "plot/PlotPointer.h"

using namespace tal;

namespace {

TEST(PlotPointerTest, ValuesAreWrittenWithTheDigitsTheirColumnHolds) {
  struct Case {
    std::string written, shown;
  } cases[] = {
      {"2.854907E+01", "28.54907"}, {"525600", "525600"},     {"0.1", "0.1"},
      {"-1.5E-07", "-1.5e-07"},     {"1.23456789012E+20", "1.23456789012e+20"},
      {"0", "0"},                   {"12.50", "12.5"},         {"0.000123", "0.000123"},
  };
  for (const Case& c : cases) EXPECT_EQ(PlotValueText(ReadPlotNumber(c.written)), c.shown) << c.written;
}

TEST(PlotPointerTest, NearestPointOfLinesSymbolsAndLogAxes) {
  TPlotInfo info;
  info.XMax = 10, info.YMax = 10;
  TPlotLine line;  // a line from (0, 0) to (10, 10) with no points between: near its middle too
  line.XValues = {0, 10}, line.YValues = {0, 10}, line.PointCount = 2, line.XName = "X", line.YName = "A";
  TPlotLine marks;  // symbols only, X going back and forth
  marks.XValues = {8, 2, 5}, marks.YValues = {2, 8, 2}, marks.PointCount = 3, marks.LineStyle = 0, marks.Symbol = 1;
  marks.XName = "X", marks.YName = "B";
  info.Lines = {line, marks};
  const PlotFrame f{0, 0, 100, 100};  // 10 pixels a unit; y runs down
  struct Case {
    QPoint at;
    int curve;
    std::size_t point;
  } cases[] = {
      {{52, 48}, 0, 1},  // on the line, nearer its end at (10, 10)
      {{46, 53}, 0, 0},
      {{21, 21}, 1, 1},  // the symbol at (2, 8)
      {{35, 30}, -1, 0},  // between the symbols: nothing drawn there
      {{80, 81}, 1, 0},
  };
  for (const Case& c : cases) {
    const CurvePoint p = NearestCurvePoint(info, f, c.at);
    EXPECT_EQ(p.curve, c.curve) << c.at.x() << "," << c.at.y();
    if (c.curve >= 0) {
      EXPECT_EQ(p.point, c.point) << c.at.x() << "," << c.at.y();
    }
  }
  EXPECT_EQ(CurvePointText(info, {1, 1, 0}), "B vs. X\nX = 2\nB = 8");

  info.YLog = 1, info.YMin = 1, info.YMax = 1000;
  info.Lines[0].XUnit = "h";
  EXPECT_EQ(PointerText(info, f, {50, 50}), "x = 5.0 h, y = 32");  // half way up three decades, a pixel 2.3 apart
  EXPECT_EQ(PointerText(info, f, {150, 50}), "");
}

TEST(PlotPointerTest, RowsAddedToAFileBeingWritten) {
  struct Case {
    std::string bytes;
    std::int64_t wholeBytes;
    std::int32_t wholeRows;
    std::string lastLine;
  } cases[] = {
      {"T Q\ns W\n1 2\n3 4\n", 16, 2, "3 4\n"},
      {"T Q\ns W\n1 2\n3", 12, 1, "1 2\n"},   // the part row is read, but not as a whole row
      {"T Q\ns W\n1 2\n   ", 12, 1, "1 2\n"},
      {"T Q\n", 4, 0, "T Q\n"},
  };
  for (const Case& c : cases) {
    TColumnTable table;
    ReadPltBytes(c.bytes, table);
    EXPECT_EQ(table.WholeLineBytes, c.wholeBytes) << c.bytes;
    EXPECT_EQ(table.WholeLineRows, c.wholeRows) << c.bytes;
    EXPECT_EQ(table.LastWholeLine, c.lastLine) << c.bytes;
  }
  std::vector<std::vector<double>> columns(2);
  // Rows begin on lines holding data; a short row takes its last value from the next line.
  EXPECT_EQ(ReadPltRows("5 6\n\n7\n8 9\n 1 2 3\n", columns), 3);
  EXPECT_EQ(columns[0], (std::vector<double>{5, 7, 1}));
  EXPECT_EQ(columns[1], (std::vector<double>{6, 8, 2}));
}

}  // namespace
