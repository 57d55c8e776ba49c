#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>

#include "TestSupport.h"
#include "plot/PlotDrawing.h"
#include "../shell/GuiApp.h"
#include "shell/PrintJob.h"

using namespace tal;

namespace {

TPlotInfo Axis0To10(int curves) {
  TPlotInfo info;
  info.XMin = 0;
  info.XMax = 10;
  info.XTicks = 5;
  info.YMin = 0;
  info.YMax = 10;
  info.YTicks = 5;
  info.XFormat = {1, 0};
  info.YFormat = {1, 0};
  for (int k = 1; k <= curves; ++k) {
    TPlotLine line;
    line.LineNo = k;
    line.YName = "Y" + std::to_string(k);
    line.PointCount = 2;
    line.XValues = {0, 10};
    line.YValues = {0, static_cast<double>(k)};
    info.Lines.push_back(line);
  }
  return info;
}

struct Drawn {
  std::vector<DrawnText> texts;
  std::vector<int> major, minor;
  std::vector<QPoint> legend;
  QRect extent;
};

Drawn Draw(const TPlotInfo& info, PlotFrame frame = {}) {
  taltest::EnsureQtApplication();
  QImage image(600, 400, QImage::Format_RGB32);
  QPainter painter(&image);
  TPlotDrawing drawing(painter, info, frame);
  drawing.DisplayPlot();
  return {drawing.Texts(), drawing.XMajorTicks(), drawing.XMinorTicks(), drawing.LegendSamples(), drawing.Extent()};
}

std::vector<std::string> TextsOf(const Drawn& d, DrawnText::Kind kind) {
  std::vector<std::string> out;
  for (const DrawnText& t : d.texts)
    if (t.kind == kind) out.push_back(t.text);
  return out;
}

TEST(PlotDrawingTest, ValueToPixelMapsAndLimits) {
  EXPECT_EQ(ValueToPixel(5, 0, 10, false, 100, 300), 250);
  EXPECT_EQ(ValueToPixel(5, 0, 10, false, 225, -205), 123);  // Y runs upwards; -102.5 rounds to even
  EXPECT_EQ(ValueToPixel(-1e30, 0, 10, false, 225, -205), PixelLimit);
  EXPECT_EQ(ValueToPixel(1e30, 0, 10, false, 100, 300), PixelLimit);
  EXPECT_EQ(ValueToPixel(100, 1, 1e4, true, 100, 400), 300);
  EXPECT_EQ(ValueToPixel(0, 1, 1e4, true, 225, -200), PixelLimit);  // never the logarithm of 0
  EXPECT_EQ(ValueToPixel(-3, 1, 1e4, true, 100, 400), -PixelLimit);
}

TEST(PlotDrawingTest, TicksOfLinearAndLogarithmicAxes) {
  auto values = [](const std::vector<AxisTick>& ticks, bool labelledOnly) {
    std::vector<double> out;
    for (const AxisTick& t : ticks)
      if (!labelledOnly || t.labelled) out.push_back(static_cast<double>(t.value));
    return out;
  };
  EXPECT_EQ(values(AxisTicks(0, 10, 5, false), false), (std::vector<double>{0, 2, 4, 6, 8, 10}));
  EXPECT_EQ(values(AxisTicks(0, 1, 10, false), false).size(), 11u);  // 0.1 added up stops at 1 itself
  EXPECT_EQ(values(AxisTicks(0, 10, 0, false), false), (std::vector<double>{0, 10}));
  EXPECT_EQ(values(AxisTicks(1, 100, 5, true), true), (std::vector<double>{1, 10, 100}));
  EXPECT_EQ(AxisTicks(1, 100, 5, true).size(), 19u);  // 1..9, 10..90, 100
  EXPECT_EQ(values(AxisTicks(1, 1e6, 5, true), false), (std::vector<double>{1, 10, 100, 1e3, 1e4, 1e5, 1e6}));
}

TEST(PlotDrawingTest, LabelsTicksAndMinorTicksOnATenAxis) {
  Drawn d = Draw(Axis0To10(1));
  EXPECT_EQ(TextsOf(d, DrawnText::XLabel), (std::vector<std::string>{"0", "2", "4", "6", "8", "10"}));
  EXPECT_EQ(TextsOf(d, DrawnText::YLabel), (std::vector<std::string>{"0", "2", "4", "6", "8", "10"}));
  EXPECT_EQ(d.major, (std::vector<int>{100, 160, 220, 280, 340, 400}));
  EXPECT_EQ(d.minor, (std::vector<int>{100, 130, 190, 250, 310, 370}));  // the first lies at FrameLeft
  // X labels are centred on their tick, their bottom 1.5 text heights below the frame.
  for (const DrawnText& t : d.texts) {
    if (t.kind == DrawnText::XLabel) {
      EXPECT_GT(t.box.top(), 225);
    }
  }
  // The Y title stands left of the widest Y label.
  for (const DrawnText& t : d.texts) {
    if (t.kind == DrawnText::YTitle) {
      EXPECT_LT(t.box.left(), 100 - 3);
    }
  }
  EXPECT_LT(d.extent.left(), 100);
  EXPECT_GT(d.extent.bottom(), 225);

  TPlotInfo grid = Axis0To10(1);
  grid.XGrid = 1;
  EXPECT_TRUE(Draw(grid).major.empty());
}

TEST(PlotDrawingTest, CrowdedLabelsAreSkipped) {
  TPlotInfo info = Axis0To10(1);
  info.YTicks = 25;  // 8.2 pixels apart on a 205-pixel frame
  info.YFormat = {1, 1};
  info.XTicks = 50;
  std::vector<std::string> y = TextsOf(Draw(info), DrawnText::YLabel);
  ASSERT_EQ(y.size(), 13u);
  EXPECT_EQ(y[0], "0.0");
  EXPECT_EQ(y[1], "0.8");
  EXPECT_LT(TextsOf(Draw(info), DrawnText::XLabel).size(), 26u);
}

TEST(PlotDrawingTest, ExponentLabelsAreTypesetAsPowersOfTen) {
  struct Case {
    std::string text, mantissa;
    bool times;
    std::string exponent;
  } cases[] = {
      {"1.0E+03", "1.0", true, "3"}, {"1E-05", "", false, "-5"},   {"-1E+12", "-", false, "12"},
      {"2.5E+123", "2.5", true, "123"}, {"5E+00", "5", true, "0"},
  };
  for (const Case& c : cases) {
    TickLabelParts p = SplitTickLabel(c.text);
    EXPECT_TRUE(p.power);
    EXPECT_EQ(p.mantissa, c.mantissa) << c.text;
    EXPECT_EQ(p.times, c.times) << c.text;
    EXPECT_EQ(p.exponent, c.exponent) << c.text;
  }
  EXPECT_FALSE(SplitTickLabel("12.5").power);

  TPlotInfo info = Axis0To10(1);
  info.XMin = 1000;
  info.XMax = 3000;
  info.XTicks = 2;
  info.XFormat = {0, 1};
  EXPECT_EQ(TextsOf(Draw(info), DrawnText::XLabel), (std::vector<std::string>{"1.0x10^3", "2.0x10^3", "3.0x10^3"}));
}

TEST(PlotDrawingTest, LegendContinuesInASecondColumn) {
  TPlotInfo info = Axis0To10(12);
  info.ShowLegend = 1;
  Drawn d = Draw(info);
  ASSERT_EQ(d.legend.size(), 12u);
  // Rows of 20 pixels from the frame top: ten fit above FrameBottom 225, then a column 55 further.
  EXPECT_EQ(d.legend[0], QPoint(420, 26));
  EXPECT_EQ(d.legend[9], QPoint(420, 206));
  EXPECT_EQ(d.legend[10], QPoint(475, 26));
  EXPECT_EQ(d.legend[11], QPoint(475, 46));
  EXPECT_EQ(TextsOf(d, DrawnText::Legend).back(), "Y12");
}

bool Ink(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)).lightness() < 128; }

// Dark pixels in a row from (x, y) on, one step (dx, dy) at a time.
int InkRun(const QImage& image, int x, int y, int dx, int dy) {
  int n = 0;
  while (image.rect().contains(x, y) && Ink(image, x, y)) ++n, x += dx, y += dy;
  return n;
}

TEST(PlotDrawingTest, TickMarksReachAlikeFromAllFourEdges) {
  taltest::EnsureQtApplication();
  for (double scale : {1.0, 2.0}) {
    const int major = static_cast<int>(4 * scale), minor = static_cast<int>(3 * scale);
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    const PlotFrame f;
    const TPlotInfo info = Axis0To10(0);  // the drawing keeps a reference: it must outlive it
    {
      QPainter painter(&image);
      TPlotDrawing drawing(painter, info, f);
      drawing.setScale(scale);
      drawing.DisplayPlot();
    }
    // Every tick on one edge has its twin on the opposite edge, as long; majors and minors both.
    std::map<int, int> lengths;
    for (int x = f.Left + 1; x < f.Right; ++x) {
      const int fromBottom = InkRun(image, x, f.Bottom - 1, 0, -1), fromTop = InkRun(image, x, f.Top + 1, 0, 1);
      EXPECT_EQ(fromBottom, fromTop) << "x " << x << " scale " << scale;
      ++lengths[fromBottom];
    }
    for (int y = f.Top + 1; y < f.Bottom; ++y) {
      const int fromLeft = InkRun(image, f.Left + 1, y, 1, 0), fromRight = InkRun(image, f.Right - 1, y, -1, 0);
      EXPECT_EQ(fromLeft, fromRight) << "y " << y << " scale " << scale;
      ++lengths[fromLeft];
    }
    // 4 inner majors and 5 minors on each axis; every other column or row is clear.
    EXPECT_EQ(lengths[major], 8) << scale;
    EXPECT_EQ(lengths[minor], 10) << scale;
    EXPECT_EQ(lengths.size(), 3u) << scale;
  }
}

TEST(PlotDrawingTest, SymbolThreeIsSymbolFiveUpsideDown) {
  taltest::EnsureQtApplication();
  for (int r : {3, 6}) {
    auto symbol = [r](int number) {
      QImage image(41, 41, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      painter.setPen(PlotPen(1, 0, 1));
      DrawPlotSymbol(painter, number, 20, 20, r, Qt::black);
      return image;
    };
    const QImage up = symbol(3), down = symbol(5);
    // The corners (x - r, y + r), (x + r, y + r) and the tip (x, y - r).
    EXPECT_TRUE(Ink(up, 20 - r, 20 + r)) << r;
    EXPECT_TRUE(Ink(up, 20 + r, 20 + r)) << r;
    EXPECT_TRUE(Ink(up, 20, 20 - r)) << r;
    EXPECT_EQ(up, down.mirrored(false, true)) << r;
  }
}

TEST(PlotDrawingTest, PrintingScaleAndPlotPage) {
  EXPECT_NEAR(PlotPrintScale(4800, 6400, false, 600, 400), (4800.0 - 581) / 600, 1e-12);
  EXPECT_NEAR(PlotPrintScale(6400, 4800, true, 600, 400), std::min((4800.0 - 581) / 400, (6400.0 - 581) / 600), 1e-12);

  taltest::EnsureQtApplication();
  taltest::TempDir dir;
  QPdfWriter pdf(QString::fromStdString(dir.file("plot.pdf")));
  TPlotInfo info = Axis0To10(2);
  info.XLabel = "TIME s";
  PlotView view{&info, PlotFrame{}, MeasurePlotExtent(info, PlotFrame{}), QSize(500, 340), "Plot 1: from A.PLT"};
  PrintEntry entry{KindCode::Plot, [&](TPrintJob& job) { PrintPlot(job, view); },
                   [&](TPrintJob& job) { return PlotPrintHeight(job, view); }};
  ASSERT_TRUE(PrintDocument(pdf, {entry, entry}, {"2.015", 96, {}}));
  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-layout", QString::fromStdString(dir.file("plot.pdf")), "-"});
  pdftotext.waitForFinished(30000);
  const std::string text = pdftotext.readAllStandardOutput().toStdString();
  EXPECT_NE(text.find("Plot 1: from A.PLT"), std::string::npos) << text;
  EXPECT_NE(text.find("TIME s"), std::string::npos);
  EXPECT_NE(text.find("Page 2"), std::string::npos);  // one plot per page
}

TEST(PlotDrawingTest, PrintedFrameStandsFromTheTopMarginOrBelowWhatWasPrintedBefore) {
  taltest::EnsureQtApplication();
  TPlotInfo info = Axis0To10(1);
  info.YMin = 100;  // Y labels 100 to 500 mark the frame's bottom and top edges on the page
  info.YMax = 500;
  info.YTicks = 4;
  const PlotFrame frame;
  const PlotView view{&info, frame, MeasurePlotExtent(info, frame), QSize(500, 340), "Plot 1: from A.PLT"};
  struct Case {
    const char* what;
    int textLines;  // printed before the plot
    int plots;
  } cases[] = {{"a plot alone", 0, 1}, {"a plot after text on its page", 12, 1}, {"a second plot", 0, 2}};
  for (const Case& c : cases) {
    taltest::TempDir dir;
    QPdfWriter pdf(QString::fromStdString(dir.file("plot.pdf")));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    const double perPoint = pdf.resolution() / 72.0;
    int origin = 0, margin = 0, frameTop = 0, frameBottom = 0, scaledOne = 0;
    PrintEntry text{KindCode::TextEditor, [&](TPrintJob& job) {
                      for (int i = 0; i < c.textLines; ++i) {
                        job.DrawText(job.leftMargin(), job.y(), "text");
                        job.Advance(job.lineHeight());
                      }
                    }};
    PrintEntry plot{KindCode::Plot,
                    [&](TPrintJob& job) {
                      job.Advance(0);
                      // The plot's own place on the page: the top margin, or the print line below text.
                      margin = job.margin();
                      origin = std::max(margin, job.y());
                      const double scale = PlotPrintScale(job.pageWidth(), job.pageHeight(), false, 500, 340);
                      auto onPage = [&](int y) {
                        return static_cast<int>(std::trunc((y - view.extent.top()) * scale)) + origin +
                               static_cast<int>(std::lround(20 * scale));
                      };
                      frameTop = onPage(frame.Top);
                      frameBottom = onPage(frame.Bottom);
                      scaledOne = static_cast<int>(std::lround(scale));
                      PrintPlot(job, view);
                    },
                    [&](TPrintJob& job) { return PlotPrintHeight(job, view); }};
    std::vector<PrintEntry> entries;
    if (c.textLines > 0) entries.push_back(text);
    for (int k = 0; k < c.plots; ++k) entries.push_back(plot);
    ASSERT_TRUE(PrintDocument(pdf, entries, {"2.015", 96, {}}));
    // Y labels are centred one scaled pixel above their tick.
    std::map<std::string, double> middle;
    for (const taltest::PdfWord& w : taltest::PdfWords(dir.file("plot.pdf")))
      if (w.page == c.plots) middle[w.text] = (w.yMin + w.yMax) / 2;
    ASSERT_TRUE(middle.count("500") && middle.count("100")) << c.what;
    EXPECT_NEAR(middle["500"], (frameTop - scaledOne) / perPoint, 1.5) << c.what;
    EXPECT_NEAR(middle["100"], (frameBottom - scaledOne) / perPoint, 1.5) << c.what;
    // Alone or on a new page the plot starts at the top margin; after text, below it.
    if (c.textLines > 0)
      EXPECT_GT(origin, margin) << c.what;
    else
      EXPECT_EQ(origin, margin) << c.what;
  }
}

TEST(PlotDrawingTest, LongCurvesReducedPerPixelColumnDrawTheSamePicture) {
  taltest::EnsureQtApplication();
  TPlotInfo info = Axis0To10(0);
  TPlotLine line;
  line.PointCount = 200000;
  for (int i = 0; i < line.PointCount; ++i) {
    double x = 10.0 * i / line.PointCount;
    line.XValues.push_back(x);
    line.YValues.push_back(5 + 4.5 * std::sin(x * 37) * std::cos(x * 3.1) + (i % 7 == 0 ? 0.3 : 0));
  }
  info.Lines.push_back(line);
  auto picture = [&](bool everyPoint) {
    QImage image(500, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlotFrame frame;
    if (everyPoint) {
      std::vector<QPoint> points;
      for (int i = 0; i < line.PointCount; ++i)
        points.emplace_back(ValueToPixel(line.XValues[i], 0, 10, false, frame.Left, frame.Right - frame.Left),
                            ValueToPixel(line.YValues[i], 0, 10, false, frame.Bottom, frame.Top - frame.Bottom));
      painter.setClipRect(frame.rect());
      painter.setPen(PlotPen(1, 0, 1));
      painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    } else {
      TPlotInfo curveOnly = info;
      TPlotDrawing drawing(painter, curveOnly, frame);
      drawing.DisplayPlot();
    }
    return image.copy(frame.rect().adjusted(5, 5, -5, -5));  // inside the tick marks
  };
  QImage reduced = picture(false), full = picture(true);
  int differing = 0;
  for (int y = 0; y < full.height(); ++y)
    for (int x = 0; x < full.width(); ++x) differing += reduced.pixel(x, y) != full.pixel(x, y);
  EXPECT_EQ(differing, 0);
}

}  // namespace
