#include "plot/PlotDrawing.h"

#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <limits>

#include "plot/PlotCurveCache.h"
#include "plot/TimeAxis.h"
#include "shell/PrintJob.h"
#include "shell/ProgramFonts.h"
#include "support/Numbers.h"

namespace tal {

namespace {
constexpr int MajorTickLength = 4;
constexpr int MinorTickLength = 3;
constexpr int GridColor = 9;
constexpr int SlotSize = 12;    // every font slot: "Arial", 12, regular
constexpr int MaxTickCount = 10000;  // a tick field of millions draws no faster than this many
constexpr int MaxMinorTicks = 1000;

bool UsableLog(bool logarithmic, Real min, Real max) { return logarithmic && min > 0 && max > min; }

bool IsDecade(Real v) {
  if (v <= 0) return false;
  Real l = std::log10(v);
  return std::fabs(l - std::nearbyint(l)) < 1e-9L;
}
}  // namespace


int ValueToPixel(double v, double min, double max, bool logarithmic, int base, int span) {
  double offset;
  if (logarithmic && min > 0 && max > min) {
    if (!(v > 0)) {
      offset = span >= 0 ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    } else {
      offset = span * (std::log10(v) - std::log10(min)) / (std::log10(max) - std::log10(min));
    }
  } else {
    offset = max == min ? 0.0 : span * (v - min) / (max - min);
  }
  if (std::isnan(offset)) return base;
  // Far values are cut before rounding; the pixel limit applies to the sum all the same.
  offset = std::clamp(offset, -4.0 * PixelLimit, 4.0 * PixelLimit);
  return std::clamp(base + static_cast<int>(RoundEven(offset)), -PixelLimit, PixelLimit);
}

std::vector<AxisTick> AxisTicks(Real min, Real max, int ticks, bool logarithmic) {
  std::vector<AxisTick> out;
  out.push_back({min, true});
  if (!(max > min)) return out;
  // Ticks are counted from the minimum rather than added up, so the last one meets the maximum
  // instead of falling a rounding error short of it.
  const Real closeToMax = max - 1e-9L * (max - min);
  if (!UsableLog(logarithmic, min, max)) {
    int n = std::clamp(std::abs(ticks), 1, MaxTickCount);
    Real step = (max - min) / n;
    for (int i = 1;; ++i) {
      Real t = min + i * step;
      if (t >= closeToMax || i >= n) {
        out.push_back({max, true});
        return out;
      }
      out.push_back({t, true});
    }
  }
  const Real decades = std::nearbyint(std::log10(max) - std::log10(min));
  Real t = min;
  for (int i = 0; i < MaxTickCount; ++i) {
    Real e = std::floor(std::log10(t));
    Real g = t / std::pow(10.0L, e);
    if (g >= 9.9999999L) g /= 10, e += 1;
    if (g < 1) g *= 10, e -= 1;
    Real next;
    bool decade;
    if (decades < 4) {
      Real m = std::floor(g * 1.001L) + 1;
      decade = m >= 10;
      next = decade ? std::pow(10.0L, e + 1) : m * std::pow(10.0L, e);
    } else {
      decade = true;
      next = std::pow(10.0L, e + 1);
    }
    if (next >= closeToMax) break;
    out.push_back({next, decade});
    t = next;
  }
  out.push_back({max, IsDecade(max)});
  return out;
}

TickLabelParts SplitTickLabel(const std::string& text) {
  TickLabelParts parts;
  std::size_t e = text.find('E');
  if (e == std::string::npos) {
    parts.mantissa = text;
    return parts;
  }
  parts.power = true;
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  if (mantissa == "1") {
    mantissa.clear();
  } else if (mantissa == "-1") {
    mantissa = "-";
  } else {
    parts.times = true;
  }
  if (exponent.rfind("+0", 0) == 0)
    exponent.erase(0, 2);
  else if (exponent.rfind("+", 0) == 0)
    exponent.erase(0, 1);
  else if (exponent.rfind("-0", 0) == 0)
    exponent.erase(1, 1);
  parts.mantissa = mantissa;
  parts.exponent = exponent;
  return parts;
}

QPen PlotPen(int kind, int color, double scale) {
  const int base = std::max(1, static_cast<int>(std::trunc(scale)) - 1);
  QPen pen(PlotColor(color));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  switch (kind) {
    case 2: pen.setStyle(Qt::DotLine); pen.setWidth(base); break;
    case 3: pen.setStyle(Qt::SolidLine); pen.setWidth(std::clamp(static_cast<int>(std::trunc(2 * scale)), 1, 5)); break;
    case 4: pen.setStyle(Qt::DashLine); pen.setWidth(base); break;
    case 5: pen.setStyle(Qt::DashDotLine); pen.setWidth(base); break;
    case 6: pen.setStyle(Qt::SolidLine); pen.setWidth(1); break;
    default: pen.setStyle(Qt::SolidLine); pen.setWidth(base); break;
  }
  return pen;
}

int PenKindOfLineStyle(int lineStyle) {
  switch (lineStyle) {
    case 1: return 1;
    case 2: return 3;
    case 3: return 2;
    default: return 0;
  }
}

TPlotDrawing::TPlotDrawing(QPainter& painter, const TPlotInfo& info, PlotFrame frame)
    : p_(painter), info_(info), f_(frame) {}

int TPlotDrawing::Scaled(double length) const { return static_cast<int>(std::lround(length * scale_)); }

QFont TPlotDrawing::SlotFont(int size, bool bold) const {
  QFont font = ProgramFont("Arial", SlotSize);
  font.setPixelSize(std::max(1, Scaled(size)));
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

void TPlotDrawing::Widen(const QRect& r) {
  if (printing_) return;
  extent_ = extent_.isNull() ? r : extent_.united(r);
}

void TPlotDrawing::Line(int x1, int y1, int x2, int y2) {
  p_.drawLine(x1, y1, x2, y2);
  Widen(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
}

// A line covers the pixels from its lower end up to, not including, its higher end, whichever way
// it is drawn. A tick is therefore laid over exactly the `length` pixels next to its edge, so that
// ticks reach alike into the frame from all four edges.
void TPlotDrawing::XTick(int x, int edge, int inward, int length) {
  const int from = inward > 0 ? edge + 1 : edge - length;
  Line(x, from, x, from + length);
}

void TPlotDrawing::YTick(int y, int edge, int inward, int length) {
  const int from = inward > 0 ? edge + 1 : edge - length;
  Line(from, y, from + length, y);
}

int TPlotDrawing::XPixel(double v) const {
  return ValueToPixel(v, static_cast<double>(info_.XMin), static_cast<double>(info_.XMax),
                      info_.XLog != 0, f_.Left, f_.Right - f_.Left);
}

int TPlotDrawing::YPixel(double v) const {
  return ValueToPixel(v, static_cast<double>(info_.YMin), static_cast<double>(info_.YMax),
                      info_.YLog != 0, f_.Bottom, f_.Top - f_.Bottom);
}

QRect TPlotDrawing::DrawText(const QString& text, int x, int y, int horizontal, int vertical, const QFont& font) {
  QFontMetrics metrics(font, p_.device());
  const int width = metrics.horizontalAdvance(text) + 4;
  const int height = metrics.height();
  const int left = horizontal == 0 ? x : horizontal == 1 ? x - width / 2 : x - width;
  const int top = vertical == 0 ? y : vertical == 1 ? y - height / 2 : y - height;
  p_.setFont(font);
  p_.drawText(left + 2, top + metrics.ascent(), text);
  QRect box(left, top, width, height);
  Widen(box);
  texts_.push_back({textKind_, text.toStdString(), box});
  return box;
}

QRect TPlotDrawing::DrawTickLabel(const std::string& label, int x, int y, int horizontal, int vertical,
                                  const QFont& font, bool measureOnly) {
  TickLabelParts parts = SplitTickLabel(label);
  QFontMetrics metrics(font, p_.device());
  if (!parts.power) {
    if (measureOnly) return QRect(0, 0, metrics.horizontalAdvance(QString::fromStdString(label)) + 4, metrics.height());
    return DrawText(QString::fromStdString(label), x, y, horizontal, vertical, font);
  }
  // Mantissa, "x" and the exponent in the smaller font of the same slot, "10" in the normal one.
  QFont small = font;
  small.setPixelSize(std::max(1, Scaled(SlotSize < 16 ? SlotSize - 2 : SlotSize * 2 / 3)));
  QFontMetrics smallMetrics(small, p_.device());
  const QString mantissa = QString::fromStdString(parts.mantissa);
  const QString times = parts.times ? QStringLiteral("x") : QString();
  const QString ten = QStringLiteral("10");
  const QString exponent = QString::fromStdString(parts.exponent);
  const int width = metrics.horizontalAdvance(mantissa) + smallMetrics.horizontalAdvance(times) +
                    metrics.horizontalAdvance(ten) + smallMetrics.horizontalAdvance(exponent) + 4;
  const int height = metrics.height();
  if (measureOnly) return QRect(0, 0, width, height);
  const int left = horizontal == 0 ? x : horizontal == 1 ? x - width / 2 : x - width;
  const int top = vertical == 0 ? y : vertical == 1 ? y - height / 2 : y - height;
  const int baseline = top + metrics.ascent();
  const int tenHeight = metrics.boundingRect(ten).height();
  int pen = left + 2;
  p_.setFont(font);
  p_.drawText(pen, baseline, mantissa);
  pen += metrics.horizontalAdvance(mantissa);
  p_.setFont(small);
  p_.drawText(pen, baseline - tenHeight / 10, times);
  pen += smallMetrics.horizontalAdvance(times);
  p_.setFont(font);
  p_.drawText(pen, baseline, ten);
  pen += metrics.horizontalAdvance(ten);
  p_.setFont(small);
  p_.drawText(pen, baseline - (tenHeight * 3 / 8 - Scaled(1)), exponent);
  QRect box(left, top, width, height);
  Widen(box);
  texts_.push_back({textKind_, parts.mantissa + (parts.times ? "x" : "") + "10^" + parts.exponent, box});
  return box;
}

void TPlotDrawing::DrawXAxis() {
  const QFont font = SlotFont(SlotSize, false);
  const int labelBottom = f_.Bottom + static_cast<int>(std::lround(1.5 * QFontMetrics(font, p_.device()).height()));
  const int major = Scaled(MajorTickLength), minor = Scaled(MinorTickLength);
  const bool logarithmic = UsableLog(info_.XLog != 0, info_.XMin, info_.XMax);
  const QPen tickPen = PlotPen(1, 0, scale_), gridPen = PlotPen(6, GridColor, scale_);
  bool anyLabel = false;
  int lastLabelX = 0, lastLabelWidth = 0;
  int previous = f_.Left;
  textKind_ = DrawnText::XLabel;
  // Hours read as days or months have ticks of their own.
  std::vector<AxisTick> ticks;
  if (!logarithmic && info_.XTimeLabels != 0 && IsHoursAxis(info_))
    ticks = TimeTicks(info_.XMin, info_.XMax, static_cast<TimeLabels>(info_.XTimeLabels));
  if (ticks.empty()) ticks = AxisTicks(info_.XMin, info_.XMax, info_.XTicks, logarithmic);
  for (const AxisTick& tick : ticks) {
    const int x = XPixel(static_cast<double>(tick.value));
    if (tick.labelled) {
      const std::string label = tick.label.empty() ? FormatReal(info_.XFormat.format(), tick.value) : tick.label;
      if (!anyLabel || !(x < lastLabelX + lastLabelWidth)) {
        p_.setPen(Qt::black);
        QRect box = DrawTickLabel(label, x, labelBottom, 1, 2, font, false);
        anyLabel = true;
        lastLabelX = x;
        lastLabelWidth = box.width();
      }
    }
    if (info_.XGrid == 0) {
      p_.setPen(tickPen);
      XTick(x, f_.Bottom, -1, major);
      XTick(x, f_.Top, 1, major);
      xMajor_.push_back(x);
    } else if (x > f_.Left && x < f_.Right) {
      p_.setPen(gridPen);
      Line(x, f_.Top, x, f_.Bottom - 1);
    }
    if (!logarithmic) {
      p_.setPen(tickPen);
      const int n = std::clamp(info_.XMinorTicks, 0, MaxMinorTicks);
      for (int i = 1; i <= n; ++i) {
        int m = previous + static_cast<int>(std::lround(static_cast<double>(i) * (x - previous) / (n + 1)));
        XTick(m, f_.Bottom, -1, minor);
        XTick(m, f_.Top, 1, minor);
        xMinor_.push_back(m);
      }
    }
    previous = x;
  }
}

void TPlotDrawing::DrawYAxis(bool labels) {
  const QFont font = SlotFont(SlotSize, false);
  const int major = Scaled(MajorTickLength), minor = Scaled(MinorTickLength);
  const bool logarithmic = UsableLog(info_.YLog != 0, info_.YMin, info_.YMax);
  const QPen tickPen = PlotPen(1, 0, scale_), gridPen = PlotPen(6, GridColor, scale_);
  bool anyLabel = false;
  int lastLabelY = 0;
  int previous = f_.Bottom;
  textKind_ = DrawnText::YLabel;
  for (const AxisTick& tick : AxisTicks(info_.YMin, info_.YMax, info_.YTicks, logarithmic)) {
    const int y = YPixel(static_cast<double>(tick.value));
    if (labels && tick.labelled && (!anyLabel || std::abs(y - lastLabelY) > 10)) {
      p_.setPen(Qt::black);
      QRect box = DrawTickLabel(FormatReal(info_.YFormat.format(), tick.value), f_.Left - Scaled(3), y - Scaled(1), 2,
                                1, font, false);
      widestYLabel_ = std::max(widestYLabel_, box.width() - 4);
      anyLabel = true;
      lastLabelY = y;
    }
    if (info_.YGrid == 0) {
      p_.setPen(tickPen);
      YTick(y, f_.Left, 1, major);
      YTick(y, f_.Right, -1, major);
    } else if (y > f_.Top && y < f_.Bottom) {
      p_.setPen(gridPen);
      Line(f_.Right - 1, y, f_.Left + 1, y);
    }
    if (!logarithmic) {
      p_.setPen(tickPen);
      const int n = std::clamp(info_.YMinorTicks, 0, MaxMinorTicks);
      for (int i = 1; i <= n; ++i) {
        int m = previous + static_cast<int>(std::lround(static_cast<double>(i) * (y - previous) / (n + 1)));
        YTick(m, f_.Left, 1, minor);
        YTick(m, f_.Right, -1, minor);
      }
    }
    previous = y;
  }
}

void TPlotDrawing::DrawTitles() {
  const QFont normal = SlotFont(SlotSize, false);
  const QFont title = SlotFont(SlotSize + 2, true);
  p_.setPen(Qt::black);
  const int nineHeight = QFontMetrics(normal, p_.device()).boundingRect(QStringLiteral("9")).height();
  textKind_ = DrawnText::XTitle;
  DrawText(QString::fromLatin1(info_.XLabel.c_str()), (f_.Left + f_.Right) / 2, f_.Bottom + 2 * nineHeight, 1, 0,
           title);

  // The Y title runs upwards, its top towards the labels.
  const QString text = QString::fromLatin1(info_.YLabel.c_str());
  QFontMetrics metrics(title, p_.device());
  const int width = metrics.horizontalAdvance(text) + 4, height = metrics.height();
  const int x = f_.Left - widestYLabel_ - Scaled(30);
  const int middle = (f_.Top + f_.Bottom) / 2;
  p_.save();
  p_.setFont(title);
  p_.translate(x, middle);
  p_.rotate(-90);
  p_.drawText(-width / 2 + 2, metrics.ascent(), text);
  p_.restore();
  QRect box(x, middle - width / 2, height, width);
  Widen(box);
  texts_.push_back({DrawnText::YTitle, info_.YLabel, box});
}

void TPlotDrawing::DrawSymbol(int symbol, int x, int y, int r, const QColor& color) {
  DrawPlotSymbol(p_, symbol, x, y, r, color);
}

void DrawPlotSymbol(QPainter& p_, int symbol, int x, int y, int r, const QColor& color) {
  symbol = EffectiveSymbol(symbol);
  if (symbol == 0) return;
  const bool filled = symbol >= 8 && symbol <= 14;
  const int shape = symbol >= 8 && symbol <= 14 ? symbol - 7 : symbol;
  p_.setBrush(filled ? QBrush(color) : QBrush(Qt::white));
  auto polygon = [&](std::initializer_list<QPoint> points) { p_.drawPolygon(QPolygon(QList<QPoint>(points))); };
  switch (shape) {
    case 1: p_.drawEllipse(QPoint(x, y), r, r); break;
    case 2: p_.drawRect(x - r, y - r, 2 * r, 2 * r); break;
    case 3: {
      // Outlined as a polygon, the base would stop a pixel short of its right corner (x + r, y + r):
      // the inside is filled first, then each edge is drawn with both its ends.
      const QPoint tip(x, y - r), left(x - r, y + r), right(x + r, y + r);
      const QPen pen = p_.pen();
      p_.setPen(Qt::NoPen);
      polygon({tip, left, right});
      QPen edges = pen;
      edges.setCapStyle(Qt::SquareCap);
      p_.setPen(edges);
      p_.drawLine(left, right);
      p_.drawLine(left, tip);
      p_.drawLine(right, tip);
      p_.setPen(pen);
      break;
    }
    case 4: polygon({{x - r, y + r}, {x + r, y - r}, {x + r, y + r}, {x - r, y - r}}); break;
    case 5: polygon({{x, y + r}, {x - r, y - r}, {x + r, y - r}}); break;
    case 6: polygon({{x - r, y - r}, {x + r, y + r}, {x - r, y + r}, {x + r, y - r}}); break;
    case 7: polygon({{x, y + r}, {x - r, y}, {x, y - r}, {x + r, y}}); break;
    case 15:
      p_.drawLine(x - r, y - r, x + r, y + r);
      p_.drawLine(x + r, y - r, x - r, y + r);
      break;
    default: break;
  }
}

void TPlotDrawing::DrawCurve(std::size_t k) {
  const TPlotLine& line = info_.Lines[k];
  const QRect frame = f_.rect();
  if (!printing_ && !paintArea_.isNull() && !paintArea_.intersects(frame.adjusted(-1, -1, 1, 1))) return;
  // Wide pens and symbols of points beyond the frame reach into it by their scaled size.
  TPlotCurveCache passCache(Scaled(8));
  const TPlotCurveCache::Curve& curve = (cache_ ? *cache_ : passCache).Get(k, info_, f_);

  p_.save();
  p_.setClipRect(frame, Qt::IntersectClip);
  // Points mapped for a frame of the same size elsewhere move with it.
  p_.translate(f_.Left - curve.origin.x(), f_.Bottom - curve.origin.y());
  const QColor color = PlotColor(line.Color);
  if (const int kind = PenKindOfLineStyle(line.LineStyle); kind != 0 && curve.line.size() > 1) {
    p_.setPen(PlotPen(kind, line.Color, scale_));
    p_.setBrush(Qt::NoBrush);
    p_.drawPolyline(curve.line.data(), static_cast<int>(curve.line.size()));
  }
  if (EffectiveSymbol(line.Symbol) != 0) {
    p_.setPen(PlotPen(1, line.Color, scale_));
    const int r = Scaled(3);
    for (const QPoint& pt : curve.symbols) DrawSymbol(line.Symbol, pt.x(), pt.y(), r, color);
  }
  p_.restore();
  DrawFrameOutline();
}

void TPlotDrawing::DrawFrameOutline() {
  p_.setPen(PlotPen(1, 0, scale_));
  Line(f_.Left, f_.Bottom, f_.Right, f_.Bottom);
  Line(f_.Right, f_.Bottom, f_.Right, f_.Top);
  Line(f_.Left, f_.Bottom, f_.Left, f_.Top);
  Line(f_.Left, f_.Top, f_.Right, f_.Top);
}

void TPlotDrawing::DrawLegend() {
  const QFont font = SlotFont(SlotSize, true);
  QFontMetrics metrics(font, p_.device());
  textKind_ = DrawnText::Legend;
  if (!printing_) {
    int widest = 0;
    for (const TPlotLine& line : info_.Lines)
      widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(line.YName.c_str())));
    QRect box(QPoint(f_.Right + 10, f_.Top), QPoint(f_.Right + widest + 45, f_.Top + 20 * info_.LineCount()));
    p_.setPen(QPen(Qt::black, 1));
    p_.setBrush(Qt::white);
    p_.drawRect(box);
    Widen(box);
  }
  int row = f_.Top - 20;
  int column = 0;
  for (const TPlotLine& line : info_.Lines) {
    row += Scaled(20);
    if (row + Scaled(20) > f_.Bottom) {
      row = f_.Top;
      ++column;
    }
    const int x = f_.Right + Scaled(55 * column + 20);
    const int y = row + Scaled(6);
    legendSamples_.emplace_back(x, y);
    p_.setPen(PlotPen(1, line.Color, scale_));
    DrawSymbol(line.Symbol, x, y, Scaled(3), PlotColor(line.Color));
    if (const int kind = PenKindOfLineStyle(line.LineStyle); kind != 0) {
      p_.setPen(PlotPen(kind, line.Color, scale_));
      Line(x - Scaled(6), y, x + Scaled(6), y);
    }
    p_.setPen(Qt::black);
    DrawText(QString::fromLatin1(line.YName.c_str()), x + Scaled(15), row, 0, 0, font);
  }
}

void TPlotDrawing::DisplayPlot() {
  p_.save();
  p_.setRenderHint(QPainter::Antialiasing, false);
  p_.setBackgroundMode(Qt::TransparentMode);
  const QRect frame = f_.rect();
  p_.fillRect(frame, Qt::white);
  // The extent starts at the frame once per pass over the whole plot, so that it still holds the
  // labels and titles that only the first curve's pass draws.
  extent_ = printing_ ? QRect() : frame;
  widestYLabel_ = 0;
  texts_.clear();
  xMajor_.clear();
  xMinor_.clear();
  legendSamples_.clear();
  const int passes = std::max(1, info_.LineCount());
  for (int k = 0; k < passes; ++k) {
    if (k == 0) {
      DrawXAxis();
      DrawYAxis(true);
      DrawTitles();
    }
    if (k < info_.LineCount())
      DrawCurve(static_cast<std::size_t>(k));
    else
      DrawFrameOutline();
  }
  if (info_.ShowLegend == 1) DrawLegend();
  p_.restore();
}

double PlotPrintScale(int pageWidth, int pageHeight, bool landscape, int clientWidth, int clientHeight) {
  clientWidth = std::max(clientWidth, 1);
  clientHeight = std::max(clientHeight, 1);
  if (landscape) {
    const int m = pageWidth / 11;
    return std::min(static_cast<double>(pageHeight - m) / clientHeight, static_cast<double>(pageWidth - m) / clientWidth);
  }
  return static_cast<double>(pageWidth - pageHeight / 11) / clientWidth;
}

namespace {
double ScaleOf(const TPrintJob& job, const PlotView& view) {
  return PlotPrintScale(job.pageWidth(), job.pageHeight(), job.landscape(), view.clientSize.width(),
                        view.clientSize.height());
}
}  // namespace

int PlotPrintHeight(const TPrintJob& job, const PlotView& view) {
  return static_cast<int>(std::lround((view.frame.Bottom - view.frame.Top + 100) * ScaleOf(job, view)));
}

void PrintPlot(TPrintJob& job, const PlotView& view) {
  if (!view.info) return;
  const double scale = ScaleOf(job, view);
  QPainter& painter = job.painter();
  job.Advance(0);  // a plot that did not fit has ended the page: start the new one first
  painter.save();

  const QRect ext = view.extent.isNull() ? view.frame.rect() : view.extent;
  const int left = job.leftMargin();
  const int shift = (job.pageWidth() - 2 * left - static_cast<int>(std::lround(ext.width() * scale))) / 2;
  auto moveX = [&](int x) { return static_cast<int>(std::trunc((x - ext.left()) * scale)) + 2 * left + shift; };

  // The caption, centred over the frame's width on the page at the print line, in the space above
  // the frame.
  QFont captionFont = ProgramFont("Arial", SlotSize);
  captionFont.setPixelSize(std::max(1, static_cast<int>(std::lround(SlotSize * scale))));
  painter.setFont(captionFont);
  painter.setPen(Qt::black);
  const QString caption = QString::fromLatin1(view.caption.c_str());
  const int frameLeft = moveX(view.frame.Left), frameRight = moveX(view.frame.Right);
  QFontMetrics metrics(captionFont, painter.device());
  const int captionTop = job.y();
  painter.drawText((frameLeft + frameRight) / 2 - metrics.horizontalAdvance(caption) / 2, captionTop + metrics.ascent(),
                   caption);

  // The plot is placed from the top margin, or from the caption's line where that lies lower (a
  // plot that follows other windows on its page).
  const int top = std::max(job.margin(), captionTop) + static_cast<int>(std::lround(20 * scale));
  auto moveY = [&](int y) { return static_cast<int>(std::trunc((y - ext.top()) * scale)) + top; };
  PlotFrame onPage{frameLeft, moveY(view.frame.Top), frameRight, moveY(view.frame.Bottom)};
  TPlotDrawing drawing(painter, *view.info, onPage);
  drawing.setScale(scale);
  drawing.setPrinting(true);
  drawing.DisplayPlot();
  painter.restore();
  job.setY(moveY(ext.bottom()) + job.lineHeight());
}

QRect MeasurePlotExtent(const TPlotInfo& info, PlotFrame frame) {
  QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  TPlotDrawing drawing(painter, info, frame);
  drawing.setPaintArea(QRect(-PixelLimit * 4, -PixelLimit * 4, 1, 1));  // no curves: only the extent matters
  drawing.DisplayPlot();
  return drawing.Extent();
}

}  // namespace tal
