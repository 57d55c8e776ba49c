#pragma once
// Exploring a plot: the axis ranges that zooming, panning and Zoom to Fit set, worked out as Modify
// Plot would take them (round ends and tick counts by the setup's scaling rules, logarithmic axes
// in whole decades), the way back through earlier ranges, the value under a pixel, and the frame
// that fills a window.
#include <QSize>
#include <vector>

#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"

namespace tal {

// One axis as a zoom changes it.
struct AxisRange {
  Real Min = 0, Max = 1;
  std::int32_t Ticks = 5;
  TAxisFormat Format;
  bool Log = false;  // a logarithmic axis that can be drawn as one (minimum above 0)
  bool operator==(const AxisRange&) const = default;
};

struct PlotRanges {
  AxisRange X, Y;
  bool operator==(const PlotRanges&) const = default;
};

PlotRanges RangesOf(const TPlotInfo& info);
// Sets the ranges, ticks and digits of both axes; the scale types stay.
void SetRanges(TPlotInfo& info, const PlotRanges& ranges);

// The smallest and largest values of the curves' points (X over every curve's X values, Y over
// the Y values), and the smallest positive ones for logarithmic axes. No points: Min above Max.
struct DataExtent {
  double XMin = 1.0e60, XMax = -1.0e60, YMin = 1.0e60, YMax = -1.0e60;
  double XMinPositive = 1.0e60, YMinPositive = 1.0e60;
  void Add(double x, double y);
  void Add(const DataExtent& other);
};
DataExtent CurvesExtent(const TPlotInfo& info);

// The range the setup proposes for data from `dataMin` to `dataMax`: on a linear axis the round
// range of ScaleMinMax with its ticks (and its digits, for a fixed-point format); on a logarithmic
// axis the whole decades around the positive data (`positiveMin` the smallest of them).
AxisRange ProposeAxis(const AxisRange& axis, double dataMin, double dataMax, double positiveMin);
// Zoom to Fit: both axes proposed for every point of the curves.
PlotRanges FitRanges(const TPlotInfo& info);
PlotRanges FitRanges(const PlotRanges& current, const DataExtent& extent);

// One wheel step around `anchor` (a value on the axis): `factor` below 1 zooms in, above 1 out.
// The result is proposed as the setup proposes ranges, and always differs from `axis` in the
// direction asked, unless the axis reached its limit (a span of about ten significant digits, a
// single decade, or 1e30), where it stays as it is.
AxisRange ZoomAxis(const AxisRange& axis, double anchor, double factor);
// The range proposed for the values from `a` to `b` (a zoom rectangle), in either order.
AxisRange ZoomAxisTo(const AxisRange& axis, double a, double b);
// Moves the axis by `shift` (in the axis's values; in decades on a logarithmic axis), rounded to a
// tenth of a tick interval (whole decades), so that tick labels stay exact; a fixed-point format
// gets the decimals the labels then need.
AxisRange PanAxis(const AxisRange& axis, double shift);
// The width of one tick interval (one decade on a logarithmic axis): the step of an arrow key.
double TickInterval(const AxisRange& axis);

// The same steps given in pixels of a frame. A wheel step zooms one axis or both around the value
// under `pointer`; a rectangle zooms to the values it covers; a drag moves the ranges `start` had
// when it began by the values between `from` and `to`.
PlotRanges ZoomAtPixel(const PlotRanges& ranges, PlotFrame frame, QPoint pointer, double factor, bool x, bool y);
PlotRanges ZoomToPixels(const PlotRanges& ranges, PlotFrame frame, QRect rectangle);
PlotRanges PanByPixels(const PlotRanges& start, PlotFrame frame, QPoint from, QPoint to);

// Earlier ranges for Backspace, the latest last; the oldest are forgotten beyond 100.
class ZoomHistory {
 public:
  void Push(const PlotRanges& ranges);
  bool Empty() const { return ranges_.empty(); }
  // The ranges before the latest zoom, taken off the history.
  PlotRanges Pop();
  void Clear() { ranges_.clear(); }
  std::size_t Size() const { return ranges_.size(); }

 private:
  std::vector<PlotRanges> ranges_;
};

// The value at a pixel of an axis drawn from `base` over `span` pixels (the inverse of ValueToPixel).
double PixelToValue(double pixel, Real min, Real max, bool logarithmic, int base, int span);
double XValueAt(const TPlotInfo& info, PlotFrame frame, double x);
double YValueAt(const TPlotInfo& info, PlotFrame frame, double y);

// The frame for a window whose drawing surface is `client`: as large as leaves the tick labels,
// titles and legend inside the surface with `margin` pixels to spare.
PlotFrame FillingFrame(const TPlotInfo& info, QSize client, int margin = 10);

}  // namespace tal
