#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "TestSupport.h"
#include "plot/PlotCurveCache.h"
#include "plot/PlotZoom.h"

using namespace tal;

namespace {

AxisRange Linear(Real min, Real max, int ticks, int digits = 1) { return {min, max, ticks, {1, static_cast<std::int16_t>(digits)}, false}; }
AxisRange Logarithmic(Real min, Real max) { return {min, max, 5, {1, 0}, true}; }

void ExpectRange(const AxisRange& got, double min, double max, int ticks, const std::string& what) {
  EXPECT_NEAR(static_cast<double>(got.Min), min, 1e-9 * std::max(1.0, std::fabs(min))) << what;
  EXPECT_NEAR(static_cast<double>(got.Max), max, 1e-9 * std::max(1.0, std::fabs(max))) << what;
  EXPECT_EQ(got.Ticks, ticks) << what;
}

TEST(PlotZoomTest, StepsGiveRoundRangesThatAlwaysMove) {
  struct Case {
    std::string what;
    AxisRange axis;
    double anchor, factor;
    double min, max;
    int ticks;
  } cases[] = {
      {"in around the middle", Linear(0, 10, 10), 5, 0.8, 1, 9, 8},
      {"out again", Linear(1, 9, 8), 5, 1.25, 0, 10, 10},
      // 0.5 to 9.5 rounds back to 0 to 10: the step is taken again until the range moves.
      {"a small step still moves", Linear(0, 10, 10), 5, 0.9, 1, 9, 8},
      {"in near the left end", Linear(0, 100, 10), 0, 0.5, 0, 50, 10},
      {"log in: one decade off the far side", Logarithmic(1, 1e4), 100, 0.8, 1, 1e3, 5},
      {"log in near the top", Logarithmic(1, 1e4), 5000, 0.8, 10, 1e4, 5},
      {"log out: a decade each side", Logarithmic(1, 1e4), 100, 1.25, 0.1, 1e5, 5},
      {"a single decade is the limit", Logarithmic(10, 100), 30, 0.5, 10, 100, 5},
      {"ten significant digits are the limit", Linear(1000, 1000.0000001, 5), 1000, 0.5, 1000, 1000.0000001, 5},
      {"a log axis below 0 zooms as a linear one", Logarithmic(0, 10), 5, 0.8, 1, 9, 8},
  };
  for (const Case& c : cases) ExpectRange(ZoomAxis(c.axis, c.anchor, c.factor), c.min, c.max, c.ticks, c.what);
  // A fixed-point format takes the proposal's digits; an exponent format keeps its own.
  EXPECT_EQ(ZoomAxis(Linear(0, 1, 10, 9), 0.5, 0.5).Format.Digits, 2);
  AxisRange exponent = Linear(0, 1, 10, 4);
  exponent.Format.Fixed = 0;
  EXPECT_EQ(ZoomAxis(exponent, 0.5, 0.5).Format.Digits, 4);
}

TEST(PlotZoomTest, RectanglesPansAndFits) {
  ExpectRange(ZoomAxisTo(Linear(0, 10, 10), 4.1, 2.3), 2.25, 4.25, 8, "rectangle as the setup proposes it");
  ExpectRange(ZoomAxisTo(Logarithmic(1, 1e6), 35, 4200), 10, 1e4, 5, "rectangle in decades");
  ExpectRange(PanAxis(Linear(0, 10, 10), 1), 1, 11, 10, "one tick interval");
  const AxisRange tenths = PanAxis(Linear(0, 10, 5, 0), 0.5);  // tenths of 2: 0.5 rounds to 0.6
  ExpectRange(tenths, 0.6, 10.6, 5, "a drag in tenths of an interval");
  EXPECT_EQ(tenths.Format.Digits, 1);
  EXPECT_EQ(PanAxis(Linear(0, 10, 5, 0), 0.05), Linear(0, 10, 5, 0));  // less than a tenth: no move
  ExpectRange(PanAxis(Logarithmic(1, 100), -1.4), 0.1, 10, 5, "whole decades");
  EXPECT_EQ(PanAxis(Logarithmic(1, 100), -1.4).Format.Digits, 1);
  EXPECT_DOUBLE_EQ(TickInterval(Linear(-8, 4, 6)), 2);

  TPlotInfo info;
  info.YLog = 1;
  TPlotLine line;
  line.XValues = {0.3, 8.7, 4};
  line.YValues = {-1, 0.02, 350};  // the logarithmic axis takes the positive values
  line.PointCount = 3;
  info.Lines = {line};
  const PlotRanges fit = FitRanges(info);
  ExpectRange(fit.X, 0, 9, 9, "fit X");
  ExpectRange(fit.Y, 0.01, 1000, 5, "fit Y in decades");
  EXPECT_EQ(fit.Y.Format.Digits, 2);
  const TPlotInfo empty;
  EXPECT_EQ(FitRanges(empty), RangesOf(empty));  // no points: nothing to propose
}

TEST(PlotZoomTest, PixelsHistoryAndTheFillingFrame) {
  const PlotFrame f{100, 20, 500, 320};
  for (bool log : {false, true}) {
    const Real min = log ? 1 : -5, max = log ? 1e4 : 15;
    for (int pixel : {100, 173, 300, 499}) {
      const double v = PixelToValue(pixel, min, max, log, f.Left, f.Right - f.Left);
      EXPECT_EQ(ValueToPixel(v, static_cast<double>(min), static_cast<double>(max), log, f.Left, f.Right - f.Left), pixel);
    }
  }
  const PlotRanges start{Linear(0, 10, 10), Linear(0, 100, 10)};
  const PlotRanges zoomedX = ZoomAtPixel(start, f, QPoint(300, 170), 0.8, true, false);
  ExpectRange(zoomedX.X, 1, 9, 8, "wheel on X only");
  EXPECT_EQ(zoomedX.Y, start.Y);
  const PlotRanges dragged = PanByPixels(start, f, QPoint(300, 170), QPoint(260, 200));  // 1 unit and 10 units
  ExpectRange(dragged.X, 1, 11, 10, "drag left");
  ExpectRange(dragged.Y, 10, 110, 10, "drag down");

  ZoomHistory history;
  for (int i = 0; i < 105; ++i) history.Push({Linear(0, i + 1, 5), start.Y});
  history.Push({Linear(0, 105, 5), start.Y});  // the same ranges again count once
  EXPECT_EQ(history.Size(), 100u);
  EXPECT_EQ(history.Pop().X.Max, 105);

  taltest::EnsureQtApplication();
  TPlotInfo info;
  info.XMax = 10, info.YMax = 1.0e-5L, info.YFormat = {0, 3}, info.ShowLegend = 1;
  info.XLabel = "TIME h", info.YLabel = "Q kW";
  TPlotLine line;
  line.YName = "A long curve name";
  info.Lines = {line};
  for (QSize client : {QSize(900, 600), QSize(400, 260)}) {
    const PlotFrame frame = FillingFrame(info, client, 10);
    const QRect drawn = MeasurePlotExtent(info, frame);
    EXPECT_GE(drawn.left(), 10);
    EXPECT_GE(drawn.top(), 10);
    EXPECT_LE(drawn.right(), client.width() - 10);
    EXPECT_LE(drawn.bottom(), client.height() - 10);
    EXPECT_GE(frame.Right - frame.Left, client.width() - 280);  // the labels and the legend take the rest
  }
}

TEST(PlotZoomTest, TheCacheDrawsWhatAFreshReductionDraws) {
  taltest::EnsureQtApplication();
  TPlotInfo info;
  info.XMax = 1000, info.YMin = -1.5, info.YMax = 1.5;
  TPlotLine line;
  for (int i = 0; i < 5000; ++i) line.XValues.push_back(i * 0.25), line.YValues.push_back(std::sin(i * 0.01));
  line.PointCount = 5000;
  line.Symbol = 3;
  info.Lines = {line};
  auto draw = [&](TPlotCurveCache* cache, PlotFrame frame) {
    QImage image(700, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TPlotDrawing drawing(painter, info, frame);
    drawing.setCurveCache(cache);
    drawing.DisplayPlot();
    return image;
  };
  TPlotCurveCache cache;
  const PlotFrame first{80, 20, 600, 300}, moved{90, 40, 610, 320};
  draw(&cache, first);
  EXPECT_EQ(draw(&cache, moved), draw(nullptr, moved));  // moved: the cached points are shifted
  info.XMin = 300, info.XMax = 500;  // zoomed, and points added at the end of the curve
  draw(&cache, moved);
  for (int i = 5000; i < 7000; ++i) info.Lines[0].XValues.push_back(i * 0.25), info.Lines[0].YValues.push_back(0.5);
  info.Lines[0].PointCount = 7000;
  info.XMin = 1200, info.XMax = 1800;
  draw(&cache, moved);
  for (int i = 7000; i < 7100; ++i) info.Lines[0].XValues.push_back(i * 0.25), info.Lines[0].YValues.push_back(-1);
  info.Lines[0].PointCount = 7100;
  EXPECT_EQ(draw(&cache, moved), draw(nullptr, moved));
  info.Lines[0].XValues.push_back(0), info.Lines[0].YValues.push_back(1);  // X goes back: no longer sorted
  info.Lines[0].PointCount = 7101;
  EXPECT_EQ(draw(&cache, moved), draw(nullptr, moved));
}

}  // namespace
