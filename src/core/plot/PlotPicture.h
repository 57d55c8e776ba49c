#pragma once
// A plot window's drawing kept as a picture: a repaint that only exposes the window, or for which
// only the frame moved, copies the picture instead of drawing every curve and text again. The
// picture is drawn anew as soon as anything it shows changes: the axis ranges, the frame's size,
// the look of the plot or of a curve, the curves' values.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstdint>

#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"

namespace tal {

class TPlotCurveCache;

class TPlotPicture {
 public:
  // Paints the plot for `frame` onto `painter`, whose surface shows `background` wherever the plot
  // draws nothing, and returns the drawn extent. `curves` keeps the curves' reductions.
  QRect Paint(QPainter& painter, const TPlotInfo& info, PlotFrame frame, QRect paintArea, const QColor& background,
              TPlotCurveCache& curves);
  // The curves were replaced: the next paint draws anew.
  void Invalidate() { image_ = QImage(); }
  // Whether the last paint drew the plot (false: it copied the picture).
  bool Redrawn() const { return redrawn_; }

 private:
  bool Shows(const TPlotInfo& info, PlotFrame frame, const QColor& background, qreal ratio,
             const TPlotCurveCache& curves) const;
  bool Draw(const TPlotInfo& info, PlotFrame frame, const QColor& background, qreal ratio, TPlotCurveCache& curves);

  QImage image_;
  TPlotInfo look_;  // the plot it shows, the curves' values left out
  PlotFrame frame_;
  QRect extent_;
  QColor background_;
  qreal ratio_ = 1;
  std::uint64_t generation_ = 0;  // of the curves' reductions it shows
  bool redrawn_ = false;
};

}  // namespace tal
