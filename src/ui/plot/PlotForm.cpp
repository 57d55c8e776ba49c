#include "plot/PlotForm.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <QMdiSubWindow>

#include "plot/PlotDataExport.h"
#include "plot/PlotExport.h"
#include "plot/PlotPointer.h"
#include "plot/SpfFile.h"
#include "shell/TalshellForm.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Files.h"
#include "support/QtStrings.h"

namespace tal {

// The drawing surface inside the window's scrolling area: paints the plot, drags the frame with
// the left button, zooms with the wheel and a right-button rectangle, pans with the middle button
// and the keys.
class TPlotCanvas : public QWidget {
 public:
  explicit TPlotCanvas(TPlotForm& plot) : QWidget(nullptr), plot_(plot) {
    setMouseTracking(true);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Button));
    setPalette(pal);
  }

  enum class Drag { None, Moving, Sizing, Zooming, Panning };
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
    const QRect extent = plot_.picture_.Paint(painter, plot_.info_, plot_.frame_, event->rect(),
                                              palette().color(QPalette::Window), plot_.cache_);
    if (drag_ == Drag::Moving || drag_ == Drag::Sizing) {
      // The rubber rectangle: a closed outline in the inverting pen.
      painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter.setPen(QPen(Qt::white, 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rubber_.normalized());
    } else if (drag_ == Drag::Zooming) {
      painter.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rubber_.normalized());
    }
    painter.end();
    QApplication::restoreOverrideCursor();
    plot_.setExtent(extent);
  }

  void mousePressEvent(QMouseEvent* event) override {
    const QPoint p = event->position().toPoint();
    const bool inFrame = plot_.frame_.rect().contains(p);
    if (event->button() == Qt::RightButton && inFrame) {
      drag_ = Drag::Zooming;
      rubber_ = QRect(p, p);
      return;
    }
    if (event->button() == Qt::MiddleButton && inFrame) {
      drag_ = Drag::Panning;
      last_ = p;
      panStart_ = RangesOf(plot_.info_);
      setCursor(Qt::ClosedHandCursor);
      return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (skipMouseDown) {
      skipMouseDown = false;
      return;
    }
    if (sizeGrip().contains(p)) {
      drag_ = Drag::Sizing;
      setCursor(Qt::SizeFDiagCursor);
    } else if (inFrame) {
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
    switch (drag_) {
      case Drag::Moving:
        setCursor(Qt::ClosedHandCursor);
        rubber_.translate(p - last_);
        last_ = p;
        update();
        return;
      case Drag::Sizing:
        setCursor(Qt::SizeFDiagCursor);
        rubber_.setRight(p.x());
        rubber_.setBottom(p.y());
        last_ = p;
        update();
        return;
      case Drag::Zooming:
        rubber_.setBottomRight(p);
        update();
        return;
      case Drag::Panning: {
        // The ranges follow the pointer from where the drag began; one step back undoes the drag.
        const PlotRanges before = RangesOf(plot_.info_);
        const PlotRanges moved = PanByPixels(panStart_, plot_.frame_, last_, p);
        if (moved != before) {
          if (!panned_) plot_.history_.Push(panStart_);
          panned_ = true;
          tal::SetRanges(plot_.info_, moved);
          plot_.FrameChanged();
        }
        return;
      }
      case Drag::None: break;
    }
    plot_.ShowPointer(p);
    if (sizeGrip().contains(p)) {
      setCursor(Qt::SizeAllCursor);
    } else if (plot_.frame_.rect().contains(p)) {
      setCursor(Qt::CrossCursor);
    } else {
      setCursor(Qt::ArrowCursor);
    }
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    const Drag drag = drag_;
    drag_ = Drag::None;
    setCursor(Qt::ArrowCursor);
    switch (drag) {
      case Drag::Moving:
      case Drag::Sizing: {
        PlotFrame f = plot_.frame_;
        if (drag == Drag::Moving) {
          f = {rubber_.left(), rubber_.top(), rubber_.right(), rubber_.bottom()};
        } else {
          const QPoint p = event->position().toPoint();
          f.Right = p.x();
          f.Bottom = p.y();
        }
        plot_.PlaceFrame(f);
        return;
      }
      case Drag::Zooming: {
        const QRect r = rubber_.normalized();
        update();
        // A click without a rectangle zooms nowhere.
        if (r.width() >= MinimumRectangle && r.height() >= MinimumRectangle) plot_.ZoomToRectangle(r);
        return;
      }
      case Drag::Panning: panned_ = false; return;
      case Drag::None: return;
    }
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    drag_ = Drag::None;
    skipMouseDown = true;
    plot_.FormDblClick();
  }

  void leaveEvent(QEvent*) override { plot_.ShowPointer(QPoint(-PixelLimit, -PixelLimit)); }

  void wheelEvent(QWheelEvent* event) override {
    const QPoint p = event->position().toPoint();
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (!plot_.frame_.rect().contains(p) || delta == 0) {
      event->ignore();  // the scroll area scrolls
      return;
    }
    // Each notch (120) zooms in by a fifth or out by a quarter: out undoes in.
    const double factor = std::pow(0.8, delta / 120.0);
    const Qt::KeyboardModifiers m = event->modifiers();
    const bool xOnly = m & Qt::ControlModifier, yOnly = m & Qt::ShiftModifier;
    plot_.ZoomAt(p, factor, !yOnly || xOnly, !xOnly || yOnly);
    event->accept();
  }

  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Left: plot_.PanSteps(-1, 0); break;
      case Qt::Key_Right: plot_.PanSteps(1, 0); break;
      case Qt::Key_Up: plot_.PanSteps(0, 1); break;
      case Qt::Key_Down: plot_.PanSteps(0, -1); break;
      case Qt::Key_Backspace: plot_.ZoomBack(); break;
      case Qt::Key_Home: plot_.ZoomToFit(); break;
      default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
  }

 private:
  static constexpr int MinimumRectangle = 3;
  TPlotForm& plot_;
  Drag drag_ = Drag::None;
  QRect rubber_;
  QPoint last_;
  PlotRanges panStart_;
  bool panned_ = false;
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
  area_->viewport()->installEventFilter(this);
  resize(500, 340);
  canvas_->resize(500, 340);
  setExtent(frame_.rect());
  // Four looks a second at the data files: an engine's new rows appear without redrawing the plot
  // for every line it writes.
  followTimer_ = new QTimer(this);
  followTimer_->setInterval(250);
  connect(followTimer_, &QTimer::timeout, this, &TPlotForm::PollDataFiles);
  followTimer_->start();
}

void TPlotForm::ShowPointer(QPoint pixel) {
  pointerText_ = PointerText(info_, frame_, pixel);
  toolTip_ = pointerText_.empty() ? "" : CurvePointText(info_, NearestCurvePoint(info_, frame_, pixel));
  if (shell() && shell()->activeChild() == this) ShowCursorPlace(*shell());
  if (toolTip_.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(canvas_->mapToGlobal(pixel), ToQt(toolTip_), canvas_);
}

bool TPlotForm::PollDataFiles() {
  const PlotRanges ranges = RangesOf(info_);
  const DataExtent before = DataExtentNow();
  const TPlotDataFollower::Outcome outcome = follower_.Poll(info_);
  for (const std::string& file : outcome.rewritten)
    if (shell()) shell()->statusBar()->showMessage(ToQt(FileNameOf(file) + " has been written anew: Reload Data reads it again."));
  if (!outcome.grown) return false;
  // A proposed X range reaches on to the new end; one chosen by hand stays.
  dataExtent_->Add(outcome.added);
  if (IsProposedX(ranges.X, before)) {
    const DataExtent& now = *dataExtent_;
    PlotRanges grown = ranges;
    grown.X = ProposeAxis(ranges.X, now.XMin, now.XMax, now.XMinPositive);
    tal::SetRanges(info_, grown);
  }
  FrameChanged();
  return true;
}

void TPlotForm::ReloadData() {
  const std::string messages = ReloadCurves(info_);
  follower_.Reset();
  PlotChanged();
  if (!messages.empty()) ShowMessageKind(messages, ErrorOk, true);
}

void TPlotForm::setExtent(QRect extent) {
  extent_ = extent;
  // A frame that fills the window needs no scrolling; one the user placed gets a scroll range
  // reaching 50 pixels past what the plot covers.
  const QSize viewport = area_->viewport()->size();
  const QSize wanted = frameFollowsWindow_ ? viewport
                                           : QSize(std::max(extent.right() + 50, viewport.width()),
                                                   std::max(extent.bottom() + 50, viewport.height()));
  if (canvas_->size() != wanted) canvas_->resize(wanted);
}

PlotFrame TPlotForm::FillingFrameNow() const { return FillingFrame(info_, area_->viewport()->size()); }

bool TPlotForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == area_->viewport() && event->type() == QEvent::Resize && frameFollowsWindow_) FrameChanged();
  return TChildForm::eventFilter(watched, event);
}

void TPlotForm::FrameChanged() {
  if (frameFollowsWindow_) frame_ = FillingFrameNow();
  setExtent(MeasurePlotExtent(info_, frame_));
  canvas_->update();
}

void TPlotForm::PlaceFrame(PlotFrame frame) {
  frame_ = frame;
  frameFollowsWindow_ = false;
  FrameChanged();
}

void TPlotForm::SetRanges(const PlotRanges& ranges) {
  const PlotRanges before = RangesOf(info_);
  if (ranges == before) return;
  history_.Push(before);
  tal::SetRanges(info_, ranges);
  FrameChanged();
}

void TPlotForm::ZoomAt(QPoint pointer, double factor, bool x, bool y) {
  SetRanges(ZoomAtPixel(RangesOf(info_), frame_, pointer, factor, x, y));
}

void TPlotForm::ZoomToRectangle(QRect rectangle) {
  SetRanges(ZoomToPixels(RangesOf(info_), frame_, rectangle.intersected(frame_.rect())));
}

void TPlotForm::PanSteps(int x, int y) {
  PlotRanges r = RangesOf(info_);
  if (x != 0) r.X = PanAxis(r.X, x * TickInterval(r.X));
  if (y != 0) r.Y = PanAxis(r.Y, y * TickInterval(r.Y));
  SetRanges(r);
}

bool TPlotForm::ZoomBack() {
  if (history_.Empty()) return false;
  tal::SetRanges(info_, history_.Pop());
  FrameChanged();
  return true;
}

void TPlotForm::ZoomToFit() { SetRanges(FitRanges(RangesOf(info_), DataExtentNow())); }

PlotView TPlotForm::view() const {
  return {&info_, frame_, extent_, area_->viewport()->size(), caption()};
}

const DataExtent& TPlotForm::DataExtentNow() {
  if (!dataExtent_) dataExtent_ = CurvesExtent(info_);
  return *dataExtent_;
}

void TPlotForm::PlotChanged() {
  cache_.Invalidate();
  picture_.Invalidate();
  dataExtent_.reset();
  FrameChanged();
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
  // The picture for documents, and the values in view as tab-separated text for spreadsheets.
  QImage image = QImage::fromData(QByteArray::fromStdString(PlotPictureBytes(info_, frame_, PlotPictureFormat::Png)));
  auto* data = new QMimeData;
  data->setImageData(image);
  data->setText(QString::fromLatin1(PlotDataTable(info_, '\t', true)));
  QApplication::clipboard()->setMimeData(data);
}

std::string TPlotForm::ExportName() const {
  std::string source = !info_.Lines.empty() ? info_.Lines.front().Source.File : "";
  if (source.empty()) source = fileName();
  if (source.empty() && shell()) source = shell()->currentPlotFile();
  if (source.empty()) return "plot";
  const std::string name = FileNameOf(source);
  return JoinPath(FolderOf(source), name.substr(0, name.find('.')));
}

void TPlotForm::printOn(TPrintJob& job) { PrintPlot(job, view()); }

int TPlotForm::printHeight(TPrintJob& job) { return PlotPrintHeight(job, view()); }

std::string TPlotForm::ExportTo(const std::string& name) const { return ExportPlot(name, info_, frame_); }

QWidget* TPlotForm::canvas() const { return canvas_; }

void TPlotForm::FormDblClick() { ShowModifyPlot(*this); }

}  // namespace tal
