#pragma once
// Reading values off a plot: the axis values under a pixel for the status bar, and the curve point
// nearest to the pointer for a tool tip, each value written with the digits its column holds.
#include <QPoint>
#include <string>

#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"

namespace tal {

// A plot value as the data file wrote it: the shortest decimal text that reads back as the same
// stored value (so "28.54907", not "28.549070000000001").
std::string PlotValueText(double value);

// "x = 12.5 h, y = 21.37 C": the values under the pixel, to the resolution of one pixel, with the
// units of the first curve; "" when the pixel lies outside the frame.
std::string PointerText(const TPlotInfo& info, PlotFrame frame, QPoint pixel);

// The point of a curve nearest to the pointer among the curves whose drawn line or symbols pass
// within `radius` pixels of it.
struct CurvePoint {
  int curve = -1;  // index into Lines; -1: no curve is near
  std::size_t point = 0;
  double distance = 0;  // pixels from the pointer to the curve
};
CurvePoint NearestCurvePoint(const TPlotInfo& info, PlotFrame frame, QPoint pixel, int radius = 4);

// The tool tip of a curve point: the curve as Modify Plot lists it ("T1 vs. TIME"), then its X
// and its Y with their units.
std::string CurvePointText(const TPlotInfo& info, const CurvePoint& point);

}  // namespace tal
