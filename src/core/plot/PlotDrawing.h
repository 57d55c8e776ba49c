#pragma once
// Drawing a plot onto any QPainter (window, printer page, image, SVG or PDF file): the white
// frame, ticks and tick labels, grid lines, axis titles, every curve with its line and symbols,
// and the legend. On paper every length is multiplied by the printing scale.
#include <QPainter>
#include <QPen>
#include <QRect>
#include <string>
#include <vector>

#include "plot/PlotInfo.h"

namespace tal {

class TPrintJob;
class TPlotCurveCache;

// The rectangle the curves are drawn in, in window pixels.
struct PlotFrame {
  int Left = 100, Top = 20, Right = 400, Bottom = 225;
  bool operator==(const PlotFrame&) const = default;
  QRect rect() const { return QRect(QPoint(Left, Top), QPoint(Right, Bottom)).normalized(); }
};

// Pixel coordinates never leave -32600..32600: a value far off the axis draws at that limit.
inline constexpr int PixelLimit = 32600;

// The pixel of value `v` on an axis from `min` to `max` drawn over `span` pixels from `base`
// (X: base FrameLeft, span FrameRight - FrameLeft; Y: base FrameBottom, span FrameTop -
// FrameBottom). On a logarithmic axis a value that is not positive lies infinitely far below.
int ValueToPixel(double v, double min, double max, bool logarithmic, int base, int span);

// The ticks of an axis, from the minimum to the tick that reaches the maximum, and which of
// them carry a label (every one on a linear axis; the first and each decade on a logarithmic one).
struct AxisTick {
  AxisTick(Real v = 0, bool isLabelled = true, std::string text = {})
      : value(v), labelled(isLabelled), label(std::move(text)) {}
  Real value;
  bool labelled;
  std::string label;  // a label of its own (days, months); "" for the value in the axis format
};
std::vector<AxisTick> AxisTicks(Real min, Real max, int ticks, bool logarithmic);

// A tick label with "E" is typeset as a power of ten: the mantissa ("1" dropped, "-1" as "-"),
// a multiplication sign when the mantissa is kept, "10" and the raised exponent ("+03" as "3",
// "-05" as "-5").
struct TickLabelParts {
  std::string mantissa;
  bool times = false;
  bool power = false;  // false: the text is drawn as it is, in `mantissa`
  std::string exponent;
};
TickLabelParts SplitTickLabel(const std::string& text);

// The pen of a pen kind (1 solid, 2 dotted, 3 solid wide, 4 dashed, 5 dash-dot, 6 one pixel) in
// a colour table number, at a printing scale.
QPen PlotPen(int kind, int color, double scale);
// The pen kind a curve's line style draws with (0: no line).
int PenKindOfLineStyle(int lineStyle);

// Symbol `symbol` (above 15 counting round) of half-size r at (x, y) in the painter's pen: shapes
// 1 to 7 filled white, 8 to 14 the same shapes filled with `color`, 15 a diagonal cross.
void DrawPlotSymbol(QPainter& painter, int symbol, int x, int y, int r, const QColor& color);

// What a drawing pass put where, for the scroll range, printing and tests.
struct DrawnText {
  enum Kind { XLabel, YLabel, XTitle, YTitle, Legend, Caption } kind;
  std::string text;
  QRect box;
};

class TPlotDrawing {
 public:
  TPlotDrawing(QPainter& painter, const TPlotInfo& info, PlotFrame frame);

  void setScale(double scale) { scale_ = scale; }
  // Printing: lengths scaled, fonts scaled, no legend box, the extent left alone.
  void setPrinting(bool printing) { printing_ = printing; }
  // The area being repainted; curves are drawn only when the frame meets it (null: everything).
  void setPaintArea(QRect area) { paintArea_ = area; }
  // The window's reductions of its curves, kept from one pass to the next (null: made per pass).
  void setCurveCache(TPlotCurveCache* cache) { cache_ = cache; }

  // One drawing pass over the painter.
  void DisplayPlot();

  // The smallest rectangle holding the frame and every text and line drawn (screen passes).
  QRect Extent() const { return extent_; }
  int WidestYLabel() const { return widestYLabel_; }
  const std::vector<DrawnText>& Texts() const { return texts_; }
  // The X pixels of the major and minor ticks drawn along the bottom edge.
  const std::vector<int>& XMajorTicks() const { return xMajor_; }
  const std::vector<int>& XMinorTicks() const { return xMinor_; }
  // Legend samples: the point each entry's symbol and line sample are centred on.
  const std::vector<QPoint>& LegendSamples() const { return legendSamples_; }

  // Draws `text` anchored at (x, y); horizontal 0 left, 1 centre, 2 right of the text's width + 4;
  // vertical 0 top, 1 middle, 2 bottom. Widens the extent.
  QRect DrawText(const QString& text, int x, int y, int horizontal, int vertical, const QFont& font);

 private:
  int Scaled(double length) const;
  QFont SlotFont(int size, bool bold) const;
  void Widen(const QRect& r);
  void Line(int x1, int y1, int x2, int y2);
  // A tick mark of `length` pixels into the frame from the edge at `edge`, which the frame runs
  // towards `inward` (+1 from the top and left edges, -1 from the bottom and right ones).
  void XTick(int x, int edge, int inward, int length);
  void YTick(int y, int edge, int inward, int length);
  int XPixel(double v) const;
  int YPixel(double v) const;
  QRect DrawTickLabel(const std::string& label, int x, int y, int horizontal, int vertical, const QFont& font,
                      bool measureOnly);
  void DrawXAxis();
  void DrawYAxis(bool labels);
  void DrawTitles();
  void DrawCurve(std::size_t k);
  void DrawSymbol(int symbol, int x, int y, int r, const QColor& color);
  void DrawFrameOutline();
  void DrawLegend();

  QPainter& p_;
  const TPlotInfo& info_;
  PlotFrame f_;
  double scale_ = 1.0;
  bool printing_ = false;
  QRect paintArea_;
  TPlotCurveCache* cache_ = nullptr;
  QRect extent_;
  int widestYLabel_ = 0;
  std::vector<DrawnText> texts_;
  std::vector<int> xMajor_, xMinor_;
  std::vector<QPoint> legendSamples_;
  DrawnText::Kind textKind_ = DrawnText::XLabel;
};

// The printing scale: landscape, the smaller of (page height - m) / client height and (page
// width - m) / client width with m = page width / 11; portrait, (page width - page height / 11)
// / client width.
double PlotPrintScale(int pageWidth, int pageHeight, bool landscape, int clientWidth, int clientHeight);

// A plot as a window shows it: the frame, the extent its screen drawing covers, the client size.
struct PlotView {
  const TPlotInfo* info = nullptr;
  PlotFrame frame;
  QRect extent;        // from the last screen pass
  QSize clientSize{500, 340};
  std::string caption;
};
// The height the plot takes on the job's page.
int PlotPrintHeight(const TPrintJob& job, const PlotView& view);
// Prints the plot at the job's position: the caption centred over the frame, then the plot
// moved onto the page and scaled.
void PrintPlot(TPrintJob& job, const PlotView& view);

// The extent a screen pass draws, measured on an image (for views that were never shown).
QRect MeasurePlotExtent(const TPlotInfo& info, PlotFrame frame);

}  // namespace tal
