#pragma once
// The plot window (kind 4000): draws its plot description with the core drawing, moves and sizes
// the plot frame with the mouse, saves and opens ".SPF" files, prints into the shared print job,
// exports pictures, and asks before it closes. The frame fills the window and follows its size
// until the user moves or sizes it; the wheel, a right-button rectangle, a middle-button drag and
// the keys zoom and pan, setting the axis ranges as Modify Plot would.
#include <QPointer>
#include <optional>
#include <string>

#include "plot/PlotCurveCache.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"
#include "plot/PlotLiveData.h"
#include "plot/PlotPicture.h"
#include "plot/PlotZoom.h"
#include "shell/ChildForm.h"

class QScrollArea;
class QTimer;

namespace tal {

class TPlotCanvas;

class TPlotForm : public TChildForm {
  Q_OBJECT

 public:
  // New windows are 500 by 340 pixels with the frame at 100, 20, 400, 225.
  explicit TPlotForm(TTALSHELLFORM* shell);

  TPlotInfo& info() { return info_; }
  const TPlotInfo& info() const { return info_; }
  PlotFrame& frame() { return frame_; }
  const std::string& SpfFileName() const { return fileName(); }

  // Reads a plot file; false after a message naming the file (the window then holds nothing).
  bool Open(const std::string& fileName);
  // Writes the plot file with the window caption; false after a message naming the file.
  bool Save(const std::string& fileName);
  // Save and Save as of the File menu: the caption becomes the name, then Save.
  bool saveDocument(const std::string& name) override;

  // Every close asks whether to save (Yes saves, No closes, Cancel keeps the window).
  bool closeQuery() override;
  // Closes and frees the window without the question (the last curve was deleted).
  void CloseWithoutQuestion();

  // Redraws after the description changed (curves added, deleted or replaced, their look, titles).
  void PlotChanged();
  // Redraws after only the frame or the axis ranges changed: the curves' reductions are kept.
  void FrameChanged();

  // The frame put where the user dragged it: from now on it stays there whatever the window's size.
  void PlaceFrame(PlotFrame frame);
  // Whether the frame still follows the window's size (until the user moves or sizes it).
  bool frameFollowsWindow() const { return frameFollowsWindow_; }
  // The frame that fills the drawing surface now.
  PlotFrame FillingFrameNow() const;

  // Zooming and panning: each sets the axis ranges and remembers the ones before for Backspace.
  void SetRanges(const PlotRanges& ranges);
  void ZoomAt(QPoint pointer, double factor, bool x, bool y);
  void ZoomToRectangle(QRect rectangle);
  // Arrow keys: one tick interval (one decade) along each axis, by the signs given.
  void PanSteps(int x, int y);
  // Backspace: the ranges before the latest zoom; false when there were none.
  bool ZoomBack();
  // Zoom to Fit (Home): the ranges the setup proposes for every point of the curves.
  void ZoomToFit();
  const ZoomHistory& zoomHistory() const { return history_; }

  // The values under the pointer: the status bar shows the axis values at `pixel`, a tool tip the
  // nearest point of a curve passing within a few pixels.
  void ShowPointer(QPoint pixel);
  std::string cursorPlace() const override { return pointerText_; }
  const std::string& toolTipText() const { return toolTip_; }

  // Live curves: looks at the curves' data files (a timer does so four times a second) and adds
  // the rows an engine has added; true when the plot changed. A proposed X range grows with them.
  bool PollDataFiles();
  // Reload Data: the curves' files read again, the look and the ranges chosen by hand kept.
  void ReloadData();
  // The smallest and largest values of the curves' points, kept while they only grow.
  const DataExtent& DataExtentNow();
  // The drawn extent of the last screen pass (scroll range and printing).
  QRect extent() const { return extent_; }
  void setExtent(QRect extent);
  PlotView view() const;

  void copySelection() override;
  void printOn(TPrintJob& job) override;
  int printHeight(TPrintJob& job) override;
  // The name exports propose, without extension: the base name of the data file the first curve
  // was read from (or the plot file, or the current plot data file) in its folder; "plot" else.
  std::string ExportName() const;
  // The picture of the plot as "Export" writes it ("" or a message naming the file).
  std::string ExportTo(const std::string& fileName) const;

  // The drawing surface (mouse events, pictures of the window).
  QWidget* canvas() const;

  // Double click: Modify Plot on this window.
  void FormDblClick();

 protected:
  // The visible part of the drawing surface changed size: a following frame fills it again.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TPlotCanvas;
  TPlotInfo info_;
  PlotFrame frame_;
  QRect extent_;
  TPlotCurveCache cache_;
  TPlotPicture picture_;  // the drawing as last painted
  ZoomHistory history_;
  bool frameFollowsWindow_ = true;
  std::string pointerText_, toolTip_;
  TPlotDataFollower follower_;
  std::optional<DataExtent> dataExtent_;  // of the curves' points; reset when they are replaced
  QTimer* followTimer_;
  QScrollArea* area_;
  TPlotCanvas* canvas_;
  bool skipQuestion_ = false;
};

// The modal Modify Plot dialog on `plot`. Returns when it is closed.
void ShowModifyPlot(TPlotForm& plot);

}  // namespace tal
