#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "../shell/GuiApp.h"
#include "plot/PlotCurveCache.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotPicture.h"

using namespace tal;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const QColor Background(212, 208, 200);

TPlotLine Curve(int points, const std::function<double(int)>& x, const std::function<double(int)>& y, int color = 1,
                int lineStyle = 1) {
  TPlotLine line;
  line.YName = "Y";
  line.PointCount = points;
  line.Color = color;
  line.LineStyle = lineStyle;
  for (int i = 0; i < points; ++i) line.XValues.push_back(x(i)), line.YValues.push_back(y(i));
  return line;
}

TPlotInfo Plot(double xMin, double xMax, double yMin, double yMax, std::vector<TPlotLine> lines) {
  TPlotInfo info;
  info.XMin = xMin, info.XMax = xMax, info.YMin = yMin, info.YMax = yMax;
  info.XFormat = info.YFormat = {0, 2};
  info.Lines = std::move(lines);
  return info;
}

QImage Blank() {
  QImage image(900, 640, QImage::Format_ARGB32_Premultiplied);
  image.fill(Background);
  return image;
}

// The plot as it was drawn before the reduction searched sorted curves: the axes, then each curve
// with every point mapped by the value-to-pixel rule and reduced per column (symbols on every
// point that moves to another pixel), clipped to the frame, then the frame's outline.
QImage DrawnFromEveryPoint(const TPlotInfo& info, PlotFrame f) {
  QImage image = Blank();
  QPainter painter(&image);
  TPlotInfo axesOnly = info;
  for (TPlotLine& line : axesOnly.Lines) line.PointCount = 0, line.XValues.clear(), line.YValues.clear();
  TPlotDrawing(painter, axesOnly, f).DisplayPlot();
  for (const TPlotLine& line : info.Lines) {
    ReducedCurve reduced;
    std::vector<QPoint> symbols;
    for (int i = 0; i < line.PointCount; ++i) {
      const QPoint p(
          ValueToPixel(line.XValues[i], double(info.XMin), double(info.XMax), info.XLog != 0, f.Left, f.Right - f.Left),
          ValueToPixel(line.YValues[i], double(info.YMin), double(info.YMax), info.YLog != 0, f.Bottom,
                       f.Top - f.Bottom));
      reduced.Add(p);
      if (symbols.empty() || symbols.back() != p) symbols.push_back(p);
    }
    std::vector<QPoint> points;
    reduced.Polyline(points);
    painter.save();
    painter.setClipRect(f.rect());
    painter.setPen(PlotPen(PenKindOfLineStyle(line.LineStyle), line.Color, 1));
    if (line.LineStyle != 0) painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    painter.setPen(PlotPen(1, line.Color, 1));
    if (EffectiveSymbol(line.Symbol) != 0)
      for (QPoint p : symbols) DrawPlotSymbol(painter, line.Symbol, p.x(), p.y(), 3, PlotColor(line.Color));
    painter.restore();
  }
  painter.setPen(PlotPen(1, 0, 1));
  painter.drawLine(f.Left, f.Bottom, f.Right, f.Bottom);
  painter.drawLine(f.Right, f.Bottom, f.Right, f.Top);
  painter.drawLine(f.Left, f.Bottom, f.Left, f.Top);
  painter.drawLine(f.Left, f.Top, f.Right, f.Top);
  return image;
}

// The plot as a window paints it: reduced curves, kept as a picture between paints.
struct Window {
  TPlotCurveCache curves;
  TPlotPicture picture;
  QImage Paint(const TPlotInfo& info, PlotFrame frame) {
    QImage image = Blank();
    QPainter painter(&image);
    picture.Paint(painter, info, frame, QRect(), Background, curves);
    return image;
  }
};

int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

class PlotPictureTest : public taltest::GuiTest {};

TEST_F(PlotPictureTest, ReducedCurvesAndTheKeptPictureDrawWhatEveryPointDraws) {
  auto wave = [](int i) { return 5 + 4 * std::sin(i * 0.0021) * std::cos(i * 0.00037); };
  auto minutes = [](int i) { return i / 100.0; };
  auto spikes = [&](int i) { return i % 9973 == 0 ? 1e30 : i % 7919 == 0 ? -1e30 : wave(i); };
  auto gaps = [&](int i) { return i % 997 < 40 ? NaN : wave(i); };
  auto decades = [&](int i) { return i % 5003 == 0 ? -1 : std::pow(10, wave(i) - 3); };
  auto mirrored = [&](int i) { return 10 - wave(i); };
  auto back = [](int i) { return (i % 1000) * 1.0 + i / 1000; };
  auto holeThenBack = [](int i) { return i == 50000 ? NaN : (i % 50000) / 60.0; };
  auto logarithmic = [](TPlotInfo p, bool x) {
    (x ? p.XLog : p.YLog) = 1;
    return p;
  };
  auto withSymbols = [](TPlotInfo p) {
    p.Lines[0].Symbol = 9;
    return p;
  };
  struct Case {
    const char* what;
    TPlotInfo info;
  } cases[] = {
      {"spikes far beyond the axis, both ways", Plot(0, 1000, 0, 10, {Curve(100000, minutes, spikes)})},
      {"missing values, a broken line", Plot(0, 1000, 0, 10, {Curve(100000, minutes, gaps, 3, 3)})},
      {"logarithmic Y with values not above 0",
       logarithmic(Plot(0, 1000, 0.01, 1000, {Curve(100000, minutes, decades)}), false)},
      {"logarithmic X", logarithmic(Plot(0.1, 1000, 0, 10, {Curve(100000, minutes, wave)}), true)},
      {"X that goes back", Plot(0, 1000, 0, 10, {Curve(60000, back, wave)})},
      {"X that goes back after a missing value", Plot(0, 300, 0, 10, {Curve(60000, holeThenBack, wave)})},
      {"zoomed in: crossing every edge of the frame, two curves, one wide",
       Plot(300, 420, 3, 6, {Curve(100000, minutes, wave, 2, 2), Curve(100000, minutes, mirrored, 4)})},
      {"symbols on points beyond the frame",
       withSymbols(Plot(3, 9.6, 2, 8, {Curve(130, minutes, [](int i) { return 5 + 4 * std::sin(i * 0.3); }, 5, 0)}))},
      {"fewer points than columns, equal X",
       Plot(0, 10, 0, 10, {Curve(40, [](int i) { return i / 4; }, [](int i) { return i % 3 * 4.0; })})},
  };
  const PlotFrame frame{100, 30, 780, 560}, moved{107, 34, 787, 564}, movedOdd{104, 31, 784, 561};
  for (Case& c : cases) {
    Window window;
    EXPECT_EQ(Differing(window.Paint(c.info, frame), DrawnFromEveryPoint(c.info, frame)), 0) << c.what;
    EXPECT_TRUE(window.picture.Redrawn()) << c.what;
    // Moved by the frame, or painted again as it stands, the picture still shows what every point draws.
    for (PlotFrame f : {moved, movedOdd, frame})
      EXPECT_EQ(Differing(window.Paint(c.info, f), DrawnFromEveryPoint(c.info, f)), 0) << c.what << " at " << f.Left;
  }
}

TEST_F(PlotPictureTest, APictureIsDrawnAnewWhenWhatItShowsChanges) {
  auto wave = [](int i) { return 5 + 4 * std::sin(i * 0.01); };
  auto index = [](int i) { return double(i); };
  const TPlotInfo start = Plot(0, 2000, 0, 10, {Curve(1500, index, wave)});
  const PlotFrame frame{100, 30, 780, 560};
  struct Case {
    const char* what;
    std::function<void(TPlotInfo&, PlotFrame&)> change;
    bool redrawn;
  } cases[] = {
      {"exposed again", [](TPlotInfo&, PlotFrame&) {}, false},
      {"frame moved", [](TPlotInfo&, PlotFrame& f) { f = {150, 50, 830, 580}; }, false},
      {"frame sized", [](TPlotInfo&, PlotFrame& f) { f.Right -= 40; }, true},
      {"X range", [](TPlotInfo& p, PlotFrame&) { p.XMin = 500; }, true},
      {"Y range", [](TPlotInfo& p, PlotFrame&) { p.YMax = 20; }, true},
      {"colour", [](TPlotInfo& p, PlotFrame&) { p.Lines[0].Color = 4; }, true},
      {"line style", [](TPlotInfo& p, PlotFrame&) { p.Lines[0].LineStyle = 2; }, true},
      {"symbol", [](TPlotInfo& p, PlotFrame&) { p.Lines[0].Symbol = 9; }, true},
      {"title", [](TPlotInfo& p, PlotFrame&) { p.XLabel = "TIME"; }, true},
      {"grid", [](TPlotInfo& p, PlotFrame&) { p.YGrid = 1; }, true},
      {"legend", [](TPlotInfo& p, PlotFrame&) { p.ShowLegend = 1; }, true},
      {"rows appended",
       [&](TPlotInfo& p, PlotFrame&) {
         TPlotLine& line = p.Lines[0];
         for (int i = 1500; i < 1800; ++i) line.XValues.push_back(i), line.YValues.push_back(9.5);
         line.PointCount = 1800;
       },
       true},
      {"a curve added", [&](TPlotInfo& p, PlotFrame&) { p.Lines.push_back(Curve(100, index, wave, 5)); }, true},
  };
  for (const Case& c : cases) {
    Window window;
    const QImage before = window.Paint(start, frame);
    TPlotInfo info = start;
    PlotFrame f = frame;
    c.change(info, f);
    const QImage after = window.Paint(info, f);
    EXPECT_EQ(window.picture.Redrawn(), c.redrawn) << c.what;
    EXPECT_EQ(Differing(after, DrawnFromEveryPoint(info, f)), 0) << c.what;
    if (c.redrawn) {
      EXPECT_GT(Differing(after, before), 0) << c.what;
    }
  }
}

}  // namespace
