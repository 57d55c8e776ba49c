#include "plot/PlotPicture.h"

#include <cmath>
#include <tuple>

#include "plot/PlotCurveCache.h"

namespace tal {

namespace {

// Larger pictures (a frame sized far beyond the screen) are not kept: they are drawn each time.
constexpr qint64 MaxPicturePixels = 8'000'000;
// Room around the drawn extent for what reaches a little past it (legend symbols, the edges of
// smoothed letters).
constexpr int PictureMargin = 8;

// Everything of a plot and of a curve that its picture shows, the values aside (they are followed
// through the curves' reductions). One list serves to copy and to compare.
template <class Info>
auto PlotLook(Info& i) {
  return std::tie(i.XLabel, i.YLabel, i.XMin, i.YMin, i.XMax, i.YMax, i.XGrid, i.YGrid, i.XMinorTicks, i.YMinorTicks,
                  i.XTicks, i.YTicks, i.XLog, i.YLog, i.XFormat, i.YFormat, i.ShowLegend, i.XTimeLabels);
}
template <class Line>
auto CurveLook(Line& l) {
  return std::tie(l.PointCount, l.FileRows, l.RowsAdjustable, l.LineNo, l.XCol, l.YCol, l.XName, l.YName, l.XUnit,
                  l.YUnit, l.FromRow, l.ToRow, l.LineStyle, l.Symbol, l.Color, l.Smooth);
}

bool SameLook(const TPlotInfo& a, const TPlotInfo& b) {
  if (PlotLook(a) != PlotLook(b) || a.Lines.size() != b.Lines.size()) return false;
  for (std::size_t k = 0; k < a.Lines.size(); ++k)
    if (CurveLook(a.Lines[k]) != CurveLook(b.Lines[k])) return false;
  return true;
}

TPlotInfo LookOf(const TPlotInfo& info) {
  TPlotInfo look;
  PlotLook(look) = PlotLook(info);
  look.Lines.resize(info.Lines.size());
  for (std::size_t k = 0; k < info.Lines.size(); ++k) CurveLook(look.Lines[k]) = CurveLook(info.Lines[k]);
  return look;
}

bool WithinLimits(const QRect& r) {
  return r.left() > -PixelLimit && r.top() > -PixelLimit && r.right() < PixelLimit && r.bottom() < PixelLimit;
}

// Whether everything drawn for frame `from` lies, drawn for frame `to` of the same size, just as
// far moved: texts centred on the frame halve its edges' sums, which moves them by the frame's
// move only while those sums keep their evenness and sign.
bool MovesAlong(PlotFrame from, PlotFrame to, const QRect& extent) {
  const int dx = to.Left - from.Left, dy = to.Top - from.Top;
  return (to.Left + to.Right) / 2 - (from.Left + from.Right) / 2 == dx &&
         (to.Top + to.Bottom) / 2 - (from.Top + from.Bottom) / 2 == dy && WithinLimits(extent) &&
         WithinLimits(extent.translated(dx, dy));
}

}  // namespace

bool TPlotPicture::Shows(const TPlotInfo& info, PlotFrame frame, const QColor& background, qreal ratio,
                         const TPlotCurveCache& curves) const {
  if (image_.isNull() || background != background_ || ratio != ratio_ || curves.Generation() != generation_)
    return false;
  if (frame.Right - frame.Left != frame_.Right - frame_.Left || frame.Bottom - frame.Top != frame_.Bottom - frame_.Top)
    return false;
  if (!(frame == frame_) && !(curves.Movable() && MovesAlong(frame_, frame, extent_))) return false;
  return SameLook(info, look_);
}

bool TPlotPicture::Draw(const TPlotInfo& info, PlotFrame frame, const QColor& background, qreal ratio,
                        TPlotCurveCache& curves) {
  image_ = QImage();
  const QRect extent = MeasurePlotExtent(info, frame);
  const QRect covered = extent.adjusted(-PictureMargin, -PictureMargin, PictureMargin, PictureMargin);
  const QSize size(static_cast<int>(std::ceil(covered.width() * ratio)),
                   static_cast<int>(std::ceil(covered.height() * ratio)));
  if (extent.isEmpty() || static_cast<qint64>(size.width()) * size.height() > MaxPicturePixels) return false;
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(background);
  QPainter painter(&image);
  painter.translate(-covered.topLeft());
  TPlotDrawing drawing(painter, info, frame);
  drawing.setCurveCache(&curves);
  drawing.DisplayPlot();
  painter.end();
  if (drawing.Extent() != extent) return false;
  image_ = std::move(image);
  look_ = LookOf(info);
  frame_ = frame;
  extent_ = extent;
  background_ = background;
  ratio_ = ratio;
  generation_ = curves.Generation();
  return true;
}

QRect TPlotPicture::Paint(QPainter& painter, const TPlotInfo& info, PlotFrame frame, QRect paintArea,
                          const QColor& background, TPlotCurveCache& curves) {
  const qreal ratio = painter.device()->devicePixelRatioF();
  // The curves' reductions are brought up to date first: their generation tells whether the
  // values or the ranges changed since the picture was drawn.
  for (std::size_t k = 0; k < info.Lines.size(); ++k) curves.Get(k, info, frame);
  redrawn_ = !Shows(info, frame, background, ratio, curves);
  if (redrawn_ && !Draw(info, frame, background, ratio, curves)) {
    TPlotDrawing drawing(painter, info, frame);
    drawing.setPaintArea(paintArea);
    drawing.setCurveCache(&curves);
    drawing.DisplayPlot();
    return drawing.Extent();
  }
  const QPoint moved(frame.Left - frame_.Left, frame.Top - frame_.Top);
  painter.drawImage(extent_.topLeft() + moved - QPoint(PictureMargin, PictureMargin), image_);
  return extent_.translated(moved);
}

}  // namespace tal
