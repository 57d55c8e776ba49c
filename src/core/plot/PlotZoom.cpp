#include "plot/PlotZoom.h"

#include <QImage>
#include <algorithm>
#include <cmath>

#include "plot/PlotScale.h"

namespace tal {

namespace {

constexpr int MaxDigits = 9;
constexpr double LargestSpan = 1.0e30;
// Plot values carry eleven to twelve significant digits: a range narrower than this many parts
// of its magnitude would show rounding noise. ScaleMinMax takes spans below 1e-9 as constant.
constexpr double RelativeSpanLimit = 1.0e-10;
constexpr double AbsoluteSpanLimit = 1.0e-8;
constexpr int LowestDecade = -38, HighestDecade = 38;  // the range of the 6-byte values

bool UsableLog(const AxisRange& axis) { return axis.Log && axis.Min > 0 && axis.Max > axis.Min; }

bool SpanAllowed(double lo, double hi) {
  const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
  const double span = hi - lo;
  return std::isfinite(span) && magnitude <= LargestSpan && span <= LargestSpan &&
         span >= std::max(AbsoluteSpanLimit, RelativeSpanLimit * magnitude);
}

AxisRange ProposeLinear(AxisRange axis, double lo, double hi) {
  const AxisProposal p = ScaleMinMax(lo, hi);
  axis.Min = p.Min;
  axis.Max = p.Max;
  if (p.HasTicks) {
    axis.Ticks = p.Ticks;
    if (axis.Format.Fixed) axis.Format.Digits = static_cast<std::int16_t>(std::clamp(p.Digits, 0, MaxDigits));
  }
  return axis;
}

// Decades `low` to `high` (exponents of ten); labels of a fixed-point format get the decimals of
// the lowest decade.
AxisRange DecadeRange(AxisRange axis, int low, int high) {
  low = std::clamp(low, LowestDecade, HighestDecade - 1);
  high = std::clamp(high, low + 1, HighestDecade);
  axis.Min = std::pow(10.0L, low);
  axis.Max = std::pow(10.0L, high);
  if (axis.Format.Fixed) axis.Format.Digits = static_cast<std::int16_t>(std::clamp(-low, 0, MaxDigits));
  return axis;
}

// The decades that cover a positive range: exponents of the lowest and the highest.
int DecadeBelow(double v) { return static_cast<int>(std::floor(std::log10(v) + 1e-9)); }
int DecadeAbove(double v) { return static_cast<int>(std::ceil(std::log10(v) - 1e-9)); }

AxisRange ZoomLog(const AxisRange& axis, double anchor, double factor) {
  const double l0 = std::log10(static_cast<double>(axis.Min)), l1 = std::log10(static_cast<double>(axis.Max));
  const double la = anchor > 0 ? std::clamp(std::log10(anchor), l0, l1) : l0;
  const int c0 = DecadeBelow(static_cast<double>(axis.Min)), c1 = DecadeAbove(static_cast<double>(axis.Max));
  int low = static_cast<int>(std::floor(la - (la - l0) * factor + 1e-9));
  int high = static_cast<int>(std::ceil(la + (l1 - la) * factor - 1e-9));
  if (factor < 1) {
    if (high - low >= c1 - c0) {
      if (c1 - c0 <= 1) return axis;  // a single decade is as close as a logarithmic axis comes
      // One decade fewer, taken on the side farther from the pointer.
      low = c0, high = c1;
      if (la - c0 > c1 - la)
        ++low;
      else
        --high;
    }
  } else if (high - low <= c1 - c0) {
    low = c0 - 1, high = c1 + 1;
  }
  AxisRange zoomed = DecadeRange(axis, low, high);
  return zoomed.Min == axis.Min && zoomed.Max == axis.Max ? axis : zoomed;
}

}  // namespace

PlotRanges RangesOf(const TPlotInfo& info) {
  return {{info.XMin, info.XMax, info.XTicks, info.XFormat, info.XLog != 0},
          {info.YMin, info.YMax, info.YTicks, info.YFormat, info.YLog != 0}};
}

void SetRanges(TPlotInfo& info, const PlotRanges& r) {
  info.XMin = r.X.Min, info.XMax = r.X.Max, info.XTicks = r.X.Ticks, info.XFormat = r.X.Format;
  info.YMin = r.Y.Min, info.YMax = r.Y.Max, info.YTicks = r.Y.Ticks, info.YFormat = r.Y.Format;
}

void DataExtent::Add(double x, double y) {
  XMin = std::min(XMin, x), XMax = std::max(XMax, x);
  YMin = std::min(YMin, y), YMax = std::max(YMax, y);
  if (x > 0) XMinPositive = std::min(XMinPositive, x);
  if (y > 0) YMinPositive = std::min(YMinPositive, y);
}

void DataExtent::Add(const DataExtent& o) {
  XMin = std::min(XMin, o.XMin), XMax = std::max(XMax, o.XMax);
  YMin = std::min(YMin, o.YMin), YMax = std::max(YMax, o.YMax);
  XMinPositive = std::min(XMinPositive, o.XMinPositive), YMinPositive = std::min(YMinPositive, o.YMinPositive);
}

DataExtent CurvesExtent(const TPlotInfo& info) {
  DataExtent extent;
  for (const TPlotLine& line : info.Lines) {
    const std::size_t n = std::min(line.XValues.size(), line.YValues.size());
    for (std::size_t i = 0; i < n; ++i) extent.Add(line.XValues[i], line.YValues[i]);
  }
  return extent;
}

AxisRange ProposeAxis(const AxisRange& axis, double dataMin, double dataMax, double positiveMin) {
  if (!(dataMin <= dataMax)) return axis;  // no points: nothing to propose
  if (axis.Log && dataMax > 0 && positiveMin <= dataMax)
    return DecadeRange(axis, DecadeBelow(positiveMin), DecadeAbove(dataMax));
  return ProposeLinear(axis, dataMin, dataMax);
}

PlotRanges FitRanges(const PlotRanges& current, const DataExtent& e) {
  return {ProposeAxis(current.X, e.XMin, e.XMax, e.XMinPositive), ProposeAxis(current.Y, e.YMin, e.YMax, e.YMinPositive)};
}

PlotRanges FitRanges(const TPlotInfo& info) { return FitRanges(RangesOf(info), CurvesExtent(info)); }

AxisRange ZoomAxis(const AxisRange& axis, double anchor, double factor) {
  if (!(factor > 0) || factor == 1) return axis;
  if (UsableLog(axis)) return ZoomLog(axis, anchor, factor);
  const double min = static_cast<double>(axis.Min), max = static_cast<double>(axis.Max);
  const double span = max - min;
  double lo = anchor - (anchor - min) * factor, hi = anchor + (max - anchor) * factor;
  // Round ends can take back what one step gave: the step is repeated until the range moves.
  for (int attempt = 0; attempt < 64 && SpanAllowed(lo, hi); ++attempt) {
    const AxisRange zoomed = ProposeLinear(axis, lo, hi);
    const double newSpan = static_cast<double>(zoomed.Max - zoomed.Min);
    if (factor < 1 ? newSpan < span * (1 - 1e-9) : newSpan > span * (1 + 1e-9)) return zoomed;
    lo = anchor - (anchor - lo) * factor;
    hi = anchor + (hi - anchor) * factor;
  }
  return axis;
}

AxisRange ZoomAxisTo(const AxisRange& axis, double a, double b) {
  double lo = std::min(a, b), hi = std::max(a, b);
  if (UsableLog(axis)) {
    if (!(lo > 0)) return axis;
    return DecadeRange(axis, DecadeBelow(lo), std::max(DecadeAbove(hi), DecadeBelow(lo) + 1));
  }
  if (!SpanAllowed(lo, hi)) {
    const double middle = (lo + hi) / 2;
    const double half = std::max(AbsoluteSpanLimit, RelativeSpanLimit * std::fabs(middle));
    lo = middle - half, hi = middle + half;
    if (!SpanAllowed(lo, hi)) return axis;
  }
  return ProposeLinear(axis, lo, hi);
}

double TickInterval(const AxisRange& axis) {
  if (UsableLog(axis)) return 1;
  return static_cast<double>(axis.Max - axis.Min) / std::max(1, std::abs(axis.Ticks));
}

AxisRange PanAxis(const AxisRange& axis, double shift) {
  AxisRange moved = axis;
  if (UsableLog(axis)) {
    const int decades = static_cast<int>(std::lround(shift));
    const int low = DecadeBelow(static_cast<double>(axis.Min)) + decades;
    const int high = DecadeAbove(static_cast<double>(axis.Max)) + decades;
    if (decades == 0 || low < LowestDecade || high > HighestDecade) return axis;
    moved.Min = axis.Min * std::pow(10.0L, decades);
    moved.Max = axis.Max * std::pow(10.0L, decades);
    if (moved.Format.Fixed)
      moved.Format.Digits = static_cast<std::int16_t>(std::max<int>(moved.Format.Digits, std::clamp(-low, 0, MaxDigits)));
    return moved;
  }
  const double tenth = TickInterval(axis) / 10;
  if (!(tenth > 0) || !std::isfinite(shift)) return axis;
  const long long steps = std::llround(shift / tenth);
  if (steps == 0) return axis;
  // Shifted by whole tenths from the minimum, so the ticks keep falling on numbers the labels show.
  moved.Min = axis.Min + static_cast<Real>(steps) * (axis.Max - axis.Min) / (10.0L * std::max(1, std::abs(axis.Ticks)));
  moved.Max = moved.Min + (axis.Max - axis.Min);
  if (!SpanAllowed(static_cast<double>(moved.Min), static_cast<double>(moved.Max))) return axis;
  if (moved.Format.Fixed && steps % 10 != 0) {
    const int needed = static_cast<int>(std::ceil(-std::log10(tenth) - 1e-9));
    moved.Format.Digits = static_cast<std::int16_t>(std::max<int>(moved.Format.Digits, std::clamp(needed, 0, MaxDigits)));
  }
  return moved;
}

namespace {
double XAt(const AxisRange& a, PlotFrame f, double x) { return PixelToValue(x, a.Min, a.Max, UsableLog(a), f.Left, f.Right - f.Left); }
double YAt(const AxisRange& a, PlotFrame f, double y) { return PixelToValue(y, a.Min, a.Max, UsableLog(a), f.Bottom, f.Top - f.Bottom); }
// The shift between two values of an axis: in values, or in decades on a logarithmic axis.
double Shift(const AxisRange& a, double from, double to) {
  return UsableLog(a) ? std::log10(from) - std::log10(to) : from - to;
}
}  // namespace

PlotRanges ZoomAtPixel(const PlotRanges& r, PlotFrame f, QPoint p, double factor, bool x, bool y) {
  PlotRanges zoomed = r;
  if (x) zoomed.X = ZoomAxis(r.X, XAt(r.X, f, p.x()), factor);
  if (y) zoomed.Y = ZoomAxis(r.Y, YAt(r.Y, f, p.y()), factor);
  return zoomed;
}

PlotRanges ZoomToPixels(const PlotRanges& r, PlotFrame f, QRect rect) {
  rect = rect.normalized();
  return {ZoomAxisTo(r.X, XAt(r.X, f, rect.left()), XAt(r.X, f, rect.right())),
          ZoomAxisTo(r.Y, YAt(r.Y, f, rect.bottom()), YAt(r.Y, f, rect.top()))};
}

PlotRanges PanByPixels(const PlotRanges& start, PlotFrame f, QPoint from, QPoint to) {
  return {PanAxis(start.X, Shift(start.X, XAt(start.X, f, from.x()), XAt(start.X, f, to.x()))),
          PanAxis(start.Y, Shift(start.Y, YAt(start.Y, f, from.y()), YAt(start.Y, f, to.y())))};
}

void ZoomHistory::Push(const PlotRanges& ranges) {
  constexpr std::size_t Limit = 100;
  if (!ranges_.empty() && ranges_.back() == ranges) return;
  if (ranges_.size() >= Limit) ranges_.erase(ranges_.begin());
  ranges_.push_back(ranges);
}

PlotRanges ZoomHistory::Pop() {
  PlotRanges last = ranges_.back();
  ranges_.pop_back();
  return last;
}

double PixelToValue(double pixel, Real min, Real max, bool logarithmic, int base, int span) {
  if (span == 0) return static_cast<double>(min);
  const double t = (pixel - base) / span;
  if (logarithmic && min > 0 && max > min) {
    const double l0 = std::log10(static_cast<double>(min)), l1 = std::log10(static_cast<double>(max));
    return std::pow(10.0, l0 + t * (l1 - l0));
  }
  return static_cast<double>(min) + t * static_cast<double>(max - min);
}

double XValueAt(const TPlotInfo& info, PlotFrame f, double x) {
  return PixelToValue(x, info.XMin, info.XMax, info.XLog != 0, f.Left, f.Right - f.Left);
}

double YValueAt(const TPlotInfo& info, PlotFrame f, double y) {
  return PixelToValue(y, info.YMin, info.YMax, info.YLog != 0, f.Bottom, f.Top - f.Bottom);
}

PlotFrame FillingFrame(const TPlotInfo& info, QSize client, int margin) {
  // The labels and titles around a frame hardly depend on its size: what a trial frame needs on
  // each side is what the filling frame needs.
  const PlotFrame trial{100, 20, std::max(client.width() - 100, 200), std::max(client.height() - 80, 100)};
  const QRect extent = MeasurePlotExtent(info, trial);
  const int left = trial.Left - extent.left(), top = trial.Top - extent.top();
  const int right = extent.right() - trial.Right, bottom = extent.bottom() - trial.Bottom;
  constexpr int Smallest = 20;  // a window too small for its labels still shows a plot
  PlotFrame frame{left + margin, top + margin, client.width() - 1 - right - margin,
                  client.height() - 1 - bottom - margin};
  frame.Right = std::max(frame.Right, frame.Left + Smallest);
  frame.Bottom = std::max(frame.Bottom, frame.Top + Smallest);
  return frame;
}

}  // namespace tal
