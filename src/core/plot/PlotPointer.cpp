#include "plot/PlotPointer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "plot/PlotData.h"
#include "plot/PlotZoom.h"
#include "plot/TimeAxis.h"

namespace tal {

namespace {

std::string Shortest(double value, int precision) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

// Plain decimals for the magnitudes a column usually holds, the exponent form beyond them.
std::string Plain(double value, int precision) {
  if (value == 0) return "0";
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  if (exponent < -5 || exponent > 14) return Shortest(value, precision);
  char buffer[64];
  const int decimals = std::max(0, precision - 1 - exponent);
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return ec == std::errc() ? std::string(buffer, end) : Shortest(value, precision);
}

std::string WithUnit(const std::string& value, const std::string& unit) { return unit.empty() ? value : value + " " + unit; }

// A value at the resolution of one pixel of its axis, `step` apart from its neighbour.
std::string PixelValueText(double value, double step) {
  const double magnitude = std::max(std::fabs(value), std::fabs(step));
  if (!(step > 0) || magnitude >= 1e9 || magnitude < 1e-4) return FormatReal({false, 4}, value);
  const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-6)), 0, 9);
  return FormatReal({true, static_cast<std::int16_t>(decimals)}, value);
}

double SegmentDistance(QPointF p, QPointF a, QPointF b) {
  const QPointF ab = b - a, ap = p - a;
  const double length2 = QPointF::dotProduct(ab, ab);
  const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / length2, 0.0, 1.0) : 0.0;
  const QPointF d = p - (a + t * ab);
  return std::hypot(d.x(), d.y());
}

}  // namespace

std::string PlotValueText(double value) {
  if (!std::isfinite(value)) return Shortest(value, 17);
  // The fewest digits that read back as the same value; a double always does with 17.
  int low = 1, high = 17;
  while (low < high) {
    const int middle = (low + high) / 2;
    if (ReadPlotNumber(Shortest(value, middle)) == value)
      high = middle;
    else
      low = middle + 1;
  }
  return Plain(value, low);
}

std::string PointerText(const TPlotInfo& info, PlotFrame frame, QPoint pixel) {
  if (!frame.rect().contains(pixel)) return "";
  const double x = XValueAt(info, frame, pixel.x()), y = YValueAt(info, frame, pixel.y());
  const double xStep = std::fabs(XValueAt(info, frame, pixel.x() + 1) - x);
  const double yStep = std::fabs(YValueAt(info, frame, pixel.y() - 1) - y);
  const TPlotLine first = info.Lines.empty() ? TPlotLine{} : info.Lines.front();
  std::string xText = WithUnit(PixelValueText(x, xStep), first.XUnit);
  if (info.XTimeLabels != 0 && IsHoursAxis(info))
    xText += " (" + std::string(info.XTimeLabels == 1 ? "day " : "") + TimeText(x, static_cast<TimeLabels>(info.XTimeLabels)) + ")";
  return "x = " + xText + ", y = " + WithUnit(PixelValueText(y, yStep), first.YUnit);
}

CurvePoint NearestCurvePoint(const TPlotInfo& info, PlotFrame frame, QPoint pixel, int radius) {
  CurvePoint best;
  const QPointF p(pixel);
  // The values within reach of the pointer along X, for curves whose X never decreases.
  const double reachLow = XValueAt(info, frame, pixel.x() - radius - 1);
  const double reachHigh = XValueAt(info, frame, pixel.x() + radius + 1);
  const double xMin = static_cast<double>(info.XMin), xMax = static_cast<double>(info.XMax);
  const double yMin = static_cast<double>(info.YMin), yMax = static_cast<double>(info.YMax);
  for (std::size_t k = 0; k < info.Lines.size(); ++k) {
    const TPlotLine& line = info.Lines[k];
    const std::size_t n = std::min({static_cast<std::size_t>(std::max(line.PointCount, 0)), line.XValues.size(),
                                    line.YValues.size()});
    if (n == 0) continue;
    const double* xs = line.XValues.data();
    std::size_t begin = 0, end = n;
    if (std::is_sorted(xs, xs + n)) {
      begin = static_cast<std::size_t>(std::lower_bound(xs, xs + n, std::min(reachLow, reachHigh)) - xs);
      end = static_cast<std::size_t>(std::upper_bound(xs, xs + n, std::max(reachLow, reachHigh)) - xs);
      begin = begin > 0 ? begin - 1 : 0;  // the segments that enter the reach from either side
      end = std::min(end + 1, n);
    }
    auto at = [&](std::size_t i) {
      return QPointF(ValueToPixel(xs[i], xMin, xMax, info.XLog != 0, frame.Left, frame.Right - frame.Left),
                     ValueToPixel(line.YValues[i], yMin, yMax, info.YLog != 0, frame.Bottom, frame.Top - frame.Bottom));
    };
    const bool drawsLine = PenKindOfLineStyle(line.LineStyle) != 0;
    double curveDistance = 1e300, pointDistance = 1e300;
    std::size_t nearest = begin;
    QPointF previous;
    for (std::size_t i = begin; i < end; ++i) {
      const QPointF q = at(i);
      const double d = std::hypot(q.x() - p.x(), q.y() - p.y());
      if (d < pointDistance) pointDistance = d, nearest = i;
      curveDistance = std::min(curveDistance, drawsLine && i > begin ? SegmentDistance(p, previous, q) : d);
      previous = q;
    }
    if (curveDistance <= radius && (best.curve < 0 || curveDistance < best.distance))
      best = {static_cast<int>(k), nearest, curveDistance};
  }
  return best;
}

std::string CurvePointText(const TPlotInfo& info, const CurvePoint& point) {
  if (point.curve < 0 || point.curve >= info.LineCount()) return "";
  const TPlotLine& line = info.Lines[static_cast<std::size_t>(point.curve)];
  if (point.point >= line.XValues.size() || point.point >= line.YValues.size()) return "";
  return line.YName + " vs. " + line.XName + "\n" + line.XName + " = " +
         WithUnit(PlotValueText(line.XValues[point.point]), line.XUnit) + "\n" + line.YName + " = " +
         WithUnit(PlotValueText(line.YValues[point.point]), line.YUnit);
}

}  // namespace tal
