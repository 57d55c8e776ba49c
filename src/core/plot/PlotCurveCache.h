#pragma once
// Curves as the window draws them: a long curve reduced to the first, lowest, highest and last
// point of each run of points on one pixel column, which draws the same line as every point does.
// A curve whose X values never decrease is reduced from the values themselves: the run of each
// column is found by searching, and only the points that may be its lowest or highest are mapped
// to pixels; any other curve has every point mapped. A cache keeps the reduction of each curve
// while the axis ranges and the frame's size stay the same: moving the frame or exposing the
// window draws it again as it is, and rows added at the end of a curve are reduced on from where
// the last ones ended.
#include <QPoint>
#include <cstdint>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"

namespace tal {

// Round to nearest, halves to even, as std::nearbyint does in the default rounding mode, without
// a library call: adding and taking away 1.5 * 2^52 leaves the integer part rounded.
inline double RoundEven(double x) {
  constexpr double Magic = 6755399441055744.0;
  return (x + Magic) - Magic;
}

// The value-to-pixel rule with its constants worked out once per axis, for the points of curves.
class AxisMap {
 public:
  AxisMap(double min, double max, bool logarithmic, int base, int span) : span_(span), base_(base) {
    log_ = logarithmic && min > 0 && max > min;
    if (log_) {
      origin_ = std::log10(min);
      range_ = std::log10(max) - origin_;
      factor_ = span / range_;
      below_ = span >= 0 ? -4.0 * PixelLimit : 4.0 * PixelLimit;
    } else {
      origin_ = min;
      range_ = max == min ? std::numeric_limits<double>::infinity() : max - min;
      factor_ = span / range_;
    }
  }
  int operator()(double v) const {
    double offset;
    const double d = log_ ? (v > 0 ? std::log10(v) - origin_ : 0) : v - origin_;
    if (log_ && !(v > 0)) {
      offset = below_;
    } else {
      // A multiplication is within a few units of the last bit of ValueToPixel's division; only
      // an offset that close to a half pixel is worked out the long way, so the pixels agree.
      offset = d * factor_;
      if (std::fabs(std::fabs(offset - RoundEven(offset)) - 0.5) < 1e-7) offset = span_ * d / range_;
    }
    if (!(offset > -4.0 * PixelLimit)) offset = std::isnan(offset) ? 0.0 : -4.0 * PixelLimit;
    if (offset > 4.0 * PixelLimit) offset = 4.0 * PixelLimit;
    const int pixel = base_ + static_cast<int>(RoundEven(offset));
    return pixel < -PixelLimit ? -PixelLimit : pixel > PixelLimit ? PixelLimit : pixel;
  }
  // Values that have no place on the axis (NaN; on a logarithmic axis also those not above 0):
  // they all lie on the pixel of NaN.
  bool Odd(double v) const { return log_ ? !(v > 0) : std::isnan(v); }
  // A range of values a little wider than the ones that lie on `pixel` (odd values aside): a
  // search for the first point on a pixel maps only the values inside it.
  std::pair<double, double> ValuesNear(int pixel) const;

 private:
  bool log_ = false;
  double origin_ = 0, range_ = 1, factor_ = 0, below_ = 0;
  double span_;
  int base_;
};

// One curve's pixels: the polyline and, for a curve with symbols, the points a symbol is drawn at
// (a point on the same pixel as the one before it drawing no second symbol).
class ReducedCurve {
 public:
  void Clear();
  void Add(QPoint pt);
  // The reduced polyline, the run still open included.
  void Polyline(std::vector<QPoint>& out) const;
  bool Empty() const { return !open_; }

 private:
  void Flush();
  std::vector<QPoint> points_;
  bool open_ = false;
  QPoint first_, low_, high_, last_;
  bool lowFirst_ = true;  // the lowest point came before the highest
};

// The smallest and largest of a curve's Y values, and whether NaN is among them, for each block
// of 64 points: the points of a pixel column (hundreds in a long curve) are looked over block by
// block.
class ValueBlocks {
 public:
  static constexpr std::size_t Size = 64;
  struct Block {
    double least = std::numeric_limits<double>::infinity(), most = -std::numeric_limits<double>::infinity();
    bool nan = false;
  };
  // Brings the blocks up to the first `n` values (the ones made before stand: values are only added).
  void Update(const double* ys, std::size_t n);
  // The block of values `from` to `to`.
  Block Over(const double* ys, std::size_t from, std::size_t to) const;
  // The whole block `b` (made for every whole block of the values given to Update).
  const Block* Whole(std::size_t b) const { return b < blocks_.size() ? &blocks_[b] : nullptr; }

 private:
  std::vector<Block> blocks_;
};

class TPlotCurveCache {
 public:
  // The points of a sorted curve further than `outsideMargin` pixels beyond the frame's left and
  // right edges are left out (as many as the widest pen and symbol reach, scaled on paper).
  explicit TPlotCurveCache(int outsideMargin = 8) : outsideMargin_(outsideMargin) {}
  struct Curve {
    std::vector<QPoint> line;     // in window pixels for the frame `origin` was taken at
    std::vector<QPoint> symbols;  // empty unless the curve draws symbols
    QPoint origin;                // (FrameLeft, FrameBottom) when the points were mapped
  };
  // Curve `k` of `info` for `frame`, mapped anew only when the ranges, the frame's size or the
  // curve's values changed (values added at the end are mapped on from where they stopped).
  const Curve& Get(std::size_t k, const TPlotInfo& info, PlotFrame frame);
  // The values of the curves were replaced, not only added to: every curve is mapped anew.
  void Invalidate() {
    entries_.clear();
    ++generation_;
  }
  // Counts every change of the curves' pixels: the same number means the same curves.
  std::uint64_t Generation() const { return generation_; }
  // Whether the curves as last mapped draw the same moved along with the frame: not when a point
  // lay at the pixel limit, which does not move with it.
  bool Movable() const;

 private:
  struct Entry {
    bool valid = false;
    // What the points were mapped for.
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool xLog = false, yLog = false, symbols = false;
    int width = 0, height = 0;
    std::size_t mapped = 0;  // values looked at so far
    // Whether the X values never decrease (NaN counts as a decrease), known for the first
    // `sortChecked` of them; it holds until the values are replaced.
    bool sorted = true;
    std::size_t sortChecked = 0;
    bool skipsOutside = false;  // sorted over a rising X range: points left and right of the frame are skipped
    double keepFrom = 0, keepTo = 0;  // the X values a little beyond the frame's edges, where skipping starts
    bool pastEnd = false;       // a point right of the frame has been mapped
    bool limited = false;       // a point lies at the pixel limit
    ValueBlocks blocks;         // of the Y values of a sorted curve; they hold until the values are replaced
    ReducedCurve reduced;
    QPoint lastSymbol;
    Curve curve;
  };
  void Reset(Entry& e, const TPlotLine& line, std::size_t n, const TPlotInfo& info, PlotFrame frame);
  void Map(Entry& e, const TPlotLine& line, std::size_t n);
  void MapEveryPoint(Entry& e, const double* xs, const double* ys, std::size_t n, const AxisMap& xMap,
                     const AxisMap& yMap);
  void MapColumns(Entry& e, const double* xs, const double* ys, std::size_t n, const AxisMap& xMap,
                  const AxisMap& yMap);
  void AddColumn(Entry& e, int column, const double* ys, std::size_t from, std::size_t to, const AxisMap& yMap);
  static void CheckSorted(Entry& e, const double* xs, std::size_t n);
  std::vector<Entry> entries_;
  std::uint64_t generation_ = 0;
  int outsideMargin_;
};

}  // namespace tal
