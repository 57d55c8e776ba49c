#include "plot/PlotCurveCache.h"

#include <algorithm>

namespace tal {

void ReducedCurve::Clear() {
  points_.clear();
  open_ = false;
}

void ReducedCurve::Flush() {
  points_.push_back(first_);
  if (lowFirst_) {
    if (low_ != first_) points_.push_back(low_);
    if (high_ != low_) points_.push_back(high_);
  } else {
    if (high_ != first_) points_.push_back(high_);
    if (low_ != high_) points_.push_back(low_);
  }
  if (last_ != points_.back()) points_.push_back(last_);
}

void ReducedCurve::Add(QPoint pt) {
  if (open_ && pt.x() == first_.x()) {
    // "Low" is the smallest pixel y, "high" the largest; the order they came in is kept.
    if (pt.y() < low_.y()) low_ = pt, lowFirst_ = false;
    if (pt.y() > high_.y()) high_ = pt, lowFirst_ = true;
    last_ = pt;
    return;
  }
  if (open_) Flush();
  open_ = true;
  first_ = low_ = high_ = last_ = pt;
  lowFirst_ = true;
}

void ReducedCurve::Polyline(std::vector<QPoint>& out) const {
  out = points_;
  if (!open_) return;
  ReducedCurve tail = *this;
  tail.points_.clear();
  tail.Flush();
  out.insert(out.end(), tail.points_.begin(), tail.points_.end());
}

namespace {
std::size_t PointsOf(const TPlotLine& line) {
  return std::min({static_cast<std::size_t>(std::max(line.PointCount, 0)), line.XValues.size(), line.YValues.size()});
}
}  // namespace

void TPlotCurveCache::Reset(Entry& e, const TPlotLine& line, std::size_t n, const TPlotInfo& info, PlotFrame frame) {
  e.valid = true;
  e.xMin = static_cast<double>(info.XMin), e.xMax = static_cast<double>(info.XMax);
  e.yMin = static_cast<double>(info.YMin), e.yMax = static_cast<double>(info.YMax);
  e.xLog = info.XLog != 0, e.yLog = info.YLog != 0;
  e.symbols = EffectiveSymbol(line.Symbol) != 0;
  e.width = frame.Right - frame.Left, e.height = frame.Top - frame.Bottom;
  e.curve.origin = QPoint(frame.Left, frame.Bottom);
  e.reduced.Clear();
  e.curve.symbols.clear();
  e.lastSymbol = QPoint(std::numeric_limits<int>::min(), 0);
  e.pastEnd = false;
  const double* xs = line.XValues.data();
  e.sorted = std::is_sorted(xs, xs + n);
  // A curve whose X never decreases is mapped from the last point left of the frame on.
  e.mapped = e.sorted ? static_cast<std::size_t>(std::max<std::ptrdiff_t>(std::lower_bound(xs, xs + n, e.xMin) - xs - 1, 0)) : 0;
}

void TPlotCurveCache::Map(Entry& e, const TPlotLine& line, std::size_t n) {
  const AxisMap xMap(e.xMin, e.xMax, e.xLog, e.curve.origin.x(), e.width);
  const AxisMap yMap(e.yMin, e.yMax, e.yLog, e.curve.origin.y(), e.height);
  const double* xs = line.XValues.data();
  const double* ys = line.YValues.data();
  for (std::size_t i = e.mapped; i < n && !e.pastEnd; ++i) {
    const QPoint pt(xMap(xs[i]), yMap(ys[i]));
    e.reduced.Add(pt);
    if (e.symbols && pt != e.lastSymbol) {
      e.curve.symbols.push_back(pt);
      e.lastSymbol = pt;
    }
    // Past the first point right of the frame, a sorted curve only goes on further right.
    if (e.sorted && xs[i] > e.xMax) e.pastEnd = true;
  }
  e.mapped = n;
  e.reduced.Polyline(e.curve.line);
}

const TPlotCurveCache::Curve& TPlotCurveCache::Get(std::size_t k, const TPlotInfo& info, PlotFrame frame) {
  if (entries_.size() < info.Lines.size()) entries_.resize(info.Lines.size());
  Entry& e = entries_[k];
  const TPlotLine& line = info.Lines[k];
  const std::size_t n = PointsOf(line);
  const bool same = e.valid && e.xMin == static_cast<double>(info.XMin) && e.xMax == static_cast<double>(info.XMax) &&
                    e.yMin == static_cast<double>(info.YMin) && e.yMax == static_cast<double>(info.YMax) &&
                    e.xLog == (info.XLog != 0) && e.yLog == (info.YLog != 0) &&
                    e.symbols == (EffectiveSymbol(line.Symbol) != 0) && e.width == frame.Right - frame.Left &&
                    e.height == frame.Top - frame.Bottom && n >= e.mapped;
  if (!same) {
    Reset(e, line, n, info, frame);
    Map(e, line, n);
  } else if (n > e.mapped) {
    // Rows added at the end: a sorted curve stays sorted only if they go on from its last X.
    const double* xs = line.XValues.data();
    if (e.sorted && !std::is_sorted(xs + (e.mapped > 0 ? e.mapped - 1 : 0), xs + n)) Reset(e, line, n, info, frame);
    Map(e, line, n);
  }
  return e.curve;
}

}  // namespace tal
