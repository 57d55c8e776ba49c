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

std::pair<double, double> AxisMap::ValuesNear(int pixel) const {
  constexpr double Infinity = std::numeric_limits<double>::infinity();
  if (!(std::fabs(factor_) > 0) || !std::isfinite(factor_)) return {-Infinity, Infinity};
  // The offsets that round to the pixel, with room for the rounding of the way back to values;
  // the pixel limits also hold every value beyond them.
  const double low = pixel <= -PixelLimit ? -Infinity : pixel - base_ - 0.51;
  const double high = pixel >= PixelLimit ? Infinity : pixel - base_ + 0.51;
  double a = low / factor_, b = high / factor_;
  if (a > b) std::swap(a, b);
  if (log_) return {std::pow(10.0, origin_ + a) * (1 - 1e-9), std::pow(10.0, origin_ + b) * (1 + 1e-9)};
  a += origin_, b += origin_;
  return {a - std::fabs(a) * 1e-12, b + std::fabs(b) * 1e-12};
}

namespace {
std::size_t PointsOf(const TPlotLine& line) {
  return std::min({static_cast<std::size_t>(std::max(line.PointCount, 0)), line.XValues.size(), line.YValues.size()});
}

bool AtLimit(QPoint pt) { return std::abs(pt.x()) >= PixelLimit || std::abs(pt.y()) >= PixelLimit; }

// The end of the run of points from `from` on whose X lies on `column`, before `end`: a sorted
// curve's columns follow its points in order, so the run is found by doubling steps and halving.
std::size_t ColumnEnd(const double* xs, std::size_t from, std::size_t end, int column, const AxisMap& xMap) {
  std::size_t inside = from, step = 1;
  while (step < end - inside && xMap(xs[inside + step]) == column) {
    inside += step;
    step *= 2;
  }
  std::size_t outside = std::min(inside + step, end);
  while (outside - inside > 1) {
    const std::size_t middle = inside + (outside - inside) / 2;
    (xMap(xs[middle]) == column ? inside : outside) = middle;
  }
  return outside;
}

ValueBlocks::Block Scan(const double* ys, std::size_t from, std::size_t to) {
  ValueBlocks::Block b;
  for (std::size_t k = from; k < to; ++k) {
    const double v = ys[k];
    b.least = v < b.least ? v : b.least;
    b.most = v > b.most ? v : b.most;
    b.nan |= v != v;
  }
  return b;
}

void Merge(ValueBlocks::Block& into, const ValueBlocks::Block& b) {
  into.least = std::min(into.least, b.least), into.most = std::max(into.most, b.most), into.nan |= b.nan;
}

// The first of the points from `from` to `to` whose Y lies on `pixel` (one does). Whole blocks
// that hold no value near the pixel are passed over.
std::size_t FirstOnPixel(const double* ys, std::size_t from, std::size_t to, int pixel, const AxisMap& yMap,
                         const ValueBlocks& blocks) {
  const auto [low, high] = yMap.ValuesNear(pixel);
  const bool oddToo = yMap(std::numeric_limits<double>::quiet_NaN()) == pixel;
  for (std::size_t k = from; k < to;) {
    if (k % ValueBlocks::Size == 0 && to - k >= ValueBlocks::Size) {
      if (const ValueBlocks::Block* b = blocks.Whole(k / ValueBlocks::Size);
          b && !(b->most >= low && b->least <= high) && !(oddToo && (b->nan || yMap.Odd(b->least)))) {
        k += ValueBlocks::Size;
        continue;
      }
    }
    const double v = ys[k];
    if (((v >= low && v <= high) || (oddToo && yMap.Odd(v))) && yMap(v) == pixel) return k;
    ++k;
  }
  // Values so close together that the range above missed them: every one is mapped.
  for (std::size_t k = from; k < to; ++k)
    if (yMap(ys[k]) == pixel) return k;
  return from;
}
}  // namespace

void ValueBlocks::Update(const double* ys, std::size_t n) {
  if (blocks_.size() > n / Size) blocks_.clear();
  for (std::size_t b = blocks_.size(); (b + 1) * Size <= n; ++b) blocks_.push_back(Scan(ys, b * Size, (b + 1) * Size));
}

ValueBlocks::Block ValueBlocks::Over(const double* ys, std::size_t from, std::size_t to) const {
  const std::size_t first = (from + Size - 1) / Size, last = std::min(to / Size, blocks_.size());
  if (first >= last) return Scan(ys, from, to);
  Block all = Scan(ys, from, first * Size);
  for (std::size_t b = first; b < last; ++b) Merge(all, blocks_[b]);
  Merge(all, Scan(ys, last * Size, to));
  return all;
}

void TPlotCurveCache::CheckSorted(Entry& e, const double* xs, std::size_t n) {
  if (n < e.sortChecked) e.sorted = true, e.sortChecked = 0;
  for (std::size_t i = e.sortChecked; i < n && e.sorted; ++i)
    e.sorted = !std::isnan(xs[i]) && (i == 0 || xs[i] >= xs[i - 1]);
  e.sortChecked = n;
}

void TPlotCurveCache::Reset(Entry& e, const TPlotLine& line, std::size_t n, const TPlotInfo& info, PlotFrame frame) {
  ++generation_;
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
  e.limited = false;
  const double* xs = line.XValues.data();
  CheckSorted(e, xs, n);
  // A sorted curve is mapped from the last point left of the frame on (a range running the other
  // way, or none at all, has every point mapped).
  e.skipsOutside = e.sorted && e.xMax > e.xMin && (!e.xLog || e.xMin > 0);
  if (e.skipsOutside) {
    // The points kept reach a few pixels past each edge, so that wide lines and symbols of points
    // outside the frame, and the lines that leave it, are drawn as they are with every point.
    const double beyond = static_cast<double>(outsideMargin_) / std::max(std::abs(e.width), 1);
    if (e.xLog) {
      const double decades = std::log10(e.xMax) - std::log10(e.xMin);
      e.keepFrom = e.xMin * std::pow(10.0, -decades * beyond), e.keepTo = e.xMax * std::pow(10.0, decades * beyond);
    } else {
      e.keepFrom = e.xMin - (e.xMax - e.xMin) * beyond, e.keepTo = e.xMax + (e.xMax - e.xMin) * beyond;
    }
  }
  e.mapped = e.skipsOutside ? static_cast<std::size_t>(std::max<std::ptrdiff_t>(
                                  std::lower_bound(xs, xs + n, e.keepFrom) - xs - 1, 0))
                            : 0;
}

void TPlotCurveCache::MapEveryPoint(Entry& e, const double* xs, const double* ys, std::size_t n, const AxisMap& xMap,
                                    const AxisMap& yMap) {
  for (std::size_t i = e.mapped; i < n && !e.pastEnd; ++i) {
    const QPoint pt(xMap(xs[i]), yMap(ys[i]));
    e.reduced.Add(pt);
    e.limited = e.limited || AtLimit(pt);
    if (e.symbols && pt != e.lastSymbol) {
      e.curve.symbols.push_back(pt);
      e.lastSymbol = pt;
    }
    // Past the first point right of the frame, a sorted curve only goes on further right.
    if (e.skipsOutside && xs[i] > e.keepTo) e.pastEnd = true;
  }
}

void TPlotCurveCache::MapColumns(Entry& e, const double* xs, const double* ys, std::size_t n, const AxisMap& xMap,
                                 const AxisMap& yMap) {
  if (e.pastEnd) return;
  std::size_t end = n;
  if (e.skipsOutside) {
    // The points up to the first one past the frame's right; the ones after it only go on further right.
    const std::size_t right = static_cast<std::size_t>(std::upper_bound(xs + e.mapped, xs + n, e.keepTo) - xs);
    if (right < n) end = right + 1, e.pastEnd = true;
  }
  for (std::size_t i = e.mapped; i < end;) {
    const int column = xMap(xs[i]);
    const std::size_t next = ColumnEnd(xs, i, end, column, xMap);
    AddColumn(e, column, ys, i, next, yMap);
    i = next;
  }
}

// The points from `from` to `to`, all on one pixel column, added as the reduction keeps them: the
// first, the first on the lowest pixel, the first on the highest and the last, in their order.
void TPlotCurveCache::AddColumn(Entry& e, int column, const double* ys, std::size_t from, std::size_t to,
                                const AxisMap& yMap) {
  const ValueBlocks::Block values = e.blocks.Over(ys, from, to);
  // The axis maps values in order (either way round), so the extreme pixels are those of the
  // extreme values, or of NaN, which has a pixel of its own.
  int top = PixelLimit + 1, bottom = -PixelLimit - 1;
  auto take = [&](double v) {
    const int pixel = yMap(v);
    top = std::min(top, pixel), bottom = std::max(bottom, pixel);
  };
  if (values.most >= values.least) take(values.least), take(values.most);
  if (values.nan) take(std::numeric_limits<double>::quiet_NaN());
  std::size_t picks[4] = {from, FirstOnPixel(ys, from, to, top, yMap, e.blocks),
                          FirstOnPixel(ys, from, to, bottom, yMap, e.blocks), to - 1};
  std::sort(picks + 1, picks + 3);
  for (std::size_t i = 0; i < 4; ++i) {
    if (i > 0 && picks[i] == picks[i - 1]) continue;
    const QPoint pt(column, yMap(ys[picks[i]]));
    e.reduced.Add(pt);
    e.limited = e.limited || AtLimit(pt);
  }
}

void TPlotCurveCache::Map(Entry& e, const TPlotLine& line, std::size_t n) {
  ++generation_;
  const AxisMap xMap(e.xMin, e.xMax, e.xLog, e.curve.origin.x(), e.width);
  const AxisMap yMap(e.yMin, e.yMax, e.yLog, e.curve.origin.y(), e.height);
  const double* xs = line.XValues.data();
  const double* ys = line.YValues.data();
  // A symbol goes on every point that moves to another pixel: those curves map every point.
  if (e.sorted && !e.symbols) {
    e.blocks.Update(ys, n);
    MapColumns(e, xs, ys, n, xMap, yMap);
  } else {
    MapEveryPoint(e, xs, ys, n, xMap, yMap);
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
                    e.height == frame.Top - frame.Bottom && n >= e.mapped &&
                    (!e.limited || e.curve.origin == QPoint(frame.Left, frame.Bottom));
  if (!same) {
    Reset(e, line, n, info, frame);
    Map(e, line, n);
  } else if (n > e.mapped) {
    // Rows added at the end: a sorted curve stays sorted only if they go on from its last X.
    const bool wasSorted = e.sorted;
    CheckSorted(e, line.XValues.data(), n);
    if (wasSorted && !e.sorted) Reset(e, line, n, info, frame);
    Map(e, line, n);
  }
  return e.curve;
}

bool TPlotCurveCache::Movable() const {
  return std::none_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.valid && e.limited; });
}

}  // namespace tal
