#include "plot/PlotForm.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QMdiSubWindow>

#include "plot/PlotExport.h"
#include "plot/SpfFile.h"
#include "shell/TalshellForm.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

// The drawing surface inside the window's scrolling area: paints the plot and drags the frame.
class TPlotCanvas : public QWidget {
 public:
  explicit TPlotCanvas(TPlotForm& plot) : QWidget(nullptr), plot_(plot) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Button));
    setPalette(pal);
  }

  enum class Drag { None, Moving, Sizing };
  Drag drag() const { return drag_; }
  QRect rubber() const { return rubber_; }
  bool skipMouseDown = false;

  QRect sizeGrip() const {
    const PlotFrame& f = plot_.frame_;
    return QRect(QPoint(f.Right - 10, f.Bottom - 10), QPoint(f.Right + 10, f.Bottom + 10));
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPainter painter(this);
    TPlotDrawing drawing(painter, plot_.info_, plot_.frame_);
    drawing.setPaintArea(event->rect());
    drawing.DisplayPlot();
    if (drag_ != Drag::None) {
      // The rubber rectangle: a closed outline in the inverting pen.
      painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter.setPen(QPen(Qt::white, 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rubber_.normalized());
    }
    painter.end();
    QApplication::restoreOverrideCursor();
    plot_.setExtent(drawing.Extent());
  }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    if (skipMouseDown) {
      skipMouseDown = false;
      return;
    }
    const QPoint p = event->position().toPoint();
    if (sizeGrip().contains(p)) {
      drag_ = Drag::Sizing;
      setCursor(Qt::SizeFDiagCursor);
    } else if (plot_.frame_.rect().contains(p)) {
      drag_ = Drag::Moving;
      setCursor(Qt::SizeAllCursor);
    } else {
      return;
    }
    last_ = p;
    rubber_ = plot_.frame_.rect();
    update();
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint p = event->position().toPoint();
    if (drag_ == Drag::Moving) {
      setCursor(Qt::ClosedHandCursor);
      rubber_.translate(p - last_);
      last_ = p;
      update();
    } else if (drag_ == Drag::Sizing) {
      setCursor(Qt::SizeFDiagCursor);
      rubber_.setRight(p.x());
      rubber_.setBottom(p.y());
      last_ = p;
      update();
    } else if (sizeGrip().contains(p)) {
      setCursor(Qt::SizeAllCursor);
    } else if (plot_.frame_.rect().contains(p)) {
      setCursor(Qt::CrossCursor);
    } else {
      setCursor(Qt::ArrowCursor);
    }
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (drag_ == Drag::None) return;
    PlotFrame& f = plot_.frame_;
    if (drag_ == Drag::Moving) {
      f = {rubber_.left(), rubber_.top(), rubber_.right(), rubber_.bottom()};
    } else {
      const QPoint p = event->position().toPoint();
      f.Right = p.x();
      f.Bottom = p.y();
    }
    drag_ = Drag::None;
    setCursor(Qt::ArrowCursor);
    plot_.PlotChanged();
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    drag_ = Drag::None;
    skipMouseDown = true;
    plot_.FormDblClick();
  }

 private:
  TPlotForm& plot_;
  Drag drag_ = Drag::None;
  QRect rubber_;
  QPoint last_;
};

TPlotForm::TPlotForm(TTALSHELLFORM* shell) : TChildForm(shell, KindCode::Plot) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  area_ = new QScrollArea(this);
  canvas_ = new TPlotCanvas(*this);
  area_->setWidget(canvas_);
  area_->setWidgetResizable(false);
  area_->setFrameShape(QFrame::NoFrame);
  layout->addWidget(area_);
  resize(500, 340);
  canvas_->resize(500, 340);
  setExtent(frame_.rect());
}

void TPlotForm::setExtent(QRect extent) {
  extent_ = extent;
  // The scroll range reaches 50 pixels past what the plot covers.
  const QSize wanted(std::max(extent.right() + 50, area_->viewport()->width()),
                     std::max(extent.bottom() + 50, area_->viewport()->height()));
  if (canvas_->size() != wanted) canvas_->resize(wanted);
}

PlotView TPlotForm::view() const {
  return {&info_, frame_, extent_, area_->viewport()->size(), caption()};
}

void TPlotForm::PlotChanged() {
  setExtent(MeasurePlotExtent(info_, frame_));
  canvas_->update();
}

bool TPlotForm::Open(const std::string& name) {
  SpfContent content = ReadSpfFile(name);
  if (!content.error.empty()) {
    ShowMessageKind(content.error, ErrorOk, true);
    return false;
  }
  info_ = std::move(content.info);
  setCaption(content.caption);
  setFileName(name);
  PlotChanged();
  return true;
}

bool TPlotForm::Save(const std::string& name) {
  std::string error = WriteSpfFile(name, caption(), info_);
  if (!error.empty()) {
    ShowMessageKind(error, ErrorOk, true);
    return false;
  }
  setFileName(name);
  return true;
}

bool TPlotForm::saveDocument(const std::string& name) {
  const std::string previous = caption();
  setCaption(name);
  if (Save(name)) return true;
  setCaption(previous);
  return false;
}

bool TPlotForm::closeQuery() {
  if (skipQuestion_) return true;
  const std::string name = fileName().empty() ? "This plot" : fileName();
  switch (ShowMessageKind(name + " has been changed.  Save it?", WarningYesNoCancel, false)) {
    case Button::Yes:
      // A plot that could not be written stays open, so nothing is lost.
      if (fileName().empty()) return shell() && shell()->SaveAsWindow(this);
      return Save(fileName());
    case Button::No: return true;
    default: return false;
  }
}

void TPlotForm::CloseWithoutQuestion() {
  skipQuestion_ = true;
  if (shell())
    shell()->FreeChild(this);
  else
    close();
}

void TPlotForm::copySelection() {
  QImage image = QImage::fromData(QByteArray::fromStdString(PlotPictureBytes(info_, frame_, PlotPictureFormat::Png)));
  QApplication::clipboard()->setImage(image);
}

void TPlotForm::printOn(TPrintJob& job) { PrintPlot(job, view()); }

int TPlotForm::printHeight(TPrintJob& job) { return PlotPrintHeight(job, view()); }

std::string TPlotForm::ExportTo(const std::string& name) const { return ExportPlot(name, info_, frame_); }

QWidget* TPlotForm::canvas() const { return canvas_; }

void TPlotForm::FormDblClick() { ShowModifyPlot(*this); }

}  // namespace tal
