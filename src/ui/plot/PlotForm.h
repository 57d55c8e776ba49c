#pragma once
// The plot window (kind 4000): draws its plot description with the core drawing, moves and sizes
// the plot frame with the mouse, saves and opens ".SPF" files, prints into the shared print job,
// exports pictures, and asks before it closes.
#include <QPointer>
#include <string>

#include "plot/PlotDrawing.h"
#include "plot/PlotInfo.h"
#include "shell/ChildForm.h"

class QScrollArea;

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

  // Redraws after the description or the frame changed.
  void PlotChanged();
  // The drawn extent of the last screen pass (scroll range and printing).
  QRect extent() const { return extent_; }
  void setExtent(QRect extent);
  PlotView view() const;

  void copySelection() override;
  void printOn(TPrintJob& job) override;
  int printHeight(TPrintJob& job) override;
  // The picture of the plot as "Export" writes it ("" or a message naming the file).
  std::string ExportTo(const std::string& fileName) const;

  // The drawing surface (mouse events, pictures of the window).
  QWidget* canvas() const;

  // Double click: Modify Plot on this window.
  void FormDblClick();

 private:
  friend class TPlotCanvas;
  TPlotInfo info_;
  PlotFrame frame_;
  QRect extent_;
  QScrollArea* area_;
  TPlotCanvas* canvas_;
  bool skipQuestion_ = false;
};

// The modal Modify Plot dialog on `plot`. Returns when it is closed.
void ShowModifyPlot(TPlotForm& plot);

}  // namespace tal
